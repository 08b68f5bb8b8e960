// CCheckListBox: an owner-drawn list box whose entries carry a check box each.
//
// It attaches to a list box with LBS_OWNERDRAWFIXED and LBS_HASSTRINGS (a dialog template's,
// through DDX_Control) and keeps each entry's check state, 0 or 1, as the entry's item data.
// It also keeps each entry's text exactly as it was added: the list box itself holds its
// text as Unicode, and reading it back in the ANSI code page can change bytes (another code
// page's text, a double-byte code page's non-canonical forms). Entries are drawn by
// converting that text with the ANSI code page and drawing with the wide functions, which
// holds for every code page, UTF-8 and the double-byte ones included.
// A click on an entry's box, or Space on the caret entry, toggles it; when that entry is
// selected, every selected entry takes its new state. The parent hears of every change
// through a CLBN_CHKCHANGE notification, and screen readers through Active Accessibility
// (CCheckListBoxAccessible) and a state-change event for each entry that changed.
#pragma once

#include "CWnd.h"

// Notification (WM_COMMAND code) to the parent: an entry's check state changed.
#define CLBN_CHKCHANGE      40

class CString;
class CCheckListBoxAccessible;

class CCheckListBox : public CWnd {
public:
    CCheckListBox();
    ~CCheckListBox();

    int GetCount() const;                          // LB_GETCOUNT
    int AddString(LPCSTR lpszItem);                // LB_ADDSTRING: the position, or LB_ERR / LB_ERRSPACE
    int GetText(int nIndex, CString& rString) const;   // the text as added: its length, or LB_ERR
    int SetCheck(int nIndex, int nCheck);          // LB_ERR for a bad index
    int GetCheck(int nIndex) const;                // 0 or 1; LB_ERR for a bad index
    int GetSel(int nIndex) const;                  // LB_GETSEL: > 0 when selected
    int GetCaretIndex() const;                     // LB_GETCARETINDEX

    // What a click on the entry's box does: toggles it and, when it is selected, gives every
    // selected entry its new state; the parent hears CLBN_CHKCHANGE.
    void ToggleCheck(int nIndex);
    // The entry's rectangle where it is drawn, in client pixels (scrolled sideways, part of
    // it may lie left of the client area). FALSE for a bad index.
    BOOL GetEntryRect(int nIndex, LPRECT lpRect) const;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);
    void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    // Gives nIndex nCheck and, when nIndex is selected, every selected entry too.
    void SetSelectionCheck(int nIndex, int nCheck);
    // The entry whose check box lies under the point, or -1.
    int CheckBoxFromPoint(POINT pt) const;
    void WidenExtent(int nIndex);
    // The entries' texts as added, kept beside the list box's own copies.
    BOOL InsertText(int nIndex, LPCSTR lpszText);
    void RemoveText(int nIndex);
    void RemoveAllTexts();
    // An entry's text in the wide form the screen shows; NULL when out of memory.
    LPWSTR WideText(int nIndex, int* pcch) const;
    // WM_GETOBJECT for OBJID_CLIENT: our accessible object, made on the first request.
    LRESULT GetAccessibleObject(WPARAM wParam);
    void ReleaseAccessible();

    // Reads the box size, character widths and item height from the list's font.
    void MeasureFont();
    int TextWidth(LPCSTR lpszText) const;
    RECT CheckBoxRect(const RECT& rcItem) const;

    int m_cxBox;        // the check box's side, in pixels
    int m_cyItem;       // an entry's height: the taller of the text and the box
    int m_cxExtent;     // the horizontal extent: the widest entry so far
    int m_xDrawnOffset; // entries as last drawn, in client pixels, against LB_GETITEMRECT
    int m_cxChar[256];  // the list font's width of each byte's character, to measure entries
                        // quickly; all 0 where characters have several bytes (GDI measures them)
    LPSTR* m_ppszText;  // the entries' texts as added (malloc), m_nTexts of them
    int m_nTexts;
    int m_nTextCapacity;
    CCheckListBoxAccessible* m_pAccessible;   // NULL until a screen reader asks; one reference held
};
