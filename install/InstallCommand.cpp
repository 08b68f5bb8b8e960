// The install command of the install dialog: the checks, the search for application files,
// one Install Aide request per file and checked user, and the outcome message.
#include "dialog/InstallDlg.h"

#include "InstallReport.h"
#include "framework/CFileFind.h"
#include "instaide/InstAide.h"

static const char kNoUsersFound[] = "Installation failed: No users found.";
static const char kNoUsersSelected[] = "Installation failed: No users selected.";
static const char kFilesNotFound[] = "Installation failed: Application files not found (*.PRC).";
static const char kPattern[] = "*.prc";

void CInstallDlg::OnInstall()
{
    if (m_userList.GetCount() <= 0) {
        MessageBox(kNoUsersFound);
        DestroyWindow();
        return;
    }
    if (CountCheckedUsers() <= 0) {
        MessageBox(kNoUsersSelected);   // the dialog stays, so users can be checked
        return;
    }

    CFileFind finder;
    if (!finder.FindFile(kPattern)) {
        MessageBox(kFilesNotFound);
        DestroyWindow();
        return;
    }
    CInstallReport report;
    do {
        // A directory whose name matches is no application file.
        if (finder.IsDirectory())
            continue;
        report.AddFile();
        InstallForCheckedUsers(finder.GetFileName(), report);
    } while (finder.FindNextFile());
    const BOOL bSearchStopped = finder.GetLastError() != ERROR_NO_MORE_FILES;
    finder.Close();
    if (bSearchStopped)
        report.SetSearchStopped();

    if (report.GetFileCount() == 0 && !bSearchStopped)
        MessageBox(kFilesNotFound);   // only directories matched
    else
        MessageBox(report.GetMessageText());
    DestroyWindow();
}

int CInstallDlg::CountCheckedUsers()
{
    int nChecked = 0;
    for (int i = m_userList.GetCount() - 1; i >= 0; --i)
        if (m_userList.GetCheck(i) != 0)
            ++nChecked;
    return nChecked;
}

void CInstallDlg::InstallForCheckedUsers(LPCSTR lpszFileName, CInstallReport& report)
{
    // Bottom entry first: with the list as filled, that is the Install Aide's own order.
    CString strUserName;
    for (int i = m_userList.GetCount() - 1; i >= 0; --i) {
        if (m_userList.GetCheck(i) == 0)
            continue;
        if (m_userList.GetText(i, strUserName) == LB_ERR)
            continue;
        report.AddResult(strUserName, lpszFileName, InstAideInstallFile(strUserName, lpszFileName));
    }
}
