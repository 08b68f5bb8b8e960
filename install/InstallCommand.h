// The install command: the checks, the search for application files, one Install Aide
// request per file and checked user, and the outcome the person is told.
#pragma once

#include "framework/CString.h"

class CCheckListBox;
class CFileFind;
class CInstallReport;

// What the dialog does once the command has run: show the message, then close or stay.
struct CInstallOutcome {
    CString strMessage;
    BOOL bCloseDialog = TRUE;   // FALSE only after "No users selected", so the person can retry
};

// Runs the whole command over the user list, searching the current directory with finder
// (a CFileFind, or a test's scripted search). Makes no window of its own.
CInstallOutcome RunInstallCommand(const CCheckListBox& userList, CFileFind& finder);

// The number of entries whose check state is not 0.
int CountCheckedUsers(const CCheckListBox& userList);

// One request for the file per checked entry, bottom entry first (with the list as filled,
// the Install Aide's own user order); each answer goes into the report.
void InstallForCheckedUsers(const CCheckListBox& userList, LPCSTR lpszFileName, CInstallReport& report);
