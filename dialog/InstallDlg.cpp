#include "InstallDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CFileFind.h"
#include "framework/CPaintDC.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "install/InstallCommand.h"
#include "install/UserList.h"

BEGIN_MESSAGE_MAP(CInstallDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SETCURSOR()
    ON_BN_CLICKED(IDOK, CInstallDlg::OnInstall)
END_MESSAGE_MAP()

CInstallDlg::CInstallDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_hIcon(::LoadIconA(AfxGetApp()->m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_bInstalling(FALSE)
{
}

void CInstallDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_USER_LIST, m_userList);
}

BOOL CInstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    PopulateUserList(m_userList);
    return TRUE;
}

void CInstallDlg::OnInstall()
{
    // The Install Aide may run this thread's messages while it works (a window of its own, a
    // message loop): nothing the person does meanwhile may start the command again or close
    // the dialog, so the dialog takes no input until the outcome is shown.
    if (m_bInstalling)
        return;
    m_bInstalling = TRUE;
    const HWND hWndFocus = ::GetFocus();
    ::EnableWindow(m_hWnd, FALSE);

    CInstallOutcome outcome;
    {
        CWaitCursor wait;
        CFileFind finder;
        outcome = RunInstallCommand(m_userList, finder);
    }

    // Keys and clicks that came while the requests ran are not meant for the message: the
    // person dismisses it deliberately.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        ;
    while (::PeekMessageA(&msg, NULL, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        ;
    while (::PeekMessageA(&msg, NULL, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE))
        ;
    // Win32: a message box leaves an owner disabled that was disabled when it opened. The
    // box disables the dialog itself while it is up.
    m_bInstalling = FALSE;
    ::EnableWindow(m_hWnd, TRUE);
    if (::IsWindow(hWndFocus))
        ::SetFocus(hWndFocus);
    MessageBox(outcome.strMessage);
    if (outcome.bCloseDialog)
        DestroyWindow();
}

BOOL CInstallDlg::OnSetCursor(HWND hWnd, UINT nHitTest, UINT message)
{
    if (!m_bInstalling) {
        Default();
        return FALSE;
    }
    ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    return TRUE;
}

void CInstallDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }

    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);

    // The icon, centred in the client area.
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CInstallDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_hIcon;
}
