// CInstallReport: what one install command did, and the message that tells the person.
#pragma once

#include "framework/CString.h"

class CInstallReport {
public:
    CInstallReport();

    // One application file was handed on for the checked users.
    void AddFile() { ++m_nFiles; }
    // The Install Aide's answer to one request: below zero is a failure.
    void AddResult(LPCSTR lpszUserName, LPCSTR lpszFileName, LONG lResult);
    // The directory search ended on an error rather than at the last match.
    void SetSearchStopped() { m_bSearchStopped = TRUE; }

    int GetFileCount() const { return m_nFiles; }

    // The outcome message: ready, incomplete or failed.
    CString GetMessageText() const;

    // Failed requests named one per line; the rest are counted. Each name shows at most
    // kMaxShownName bytes.
    enum { kMaxListedFailures = 10, kMaxShownName = 48 };

private:
    int m_nFiles;
    int m_nSucceeded;
    int m_nFailed;
    BOOL m_bSearchStopped;
    CString m_strFailures;   // "\nFILE for USER" for each of the first failures
};
