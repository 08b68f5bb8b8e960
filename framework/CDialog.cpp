#include "CDialog.h"

#include "CDataExchange.h"
#include "CWinApp.h"
#include "afxres.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, CDialog::OnOK)
    ON_COMMAND(IDCANCEL, CDialog::OnCancel)
END_MESSAGE_MAP()

// The head of an extended dialog template (DLGTEMPLATEEX), which no Windows header declares.
#pragma pack(push, 1)
struct DLGTEMPLATEEX_HEAD {
    WORD dlgVer;
    WORD signature;     // 0xFFFF marks the extended form
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x;
    short y;
};
#pragma pack(pop)

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_bCenterOnInit(FALSE),
      m_bEndModal(FALSE), m_bPostedQuit(FALSE), m_nModalResult(-1)
{
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInstance = AfxGetApp()->m_hInstance;
    HRSRC hResource = ::FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), (LPCSTR)RT_DIALOG);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInstance, hResource) : NULL;
    LPCDLGTEMPLATEA pTemplate = hTemplate ? (LPCDLGTEMPLATEA)::LockResource(hTemplate) : NULL;
    if (pTemplate == NULL)
        return -1;

    DWORD dwStyle;
    short x, y;
    const DLGTEMPLATEEX_HEAD* pEx = (const DLGTEMPLATEEX_HEAD*)pTemplate;
    if (pEx->signature == 0xFFFF) {
        dwStyle = pEx->style;
        x = pEx->x;
        y = pEx->y;
    } else {
        dwStyle = pTemplate->style;
        x = pTemplate->x;
        y = pTemplate->y;
    }
    m_bCenterOnInit = x == 0 && y == 0 && (dwStyle & DS_CENTER) == 0;

    m_bEndModal = FALSE;
    m_bPostedQuit = FALSE;
    m_nModalResult = -1;
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    // Created modeless and run by our own loop, so that the loop can end on the quit
    // message when the dialog is the main window and is destroyed.
    if (::CreateDialogIndirectParamA(hInstance, pTemplate, hWndParent, DialogProc, (LPARAM)this) == NULL)
        return -1;
    return RunModalLoop();
}

INT_PTR CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEndModal) {
        BOOL bRet = ::GetMessageA(&msg, NULL, 0, 0);
        if (bRet == 0) {
            ::PostQuitMessage((int)msg.wParam);   // leave it for any loop further out
            return -1;
        }
        if (bRet == -1)
            return -1;

        // F1 anywhere in the dialog is the Help command.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && m_hWnd != NULL) {
            SendMessage(WM_COMMAND, ID_HELP, 0);
            continue;
        }
        if (m_hWnd == NULL || !::IsDialogMessageA(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // Destroyed, but not as the main window: no quit message will come.
        if (m_hWnd == NULL && !m_bEndModal && !m_bPostedQuit)
            return -1;
    }
    if (m_hWnd != NULL)
        DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = TRUE;
    if (m_hWnd != NULL)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::CenterOnWorkArea()
{
    RECT rcArea, rcDialog;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0) || !::GetWindowRect(m_hWnd, &rcDialog))
        return;
    const int cx = rcDialog.right - rcDialog.left;
    const int cy = rcDialog.bottom - rcDialog.top;
    int x = rcArea.left + (rcArea.right - rcArea.left - cx) / 2;
    int y = rcArea.top + (rcArea.bottom - rcArea.top - cy) / 2;
    // A dialog larger than the work area keeps its caption on screen.
    if (x < rcArea.left)
        x = rcArea.left;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = (CDialog*)lParam;
        pDlg->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, the controls' WM_MEASUREITEM) find no
    // object yet and get the dialog manager's defaults.
    CDialog* pDlg = (CDialog*)::GetWindowLongPtrA(hWnd, DWLP_USER);
    if (pDlg == NULL)
        return FALSE;
    return pDlg->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (m_bCenterOnInit)
            CenterOnWorkArea();
        // Win32: WM_INITDIALOG's result is returned directly, not through DWLP_MSGRESULT.
        return OnInitDialog();

    case WM_MEASUREITEM:
        return ReflectToControl(GetDlgItem((int)((LPMEASUREITEMSTRUCT)lParam)->CtlID), message, wParam, lParam);

    case WM_DRAWITEM:
        return ReflectToControl(((LPDRAWITEMSTRUCT)lParam)->hwndItem, message, wParam, lParam);

    case WM_NCDESTROY: {
        HWND hWnd = m_hWnd;
        m_hWnd = NULL;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        // The main window is gone: the program ends.
        CWinApp* pApp = AfxGetApp();
        if (pApp->m_pMainWnd == this) {
            pApp->m_pMainWnd = NULL;
            ::PostQuitMessage(0);
            m_bPostedQuit = TRUE;
        }
        return FALSE;
    }
    }

    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        return FALSE;
    // Win32: a dialog procedure returns a few results directly; the rest go through
    // DWLP_MSGRESULT, and the procedure returns TRUE for "handled".
    switch (message) {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM:
        return (INT_PTR)lResult;
    }
    if (m_hWnd != NULL)   // the handler may have destroyed the window
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

BOOL CDialog::ReflectToControl(HWND hWndControl, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hWndControl == NULL)
        return FALSE;
    if (!::SendMessageA(hWndControl, OCM__BASE + message, wParam, lParam))
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
    return TRUE;
}
