#include "CCheckListBox.h"

#include "CCheckListBoxAccessible.h"
#include "CClientDC.h"
#include "CString.h"

#include <windowsx.h>

// Space around the check box: left of it, and between it and the text.
static const int kBoxMargin = 2;
static const int kTextGap = 3;

CCheckListBox::CCheckListBox()
    : m_cxBox(13), m_cyItem(15), m_cxExtent(0), m_xDrawnOffset(0), m_pAccessible(NULL)
{
    for (int i = 0; i < 256; ++i)
        m_cxChar[i] = 0;
}

CCheckListBox::~CCheckListBox()
{
    ReleaseAccessible();
}

int CCheckListBox::GetCount() const
{
    return (int)SendMessage(LB_GETCOUNT);
}

int CCheckListBox::AddString(LPCSTR lpszItem)
{
    return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem);
}

int CCheckListBox::GetText(int nIndex, CString& rString) const
{
    int nLength = (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex);
    if (nLength == LB_ERR)
        return LB_ERR;
    LPSTR pszBuffer = rString.GetBuffer(nLength);
    if (pszBuffer == NULL)
        return LB_ERR;
    nLength = (int)SendMessage(LB_GETTEXT, (WPARAM)nIndex, (LPARAM)pszBuffer);
    rString.ReleaseBuffer(nLength == LB_ERR ? 0 : nLength);
    return nLength;
}

int CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (SendMessage(LB_SETITEMDATA, (WPARAM)nIndex, nCheck ? 1 : 0) == LB_ERR)
        return LB_ERR;
    // Only a list on screen needs redrawing; while a dialog fills its hidden list, asking
    // for each entry's rectangle would cost more than the whole fill.
    RECT rcItem;
    if (::IsWindowVisible(m_hWnd) && SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rcItem) != LB_ERR)
        ::InvalidateRect(m_hWnd, &rcItem, FALSE);
    return 0;
}

int CCheckListBox::GetCheck(int nIndex) const
{
    return (int)SendMessage(LB_GETITEMDATA, (WPARAM)nIndex);
}

int CCheckListBox::GetSel(int nIndex) const
{
    return (int)SendMessage(LB_GETSEL, (WPARAM)nIndex);
}

int CCheckListBox::GetCaretIndex() const
{
    return (int)SendMessage(LB_GETCARETINDEX);
}

void CCheckListBox::MeasureFont()
{
    CClientDC dc(m_hWnd);
    dc.SelectObject((HFONT)SendMessage(WM_GETFONT));
    m_cxBox = ::MulDiv(13, ::GetDeviceCaps(dc.GetSafeHdc(), LOGPIXELSY), 96);
    TEXTMETRICA tm;
    const int cyText = ::GetTextMetricsA(dc.GetSafeHdc(), &tm) ? tm.tmHeight : m_cxBox;
    m_cyItem = (cyText > m_cxBox ? cyText : m_cxBox) + 2;
    if (!::GetCharWidth32A(dc.GetSafeHdc(), 0, 255, m_cxChar))
        for (int i = 0; i < 256; ++i)
            m_cxChar[i] = 0;
    // Win32: a fixed owner-drawn list box asks its parent for the item height while the
    // dialog is still being built, before anyone could answer for this control; set it now.
    SendMessage(LB_SETITEMHEIGHT, 0, m_cyItem);
}

void CCheckListBox::PreSubclassWindow()
{
    MeasureFont();
}

int CCheckListBox::TextWidth(LPCSTR lpszText) const
{
    // Summing the widths of single-byte characters needs no device context per entry; a
    // double-byte code page's text is measured by GDI.
    int cx = 0;
    for (const unsigned char* p = (const unsigned char*)lpszText; *p; ++p) {
        if (::IsDBCSLeadByte(*p) || m_cxChar[*p] == 0)
            return -1;
        cx += m_cxChar[*p];
    }
    return cx;
}

