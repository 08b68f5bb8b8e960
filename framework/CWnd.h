// CWnd: a window handle, with the message-map dispatch of the object bound to that window.
//
// A CWnd does not own its window: it never destroys it unless told to (DestroyWindow), and
// m_hWnd turns NULL when the window goes.
#pragma once

#include "CCmdTarget.h"

// Messages a parent sends back to the control that asked, so that the control can draw
// itself (the parent gets WM_MEASUREITEM / WM_DRAWITEM on the control's behalf).
#define OCM__BASE           (WM_USER + 0x1C00)
#define OCM_MEASUREITEM     (OCM__BASE + WM_MEASUREITEM)
#define OCM_DRAWITEM        (OCM__BASE + WM_DRAWITEM)

class CWnd : public CCmdTarget {
public:
    CWnd();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL DestroyWindow();
    BOOL IsIconic() const;
    BOOL GetClientRect(LPRECT lpRect) const;
    HWND GetDlgItem(int nID) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);   // WM_SETICON: the icon it replaces

    // A message box owned by this window; the caption defaults to the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);

    // Binds this object to a control created by someone else (a dialog template) and routes
    // its messages through WindowProc, until the control is destroyed.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    HWND m_hWnd;

protected:
    // The window's own handling of a subclassed window's messages; the base runs the
    // message map and otherwise the window's original procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Called by SubclassWindow once m_hWnd is set, before the window's messages come here.
    virtual void PreSubclassWindow() {}

    // Runs the map's handler for a message; FALSE when there is none, or when the handler
    // asked for the default handling with Default().
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // From a handler: leave this message to the window's default handling as well.
    void Default() { m_bCallDefault = TRUE; }

    // WM_COMMAND: this window's map, then (for commands) the application object's.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper;       // the subclassed window's original procedure
    BOOL m_bCallDefault;
};
