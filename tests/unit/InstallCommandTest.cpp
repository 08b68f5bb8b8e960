// The install command run in-process: a real list box, the test double, a scripted search.
#include "DoubleScript.h"
#include "ListBoxFixture.h"
#include "install/InstallCommand.h"

#include "framework/CFileFind.h"

#include <string>
#include <vector>

using CallList = std::vector<std::string>;

namespace {

const char kReady[] = "Installation ready.  Files will be transferred next time user performs a hotsync.";

// A directory search that hands back the matches it was given, then ends with an error
// (ERROR_NO_MORE_FILES at the plain end). It records what the command asked of it.
class CScriptedFind : public CFileFind {
public:
    struct Match {
        Match(const char* pszName, bool bDirectory, bool bExact = true, const char* pszShort = "")
            : name(pszName), directory(bDirectory), exact(bExact), shortName(pszShort) {}
        std::string name;
        bool directory;
        bool exact;                // the ANSI code page spells the name exactly
        std::string shortName;     // its 8.3 alias, if any
    };

    CScriptedFind(std::vector<Match> matches, DWORD dwEndError = ERROR_NO_MORE_FILES)
        : m_matches(std::move(matches)), m_dwEndError(dwEndError) {}

    BOOL FindFile(LPCSTR lpszPattern) override
    {
        m_log.push_back(std::string("find ") + lpszPattern);
        m_nCurrent = 0;
        return Current();
    }
    BOOL FindNextFile() override
    {
        ++m_nCurrent;
        return Current();
    }
    void Close() override { m_log.push_back("close"); }
    BOOL GetFileName(CString& rName) const override
    {
        rName = m_matches[m_nCurrent].name.c_str();
        return m_matches[m_nCurrent].exact;
    }
    CString GetShortName() const override { return CString(m_matches[m_nCurrent].shortName.c_str()); }
    BOOL IsDirectory() const override { return m_matches[m_nCurrent].directory; }
    DWORD GetLastError() const override { return m_dwLastError; }

    std::vector<std::string> m_log;

private:
    BOOL Current()
    {
        if (m_nCurrent < m_matches.size())
            return TRUE;
        m_dwLastError = m_nCurrent == 0 && m_dwEndError == ERROR_NO_MORE_FILES ? ERROR_FILE_NOT_FOUND : m_dwEndError;
        return FALSE;
    }

    std::vector<Match> m_matches;
    DWORD m_dwEndError;
    DWORD m_dwLastError = ERROR_SUCCESS;
    size_t m_nCurrent = 0;
};

std::string Request(const std::string& user, const std::string& file)
{
    return "InstallFile user=\"" + user + "\" file=\"" + file + "\" -> 0";
}

}  // namespace

class InstallCommandTest : public ListBoxFixture {
protected:
    // Ann, Bob and Cy, listed as the dialog lists them: Cy on top, Ann at the bottom.
    void AddUsers(const std::vector<int>& checks)
    {
        const char* names[] = {"Cy", "Bob", "Ann"};
        for (size_t i = 0; i < checks.size(); ++i)
            m_userList.SetCheck(m_userList.AddString(names[i]), checks[i]);
    }

    // The InstallFile requests the double received, in order.
    static CallList Requests(const DoubleScript& script)
    {
        CallList requests;
        for (const std::string& call : script.Calls())
            if (call.rfind("InstallFile", 0) == 0)
                requests.push_back(call);
        return requests;
    }
};

TEST_F(InstallCommandTest, FileByFileThenBottomUserFirstForCheckedUsersOnly)
{
    DoubleScript script("");
    AddUsers({1, 0, 1});
    CScriptedFind finder({{"a.prc", false}, {"b.prc", false}});

    const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

    EXPECT_STREQ(outcome.strMessage, kReady);
    EXPECT_TRUE(outcome.bCloseDialog);
    EXPECT_EQ(Requests(script), (CallList{Request("Ann", "a.prc"), Request("Cy", "a.prc"), Request("Ann", "b.prc"),
                                          Request("Cy", "b.prc")}));
    EXPECT_EQ(finder.m_log, (CallList{"find *.prc", "close"}));
}

TEST_F(InstallCommandTest, DirectoriesAreSkippedAndNamesPassAsTheSearchGivesThem)
{
    DoubleScript script("");
    AddUsers({1});
    CScriptedFind finder({{"old.prc", true}, {"APP.PRC", false}, {"new.Prc", true}});

    const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

    EXPECT_STREQ(outcome.strMessage, kReady);
    EXPECT_EQ(Requests(script), (CallList{Request("Cy", "APP.PRC")}));
}

