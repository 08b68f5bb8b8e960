#include "InstallCommand.h"

#include "InstallReport.h"
#include "framework/CCheckListBox.h"
#include "framework/CFileFind.h"
#include "instaide/InstAide.h"

static const char kNoUsersFound[] = "Installation failed: No users found.";
static const char kNoUsersSelected[] = "Installation failed: No users selected.";
static const char kFilesNotFound[] = "Installation failed: Application files not found (*.PRC).";
static const char kPattern[] = "*.prc";
static const char kExtension[] = ".prc";

// Windows matches the pattern against the generated 8.3 aliases too ("app.prc~" has one
// ending in .PRC): only a long name that ends in .prc, in any letter case, is an application file.
static BOOL IsApplicationFileName(const CString& strName)
{
    const int cchExtension = sizeof kExtension - 1;
    return strName.GetLength() > cchExtension &&
           ::lstrcmpiA((LPCSTR)strName + strName.GetLength() - cchExtension, kExtension) == 0;
}

// Every checked user's request for this file fails without reaching the library.
static void ReportUnrequestable(const CCheckListBox& userList, LPCSTR lpszFileName, CInstallReport& report)
{
    CString strUserName;
    for (int i = userList.GetCount() - 1; i >= 0; --i)
        if (userList.GetCheck(i) != 0 && userList.GetText(i, strUserName) != LB_ERR)
            report.AddResult(strUserName, lpszFileName, -1);
}

CInstallOutcome RunInstallCommand(const CCheckListBox& userList, CFileFind& finder)
{
    if (userList.GetCount() <= 0)
        return {CString(kNoUsersFound), TRUE};
    if (CountCheckedUsers(userList) <= 0)
        return {CString(kNoUsersSelected), FALSE};

    if (!finder.FindFile(kPattern))
        return {CString(kFilesNotFound), TRUE};
    CInstallReport report;
    CString strName;
    do {
        // A directory whose name matches is no application file.
        if (finder.IsDirectory())
            continue;
        const BOOL bExact = finder.GetFileName(strName);
        if (!IsApplicationFileName(strName))
            continue;
        report.AddFile();
        if (bExact) {
            InstallForCheckedUsers(userList, strName, report);
            continue;
        }
        // The code page cannot spell the name: its 8.3 alias names the same file and only it.
        const CString strShort = finder.GetShortName();
        if (!strShort.IsEmpty())
            InstallForCheckedUsers(userList, strShort, report);
        else
            ReportUnrequestable(userList, strName, report);
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
