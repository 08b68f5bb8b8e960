#include "InstallApp.h"

#include "dialog/InstallDlg.h"
#include "framework/afxres.h"

BEGIN_MESSAGE_MAP(CInstallApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CInstallApp theApp;

BOOL CInstallApp::InitInstance()
{
    CInstallDlg dlg;
    m_pMainWnd = &dlg;   // cppcheck-suppress danglingLifetime ; cleared below, and when the window goes
    dlg.DoModal();
    m_pMainWnd = NULL;   // when the dialog could not even be created
    // The dialog is gone: end the program rather than run a message loop.
    return FALSE;
}
