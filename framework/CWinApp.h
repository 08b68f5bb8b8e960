// CWinApp: the application object, which the program's entry point finds and runs.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // lpszAppName: the application's name; NULL takes it from string AFX_IDS_APP_TITLE or,
    // without that string, from the executable's file name.
    explicit CWinApp(LPCSTR lpszAppName = NULL);

    // Start-up. A dialog application runs its dialog here and returns FALSE; this framework
    // has no message loop of the application's own, so the program ends either way.
    virtual BOOL InitInstance();
    // The last call before the process ends; returns the exit code.
    virtual int ExitInstance();

    // The standard Help command handler (ID_HELP): opens the help file when there is one.
    void OnHelp();

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;           // the window whose destruction ends the program
    CString m_strAppName;       // title of the program's message boxes
    CString m_strHelpFilePath;  // the executable's path with ".HLP"

protected:
    ~CWinApp() {}

    DECLARE_MESSAGE_MAP()

public:
    // Start-up, by the program's entry point: fills the names above from the executable's
    // path and resources.
    void SetAppNames(HINSTANCE hInstance);
};

// The application object: the one CWinApp, which registers itself when constructed.
CWinApp* AfxGetApp();