RECT CCheckListBox::CheckBoxRect(const RECT& rcItem) const
{
    RECT rcBox;
    rcBox.left = rcItem.left + kBoxMargin;
    rcBox.right = rcBox.left + m_cxBox;
    rcBox.top = rcItem.top + (rcItem.bottom - rcItem.top - m_cxBox) / 2;
    rcBox.bottom = rcBox.top + m_cxBox;
    return rcBox;
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    lpMIS->itemHeight = (UINT)m_cyItem;
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    HDC hDC = lpDIS->hDC;
    RECT rcItem = lpDIS->rcItem;

    // An empty list that has the focus draws only the focus rectangle.
    if ((int)lpDIS->itemID < 0) {
        if (lpDIS->itemState & ODS_FOCUS)
            ::DrawFocusRect(hDC, &rcItem);
        return;
    }

    // Where this entry really is on screen, against LB_GETITEMRECT's rectangle: scrolled
    // sideways, Wine moves the DC's origin instead of rcItem. Clicks are hit-tested with it.
    RECT rcListItem;
    if (SendMessage(LB_GETITEMRECT, lpDIS->itemID, (LPARAM)&rcListItem) != LB_ERR) {
        POINT ptDrawn = { rcItem.left, rcItem.top };
        ::LPtoDP(hDC, &ptDrawn, 1);
        m_xDrawnOffset = ptDrawn.x - rcListItem.left;
    }

    RECT rcBoxArea = rcItem;
    RECT rcBox = CheckBoxRect(rcItem);
    rcBoxArea.right = rcBox.right + kTextGap;
    ::FillRect(hDC, &rcBoxArea, ::GetSysColorBrush(COLOR_WINDOW));
    UINT uState = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (lpDIS->itemData != 0)
        uState |= DFCS_CHECKED;
    ::DrawFrameControl(hDC, &rcBox, DFC_BUTTON, uState);

    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    RECT rcText = rcItem;
    rcText.left = rcBoxArea.right;
    ::FillRect(hDC, &rcText, ::GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    CString strText;
    if (GetText((int)lpDIS->itemID, strText) > 0) {
        COLORREF crOldText = ::SetTextColor(hDC, ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
        RECT rcLabel = rcText;
        rcLabel.left += 1;
        ::DrawTextA(hDC, strText, strText.GetLength(), &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        ::SetBkMode(hDC, nOldMode);
        ::SetTextColor(hDC, crOldText);
    }
    if (lpDIS->itemState & ODS_FOCUS)
        ::DrawFocusRect(hDC, &rcText);
}

void CCheckListBox::ToggleCheck(int nIndex)
{
    SetSelectionCheck(nIndex, GetCheck(nIndex) ? 0 : 1);
}

void CCheckListBox::SetSelectionCheck(int nIndex, int nCheck)
{
    const BOOL bSelection = GetSel(nIndex) > 0;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (i != nIndex && !(bSelection && GetSel(i) > 0))
            continue;
        if (GetCheck(i) == nCheck)
            continue;
        SetCheck(i, nCheck);
        // A screen reader announces the entry's new state (child id: position + 1).
        ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_hWnd, OBJID_CLIENT, i + 1);
    }
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(m_hWnd), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

int CCheckListBox::CheckBoxFromPoint(POINT pt) const
{
    // LB_ITEMFROMPOINT: the nearest entry in the low word; the high word is 1 when the
    // point lies outside every entry.
    const DWORD dwHit = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    if (HIWORD(dwHit) != 0)
        return -1;
    const int nIndex = LOWORD(dwHit);
    RECT rcItem;
    // Only where the box is drawn: a list scrolled sideways may have it off screen.
    if (!GetEntryRect(nIndex, &rcItem))
        return -1;
    RECT rcBox = CheckBoxRect(rcItem);
    if (pt.x < rcItem.left || pt.x >= rcBox.right + kTextGap || pt.y < rcItem.top || pt.y >= rcItem.bottom)
        return -1;
    return nIndex;
}

BOOL CCheckListBox::GetEntryRect(int nIndex, LPRECT lpRect) const
{
    if (SendMessage(LB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect) == LB_ERR)
        return FALSE;
    ::OffsetRect(lpRect, m_xDrawnOffset, 0);
    return TRUE;
}

LRESULT CCheckListBox::GetAccessibleObject(WPARAM wParam)
{
    if (m_pAccessible == NULL) {
        IAccessible* pStandard = NULL;
        if (FAILED(::CreateStdAccessibleObject(m_hWnd, OBJID_CLIENT, IID_IAccessible, (void**)&pStandard)))
            return 0;
        m_pAccessible = new CCheckListBoxAccessible(this, pStandard);
        pStandard->Release();
        if (m_pAccessible == NULL)
            return 0;
    }
    return ::LresultFromObject(IID_IAccessible, wParam, m_pAccessible);
}

void CCheckListBox::ReleaseAccessible()
{
    if (m_pAccessible != NULL) {
        m_pAccessible->Disconnect();
        m_pAccessible->Release();
        m_pAccessible = NULL;
    }
}

void CCheckListBox::WidenExtent(LPCSTR lpszItem)
{
    int cxText = TextWidth(lpszItem);
    if (cxText < 0) {
        CClientDC dc(m_hWnd);
        dc.SelectObject((HFONT)SendMessage(WM_GETFONT));
        SIZE size;
        cxText = ::GetTextExtentPoint32A(dc.GetSafeHdc(), lpszItem, lstrlenA(lpszItem), &size) ? size.cx : 0;
    }
    const int cxItem = kBoxMargin + m_cxBox + kTextGap + 1 + cxText + 2;
    if (cxItem > m_cxExtent) {
        m_cxExtent = cxItem;
        SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)m_cxExtent);
    }
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case OCM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        return TRUE;

    case OCM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        return TRUE;

    case LB_ADDSTRING: {
        // Every entry stays reachable with the horizontal scroll bar, however long.
        LRESULT lResult = DefWindowProc(message, wParam, lParam);
        if (lResult >= 0 && lParam != 0)
            WidenExtent((LPCSTR)lParam);
        return lResult;
    }

    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {   // the second click of a double click toggles once more
        POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        const int nIndex = CheckBoxFromPoint(pt);
        if (nIndex < 0)
            break;   // on the text: the list box's own selection handling
        if (::GetFocus() != m_hWnd)
            ::SetFocus(m_hWnd);
        ToggleCheck(nIndex);
        return 0;
    }

    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            const int nCaret = GetCaretIndex();
            if (nCaret >= 0 && nCaret < GetCount())
                ToggleCheck(nCaret);
            return 0;
        }
        break;

    case WM_SETFONT: {
        LRESULT lResult = DefWindowProc(message, wParam, lParam);
        MeasureFont();
        return lResult;
    }

    case WM_GETOBJECT:
        // Win32: the object id arrives as a 32-bit value in lParam.
        if ((LONG)(DWORD)lParam == OBJID_CLIENT) {
            const LRESULT lResult = GetAccessibleObject(wParam);
            if (lResult != 0)
                return lResult;
        }
        break;

    case WM_DESTROY:
        ReleaseAccessible();   // clients that still hold it are told it is gone
        break;

    case WM_CHAR:
        if (wParam == ' ')
            return 0;   // Space toggled above; the list box would search for a ' ' entry
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
