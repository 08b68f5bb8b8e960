#include "CWinApp.h"

#include "CWnd.h"
#include "afxres.h"

#include <string.h>

// Like the original framework's, the base map routes nothing: an application that wants
// F1 to open its help file routes ID_HELP to OnHelp in its own map.
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

static CWinApp* s_pApp = NULL;   // the one application object, registered by its constructor

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(NULL), m_pMainWnd(NULL), m_strAppName(lpszAppName)
{
    s_pApp = this;
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

    // The path may be longer than MAX_PATH (a long folder, a \\?\ start): grow the buffer
    // until it fits. Win32: a cut path fills the buffer and is not always terminated.
    CString strPath;
    for (int cchBuffer = MAX_PATH; cchBuffer <= 0x8000; cchBuffer *= 2) {
        LPSTR pszPath = strPath.GetBuffer(cchBuffer);
        if (pszPath == NULL)
            break;
        const DWORD cchPath = ::GetModuleFileNameA(hInstance, pszPath, (DWORD)cchBuffer);
        const BOOL bFits = cchPath < (DWORD)cchBuffer;
        strPath.ReleaseBuffer(bFits ? (int)cchPath : 0);
        if (bFits)
            break;
    }

    LPCSTR pszPath = strPath;
    LPCSTR pszFileName = pszPath;
    for (LPCSTR p = pszPath; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            pszFileName = p + 1;
    LPCSTR pszExtension = strrchr(pszFileName, '.');
    if (pszExtension == NULL)
        pszExtension = pszFileName + strlen(pszFileName);

    if (m_strAppName.IsEmpty()) {
        char szTitle[256];
        if (::LoadStringA(hInstance, AFX_IDS_APP_TITLE, szTitle, sizeof szTitle) > 0)
            m_strAppName = szTitle;
        else
            m_strAppName.Append(pszFileName, (int)(pszExtension - pszFileName));   // without the extension
    }
    m_strHelpFilePath.Append(pszPath, (int)(pszExtension - pszPath));
    m_strHelpFilePath += ".HLP";
}

// The program's entry point: runs the application object. The command line is not used.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // COM for the whole run: screen readers reach the controls' accessible objects through it.
    const HRESULT hrCom = ::CoInitialize(NULL);
    CWinApp* pApp = AfxGetApp();
    pApp->SetAppNames(hInstance);
    pApp->InitInstance();
    const int nExitCode = pApp->ExitInstance();
    if (SUCCEEDED(hrCom))
        ::CoUninitialize();
    return nExitCode;
}
