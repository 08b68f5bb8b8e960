#include "InstallApp.h"

#include "dialog/InstallDlg.h"
#include "framework/afxres.h"

BEGIN_MESSAGE_MAP(CInstallApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CInstallApp theApp;

CWinApp* AfxGetApp()
{
    return &theApp;
}

BOOL CInstallApp::InitInstance()
{
    CInstallDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog is gone: end the program rather than run a message loop.
    return FALSE;
}
