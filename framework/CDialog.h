// CDialog: a dialog box built from a dialog template resource and run modally.
#pragma once

#include "CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // Creates the dialog from its template and runs it until EndDialog (the result given
    // there) or until the quit message arrives (-1: the main window was destroyed).
    INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs DoDataExchange: bSaveAndValidate FALSE fills the controls, TRUE reads them.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    ~CDialog() {}

    // WM_INITDIALOG: runs data exchange. TRUE lets the dialog give the focus to the first
    // tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // IDOK and IDCANCEL: end the dialog with that result.
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Sends WM_MEASUREITEM and WM_DRAWITEM back to the control they are about.
    BOOL ReflectToControl(HWND hWndControl, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR RunModalLoop();
    void CenterOnWorkArea();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bCenterOnInit;   // the template puts the dialog at (0, 0) without DS_CENTER
    BOOL m_bEndModal;
    BOOL m_bPostedQuit;     // destroyed as the main window: the quit message is on its way
    int m_nModalResult;
};
