#include "InstallReport.h"

#include "AnsiText.h"

static const char kReady[] =
    "Installation ready.  Files will be transferred next time user performs a hotsync.";
static const char kIncomplete[] = "Installation incomplete: Some files could not be queued.";
static const char kFailed[] = "Installation failed: Files could not be queued.";
static const char kSearchStopped[] = "The search for application files (*.PRC) stopped early.";
static const char kOthersTransferred[] =
    "The other files will be transferred next time user performs a hotsync.";

CInstallReport::CInstallReport()
    : m_nFiles(0), m_nSucceeded(0), m_nFailed(0), m_bSearchStopped(FALSE)
{
}

void CInstallReport::AddResult(LPCSTR lpszUserName, LPCSTR lpszFileName, LONG lResult)
{
    if (lResult >= 0) {
        ++m_nSucceeded;
        return;
    }
    if (++m_nFailed <= kMaxListedFailures) {
        // However long or odd the names, the message fits the screen: one line each.
        m_strFailures += '\n';
        AppendForDisplay(m_strFailures, lpszFileName, kMaxShownName);
        m_strFailures += " for ";
        AppendForDisplay(m_strFailures, lpszUserName, kMaxShownName);
    }
}

CString CInstallReport::GetMessageText() const
{
    if (m_nFailed == 0 && !m_bSearchStopped)
        return CString(kReady);

    // The first line, an empty line, then one line for each thing that went wrong.
    CString strText(m_nSucceeded > 0 ? kIncomplete : kFailed);
    strText += '\n';
    strText += m_strFailures;
    if (m_nFailed > kMaxListedFailures) {
        strText += "\nand ";
        strText.AppendNumber(m_nFailed - kMaxListedFailures);
        strText += " more.";
    }
    if (m_bSearchStopped) {
        strText += '\n';
        strText += kSearchStopped;
    }
    if (m_nSucceeded > 0) {
        strText += "\n\n";
        strText += kOthersTransferred;
    }
    return strText;
}
