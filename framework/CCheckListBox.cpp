#include "CCheckListBox.h"

#include "CCheckListBoxAccessible.h"
#include "CClientDC.h"
#include "CString.h"

#include <windowsx.h>

#include <stdlib.h>
#include <string.h>

// Space around the check box: left of it, and between it and the text.
static const int kBoxMargin = 2;
static const int kTextGap = 3;

CCheckListBox::CCheckListBox()
    : m_cxBox(13), m_cyItem(15), m_cxExtent(0), m_xDrawnOffset(0), m_ppszText(NULL),
      m_nTexts(0), m_nTextCapacity(0), m_pAccessible(NULL)
{
    for (int i = 0; i < 256; ++i)
        m_cxChar[i] = 0;
}

CCheckListBox::~CCheckListBox()
{
    ReleaseAccessible();
    RemoveAllTexts();
    free(m_ppszText);
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
    if (nIndex < 0 || nIndex >= m_nTexts)
        return LB_ERR;
    rString = m_ppszText[nIndex];
    return rString.GetLength();
}

BOOL CCheckListBox::InsertText(int nIndex, LPCSTR lpszText)
{
    if (nIndex < 0 || nIndex > m_nTexts)
        return FALSE;
    if (m_nTexts == m_nTextCapacity) {
        const int nCapacity = m_nTextCapacity ? m_nTextCapacity * 2 : 64;
        LPSTR* ppsz = (LPSTR*)realloc(m_ppszText, sizeof(LPSTR) * (size_t)nCapacity);
        if (ppsz == NULL)
            return FALSE;
        m_ppszText = ppsz;
        m_nTextCapacity = nCapacity;
    }
    const size_t cb = strlen(lpszText) + 1;
    LPSTR pszCopy = (LPSTR)malloc(cb);
    if (pszCopy == NULL)
        return FALSE;
    memcpy(pszCopy, lpszText, cb);
    memmove(m_ppszText + nIndex + 1, m_ppszText + nIndex, sizeof(LPSTR) * (size_t)(m_nTexts - nIndex));
    m_ppszText[nIndex] = pszCopy;
    ++m_nTexts;
    return TRUE;
}

void CCheckListBox::RemoveText(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nTexts)
        return;
    free(m_ppszText[nIndex]);
    memmove(m_ppszText + nIndex, m_ppszText + nIndex + 1, sizeof(LPSTR) * (size_t)(m_nTexts - nIndex - 1));
    --m_nTexts;
}

void CCheckListBox::RemoveAllTexts()
{
    for (int i = 0; i < m_nTexts; ++i)
        free(m_ppszText[i]);
    m_nTexts = 0;
}

LPWSTR CCheckListBox::WideText(int nIndex, int* pcch) const
{
    *pcch = 0;
    if (nIndex < 0 || nIndex >= m_nTexts)
        return NULL;
    const int cch = ::MultiByteToWideChar(CP_ACP, 0, m_ppszText[nIndex], -1, NULL, 0);
    LPWSTR psz = cch > 0 ? (LPWSTR)malloc(sizeof(WCHAR) * (size_t)cch) : NULL;
    if (psz == NULL)
        return NULL;
    ::MultiByteToWideChar(CP_ACP, 0, m_ppszText[nIndex], -1, psz, cch);
    *pcch = cch - 1;
    return psz;
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
    // The table measures an entry byte by byte: right only for a code page of single bytes.
    CPINFO cpInfo;
    const BOOL bSingleByte = ::GetCPInfo(CP_ACP, &cpInfo) && cpInfo.MaxCharSize == 1;
    if (!bSingleByte || !::GetCharWidth32A(dc.GetSafeHdc(), 0, 255, m_cxChar))
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
        if (m_cxChar[*p] == 0)
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

    // Win32: DrawTextA converts by the font's character set, not the ANSI code page (under
    // UTF-8 every non-ASCII name would come out garbled): convert here, draw wide.
    int cchText;
    LPWSTR pszText = WideText((int)lpDIS->itemID, &cchText);
    if (pszText != NULL) {
        COLORREF crOldText = ::SetTextColor(hDC, ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
        RECT rcLabel = rcText;
        rcLabel.left += 1;
        ::DrawTextW(hDC, pszText, cchText, &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        ::SetBkMode(hDC, nOldMode);
        ::SetTextColor(hDC, crOldText);
        free(pszText);
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

void CCheckListBox::WidenExtent(int nIndex)
{
    int cxText = TextWidth(m_ppszText[nIndex]);
    if (cxText < 0) {
        // Measured as drawn: the wide text.
        int cchText;
        LPWSTR pszText = WideText(nIndex, &cchText);
        CClientDC dc(m_hWnd);
        dc.SelectObject((HFONT)SendMessage(WM_GETFONT));
        SIZE size;
        cxText = pszText && ::GetTextExtentPoint32W(dc.GetSafeHdc(), pszText, cchText, &size) ? size.cx : 0;
        free(pszText);
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

    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        if (lParam == 0)
            return LB_ERR;
        LRESULT lResult = DefWindowProc(message, wParam, lParam);
        if (lResult < 0)
            return lResult;
        if (!InsertText((int)lResult, (LPCSTR)lParam)) {
            DefWindowProc(LB_DELETESTRING, (WPARAM)lResult, 0);
            return LB_ERRSPACE;
        }
        // Every entry stays reachable with the horizontal scroll bar, however long.
        WidenExtent((int)lResult);
        return lResult;
    }

    case LB_DELETESTRING: {
        LRESULT lResult = DefWindowProc(message, wParam, lParam);
        if (lResult != LB_ERR)
            RemoveText((int)wParam);
        return lResult;
    }

    case LB_RESETCONTENT:
        RemoveAllTexts();
        break;

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
        RemoveAllTexts();
        break;

    case WM_CHAR:
        if (wParam == ' ')
            return 0;   // Space toggled above; the list box would search for a ' ' entry
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
