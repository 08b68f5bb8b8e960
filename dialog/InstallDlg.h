// CInstallDlg: the install dialog, which lists the Palm Desktop users to install for.
#pragma once

#include "framework/CCheckListBox.h"
#include "framework/CDialog.h"
#include "res/resource.h"

class CInstallReport;

class CInstallDlg : public CDialog {
public:
    explicit CInstallDlg(CWnd* pParent = NULL);

    enum { IDD = IDD_INSTALL_DIALOG };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // The install command ("INSTALL", Enter): queues every application file of the
    // current directory for every checked user and reports the outcome.
    void OnInstall();
    int CountCheckedUsers();
    void InstallForCheckedUsers(LPCSTR lpszFileName, CInstallReport& report);

    DECLARE_MESSAGE_MAP()

private:
    CCheckListBox m_userList;
    HICON m_hIcon;   // shared: never destroyed
};
