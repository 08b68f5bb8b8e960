#include "CWnd.h"

#include "CWinApp.h"

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_bCallDefault(FALSE) {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::DestroyWindow()
{
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::GetClientRect(LPRECT lpRect) const
{
    return ::GetClientRect(m_hWnd, lpRect);
}

HWND CWnd::GetDlgItem(int nID) const
{
    return ::GetDlgItem(m_hWnd, nID);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return (HICON)SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetApp()->m_strAppName;
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == NULL || m_hWnd != NULL)
        return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
    m_pfnSuper = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)SubclassProc);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID));
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = (CWnd*)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (message != WM_NCDESTROY)
        return pWnd->WindowProc(message, wParam, lParam);

    // The window's last message: unhook before the original procedure sees it.
    WNDPROC pfnSuper = pWnd->m_pfnSuper;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    pWnd->m_hWnd = NULL;
    pWnd->m_pfnSuper = NULL;
    return ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (OnWndMsg(message, wParam, lParam, &lResult))
        return lResult;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }

    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0);
    if (pEntry == NULL)
        return FALSE;

    // A handler may send this window further messages: keep the outer handler's request.
    const BOOL bOuterCallDefault = m_bCallDefault;
    m_bCallDefault = FALSE;
    switch (pEntry->nSig) {
    case AfxSig_vv:
        (this->*pEntry->pfn)();
        *pResult = 0;
        break;
    case AfxSig_hv:
        *pResult = (LRESULT)(this->*reinterpret_cast<HCURSOR (CCmdTarget::*)()>(pEntry->pfn))();
        break;
    case AfxSig_bHuu:
        *pResult = (this->*reinterpret_cast<BOOL (CCmdTarget::*)(HWND, UINT, UINT)>(pEntry->pfn))(
            (HWND)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        break;
    }
    const BOOL bCallDefault = m_bCallDefault;
    m_bCallDefault = bOuterCallDefault;
    return !bCallDefault;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    if (OnCmdMsg(nID, nCode))
        return TRUE;
    // A command (code 0, no control behind it: a menu item or an accelerator such as
    // ID_HELP) that the window does not take goes on to the application object.
    if (nCode == 0 && lParam == 0)
        return AfxGetApp()->OnCmdMsg(nID, nCode);
    return FALSE;
}
