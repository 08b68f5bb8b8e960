#include "InstallCommand.h"

#include "InstallReport.h"
#include "framework/CCheckListBox.h"
#include "framework/CFileFind.h"
#include "instaide/InstAide.h"

static const char kNoUsersFound[] = "Installation failed: No users found.";
static const char kNoUsersSelected[] = "Installation failed: No users selected.";
static const char kFilesNotFound[] = "Installation failed: Application files not found (*.PRC).";
static const char kPattern[] = "*.prc";

CInstallOutcome RunInstallCommand(const CCheckListBox& userList, CFileFind& finder)
{
    if (userList.GetCount() <= 0)
        return {CString(kNoUsersFound), TRUE};
    if (CountCheckedUsers(userList) <= 0)
        return {CString(kNoUsersSelected), FALSE};

    if (!finder.FindFile(kPattern))
        return {CString(kFilesNotFound), TRUE};
    CInstallReport report;
    do {
        // A directory whose name matches is no application file.
        if (finder.IsDirectory())
            continue;
        report.AddFile();
        InstallForCheckedUsers(userList, finder.GetFileName(), report);
    } while (finder.FindNextFile());
    const BOOL bSearchStopped = finder.GetLastError() != ERROR_NO_MORE_FILES;
    finder.Close();
    if (bSearchStopped)
        report.SetSearchStopped();

    if (report.GetFileCount() == 0 && !bSearchStopped)
        return {CString(kFilesNotFound), TRUE};   // only directories matched
    return {report.GetMessageText(), TRUE};
}

int CountCheckedUsers(const CCheckListBox& userList)
{
    int nChecked = 0;
    for (int i = userList.GetCount() - 1; i >= 0; --i)
        if (userList.GetCheck(i) != 0)
            ++nChecked;
    return nChecked;
}

void InstallForCheckedUsers(const CCheckListBox& userList, LPCSTR lpszFileName, CInstallReport& report)
{
    CString strUserName;
    for (int i = userList.GetCount() - 1; i >= 0; --i) {
        if (userList.GetCheck(i) == 0)
            continue;
        if (userList.GetText(i, strUserName) == LB_ERR)
            continue;
        report.AddResult(strUserName, lpszFileName, InstAideInstallFile(strUserName, lpszFileName));
    }
}
