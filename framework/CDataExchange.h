// CDataExchange: one run of a dialog's data exchange, between its controls and its members.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Binds rControl to the dialog's control nIDC the first time it runs.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
