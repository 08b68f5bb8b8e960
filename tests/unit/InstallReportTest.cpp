// The outcome message of the install command, from what the requests answered.
#include "install/InstallReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Request {
    const char* user;
    const char* file;
    long result;
};

struct Case {
    const char* name;
    std::vector<Request> requests;
    bool searchStopped;
    std::string expected;
};

const std::string kReady = "Installation ready.  Files will be transferred next time user performs a hotsync.";
const std::string kOthers = "The other files will be transferred next time user performs a hotsync.";

std::vector<Request> Failing(int n)
{
    static const char* files[] = {"f0.prc", "f1.prc", "f2.prc", "f3.prc", "f4.prc", "f5.prc", "f6.prc",
                                  "f7.prc", "f8.prc", "f9.prc", "fa.prc", "fb.prc", "fc.prc"};
    std::vector<Request> requests;
    for (int i = 0; i < n; ++i)
        requests.push_back({"Ann", files[i], -1});
    return requests;
}

std::string Lines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += std::string("\nf") + "0123456789abc"[i] + ".prc for Ann";
    return text;
}

class InstallReportTest : public ::testing::TestWithParam<Case> {};

TEST_P(InstallReportTest, Message)
{
    const Case& c = GetParam();
    CInstallReport report;
    for (const Request& r : c.requests)
        report.AddResult(r.user, r.file, r.result);
    if (c.searchStopped)
        report.SetSearchStopped();
    EXPECT_EQ(std::string(report.GetMessageText()), c.expected);
}

std::vector<Request> Plus(std::vector<Request> a, const std::vector<Request>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Request kOk = {"Bob", "a.prc", 0};
// 60 and 250 characters: shown as their first 45 and "..." (48 bytes).
const std::string kLong60(60, 'N'), kLong250 = std::string(246, 'f') + ".prc";
const Request kPositive = {"Bob", "a.prc", 7};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, InstallReportTest,
    ::testing::Values(
        Case{"EveryRequestQueued", {kOk, kPositive}, false, kReady},
        Case{"EveryRequestFailed",
             {{"Ann", "a.prc", -1}, {"Cy", "b.prc", -2}},
             false,
             "Installation failed: Files could not be queued.\n\na.prc for Ann\nb.prc for Cy"},
        Case{"SomeFailed",
             {kOk, {"Cy", "b.prc", -1}},
             false,
             "Installation incomplete: Some files could not be queued.\n\nb.prc for Cy\n\n" + kOthers},
        Case{"TenFailuresAreAllNamed", Plus(Failing(10), {kOk}), false,
             "Installation incomplete: Some files could not be queued.\n" + Lines(10) + "\n\n" + kOthers},
        Case{"MoreThanTenFailuresAreCounted", Plus(Failing(13), {kOk}), false,
             "Installation incomplete: Some files could not be queued.\n" + Lines(10) + "\nand 3 more.\n\n" + kOthers},
        Case{"EleventhFailureEveryOneFailed", Failing(11), false,
             "Installation failed: Files could not be queued.\n" + Lines(10) + "\nand 1 more."},
        Case{"SearchStoppedAfterQueuedFiles", {kOk}, true,
             "Installation incomplete: Some files could not be queued.\n\n"
             "The search for application files (*.PRC) stopped early.\n\n" + kOthers},
        Case{"SearchStoppedAfterFailures", Failing(2), true,
             "Installation failed: Files could not be queued.\n" + Lines(2) +
             "\nThe search for application files (*.PRC) stopped early."},
        Case{"LongNamesAreShortenedWithAnEllipsis",
             {{kLong60.c_str(), kLong250.c_str(), -1}, {"Ann", "a.prc", -1}},
             false,
             "Installation failed: Files could not be queued.\n\n" + std::string(45, 'f') + "... for " +
                 std::string(45, 'N') + "...\na.prc for Ann"},
        Case{"ControlCharactersInNamesShowAsQuestionMarks",
             {{"Ann\nInstallation ready.\r\t", "a\x7f.prc", -1}},
             false,
             "Installation failed: Files could not be queued.\n\na?.prc for Ann?Installation ready.??"},
        Case{"SearchStoppedBeforeAnyRequest", {}, true,
             "Installation failed: Files could not be queued.\n\n"
             "The search for application files (*.PRC) stopped early."}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
