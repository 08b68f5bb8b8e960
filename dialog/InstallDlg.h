// CInstallDlg: the install dialog, which lists the Palm Desktop users to install for.
#pragma once

#include "framework/CCheckListBox.h"
#include "framework/CDialog.h"
#include "res/resource.h"

class CInstallDlg : public CDialog {
public:
    explicit CInstallDlg(CWnd* pParent = NULL);

    enum { IDD = IDD_INSTALL_DIALOG };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);

    // The install command ("INSTALL", Enter): runs it, shows its outcome, and closes the
    // dialog unless the person is to check users and try again.
    void OnInstall();

    DECLARE_MESSAGE_MAP()

private:
    CCheckListBox m_userList;
    HICON m_hIcon;   // shared: never destroyed
    BOOL m_bInstalling;   // while the requests run, until the outcome message opens
};