TEST_F(InstallCommandTest, OutcomesWithoutRequests)
{
    struct Case {
        const char* what;
        std::vector<int> checks;
        std::vector<CScriptedFind::Match> matches;
        const char* message;
        BOOL bClose;
        CallList search;   // what was asked of the directory search
    } cases[] = {
        {"empty list", {}, {{"a.prc", false}}, "Installation failed: No users found.", TRUE, {}},
        {"none checked", {0, 0, 0}, {{"a.prc", false}}, "Installation failed: No users selected.", FALSE, {}},
        {"no match", {1, 1}, {}, "Installation failed: Application files not found (*.PRC).", TRUE,
         {"find *.prc"}},
        {"only directories", {0, 1}, {{"old.prc", true}, {"new.prc", true}},
         "Installation failed: Application files not found (*.PRC).", TRUE, {"find *.prc", "close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SendMessageA(m_userList.m_hWnd, LB_RESETCONTENT, 0, 0);
        DoubleScript script("");
        AddUsers(c.checks);
        CScriptedFind finder(c.matches);

        const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

        EXPECT_STREQ(outcome.strMessage, c.message);
        EXPECT_EQ(outcome.bCloseDialog, c.bClose);
        EXPECT_EQ(finder.m_log, c.search);
        EXPECT_EQ(Requests(script), CallList{});
    }
}

TEST_F(InstallCommandTest, ASearchThatStopsEarlySaysSoAfterTheFilesItFound)
{
    DoubleScript script("");
    AddUsers({1, 1});
    CScriptedFind finder({{"a.prc", false}, {"b.prc", false}}, ERROR_ACCESS_DENIED);

    const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

    EXPECT_STREQ(outcome.strMessage,
                 "Installation incomplete: Some files could not be queued.\n\n"
                 "The search for application files (*.PRC) stopped early.\n\n"
                 "The other files will be transferred next time user performs a hotsync.");
    EXPECT_TRUE(outcome.bCloseDialog);
    EXPECT_EQ(Requests(script), (CallList{Request("Bob", "a.prc"), Request("Cy", "a.prc"), Request("Bob", "b.prc"),
                                          Request("Cy", "b.prc")}));
    EXPECT_EQ(finder.m_log, (CallList{"find *.prc", "close"}));
}

TEST_F(InstallCommandTest, CountCheckedUsersCountsEveryNonZeroState)
{
    AddUsers({1, 0, 1});
    EXPECT_EQ(CountCheckedUsers(m_userList), 2);
    m_userList.SetCheck(1, 1);
    EXPECT_EQ(CountCheckedUsers(m_userList), 3);
}

TEST_F(InstallCommandTest, OnlyLongNamesEndingInPrcAreApplicationFiles)
{
    // The pattern matches these through their 8.3 aliases, as Windows does.
    DoubleScript script("");
    AddUsers({1});
    CScriptedFind finder({{"app.prc~", false}, {"x.prcx", false}, {"app.prcold", false}, {"B.Prc", false},
                          {".prc", false}, {"a.prc", false}});

    const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

    EXPECT_STREQ(outcome.strMessage, kReady);
    EXPECT_EQ(Requests(script), (CallList{Request("Cy", "B.Prc"), Request("Cy", "a.prc")}));
}

TEST_F(InstallCommandTest, NamesTheCodePageCannotSpellGoByTheirShortNameOrAreReportedFailed)
{
    DoubleScript script("");
    AddUsers({1, 0, 1});
    CScriptedFind finder({{"?.prc", false, false, "_~~~~5MF.PRC"}, {"A.prc", false},
                          {"???.prc", false, false, ""}});

    const CInstallOutcome outcome = RunInstallCommand(m_userList, finder);

    EXPECT_EQ(Requests(script), (CallList{Request("Ann", "_~~~~5MF.PRC"), Request("Cy", "_~~~~5MF.PRC"),
                                          Request("Ann", "A.prc"), Request("Cy", "A.prc")}));
    EXPECT_STREQ(outcome.strMessage,
                 "Installation incomplete: Some files could not be queued.\n\n"
                 "???.prc for Ann\n???.prc for Cy\n\n"
                 "The other files will be transferred next time user performs a hotsync.");
}
