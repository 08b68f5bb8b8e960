#include "CWinApp.h"

#include "CWnd.h"
#include "afxres.h"

#include <string.h>

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(NULL), m_pMainWnd(NULL), m_strAppName(lpszAppName)
{
}

BOOL CWinApp::InitInstance()
{
    return FALSE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::OnHelp()
{
    // Without a help file WinHelp would only complain about the missing file.
    if (::GetFileAttributesA(m_strHelpFilePath) == INVALID_FILE_ATTRIBUTES)
        return;
    ::WinHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : NULL, m_strHelpFilePath, HELP_FINDER, 0);
}

void CWinApp::SetAppNames(HINSTANCE hInstance)
{
    m_hInstance = hInstance;

    char szPath[MAX_PATH];
    DWORD cchPath = ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    if (cchPath == 0 || cchPath >= MAX_PATH)   // Win32: a cut path is not always terminated
        cchPath = 0;
    szPath[cchPath] = '\0';

    LPSTR pszFileName = szPath;
    for (LPSTR p = szPath; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            pszFileName = p + 1;
    LPSTR pszExtension = strrchr(pszFileName, '.');
    if (pszExtension == NULL)
        pszExtension = pszFileName + strlen(pszFileName);

    char szBase[MAX_PATH], szFileTitle[MAX_PATH];
    ::lstrcpynA(szBase, szPath, (int)(pszExtension - szPath) + 1);                 // the path without the extension
    ::lstrcpynA(szFileTitle, pszFileName, (int)(pszExtension - pszFileName) + 1);  // the file name without it

    if (m_strAppName.IsEmpty()) {
        char szTitle[256];
        if (::LoadStringA(hInstance, AFX_IDS_APP_TITLE, szTitle, sizeof szTitle) > 0)
            m_strAppName = szTitle;
        else
            m_strAppName = szFileTitle;
    }
    m_strHelpFilePath = szBase;
    m_strHelpFilePath += ".HLP";
    m_strProfileName = szFileTitle;
    m_strProfileName += ".INI";
}

// The program's entry point: runs the application object. The command line is not used.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    pApp->SetAppNames(hInstance);
    pApp->InitInstance();
    return pApp->ExitInstance();
}
