// The stand-in Install Aide: its store of users and queues, through its three ordinals.
#include "instaide/InstAide.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A small well-formed resource database: the header, a list of two resources, the data.
std::string Database(const std::string& name = "Player", unsigned attributes = 0x0001,
                     const std::string& type = "appl", const std::string& creator = "QmbA",
                     unsigned entries = 2, unsigned firstOffset = 0)
{
    auto be = [](unsigned v, int n) {
        std::string s;
        for (int i = n - 1; i >= 0; --i)
            s += (char)((v >> (8 * i)) & 0xFF);
        return s;
    };
    std::string header = name.substr(0, 32);
    header.resize(32, '\0');
    header += be(attributes, 2) + be(1, 2) + std::string(24, '\0') + type + creator + be(0, 4);
    const unsigned dataStart = 78 + 10 * 2 + 2;   // the list head is part of the first 78 bytes
    std::string list = be(0, 4) + be(entries, 2);
    list += "tAIN" + be(1000, 2) + be(firstOffset ? firstOffset : dataStart, 4);
    list += "code" + be(1, 2) + be(dataStart + 4, 4);
    return header + list + std::string(2, '\0') + std::string("Hi!\0", 4) + "\x4e\x75";
}

class StandInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char path[MAX_PATH];
        ASSERT_GT(GetEnvironmentVariableA("STANDIN_DLL", path, MAX_PATH), 0u) << "STANDIN_DLL names the stand-in";
        HMODULE h = LoadLibraryA(path);
        ASSERT_NE(h, nullptr) << path;
        // FARPROC stands for any export; through void* to the function's own type.
        s_count = (PFN_INSTAIDEUSERCOUNT)(void*)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_USERCOUNT));
        s_name = (PFN_INSTAIDEUSERNAME)(void*)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_USERNAME));
        s_install = (PFN_INSTAIDEINSTALLFILE)(void*)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_INSTALLFILE));
        ASSERT_TRUE(s_count && s_name && s_install);
    }

    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::string(temp) + "standin_" + info->name() + "_" + std::to_string(GetCurrentProcessId());
        m_store = m_root + "\\store";
        m_work = m_root + "\\work";
        std::filesystem::remove_all(m_root);   // left by an earlier run
        CreateDirectoryA(m_root.c_str(), NULL);
        CreateDirectoryA(m_store.c_str(), NULL);
        CreateDirectoryA(m_work.c_str(), NULL);
        SetEnvironmentVariableA("INSTAIDE_STANDIN_STORE", m_store.c_str());
        GetCurrentDirectoryA(MAX_PATH, m_savedDir);
        SetCurrentDirectoryA(m_work.c_str());
    }

    void TearDown() override
    {
        SetCurrentDirectoryA(m_savedDir);
        std::filesystem::remove_all(m_root);
    }

    void WriteFile(const std::string& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string Name(LONG index, DWORD size = 256, LONG* result = nullptr)
    {
        char buffer[256];
        memset(buffer, 'x', sizeof buffer);
        DWORD cb = size;
        LONG r = s_name(index, buffer, &cb);
        if (result)
            *result = r;
        return r < 0 ? "(failed)" : std::string(buffer);
    }

    static PFN_INSTAIDEUSERCOUNT s_count;
    static PFN_INSTAIDEUSERNAME s_name;
    static PFN_INSTAIDEINSTALLFILE s_install;
    std::string m_root, m_store, m_work;
    char m_savedDir[MAX_PATH];
};

PFN_INSTAIDEUSERCOUNT StandInTest::s_count;
PFN_INSTAIDEUSERNAME StandInTest::s_name;
PFN_INSTAIDEINSTALLFILE StandInTest::s_install;

TEST_F(StandInTest, UsersInFileOrder)
{
    WriteFile(m_store + "\\users.txt", "Ann\r\nBob\nCy");   // mixed line ends, no final one
    EXPECT_EQ(s_count(), 3);
    EXPECT_EQ(Name(0), "Ann");
    EXPECT_EQ(Name(1), "Bob");
    EXPECT_EQ(Name(2), "Cy");
    LONG result = 0;
    Name(3, 256, &result);
    EXPECT_LT(result, 0);
    Name(-1, 256, &result);
    EXPECT_LT(result, 0);
}

TEST_F(StandInTest, NameIsCutToTheSizeGiven)
{
    WriteFile(m_store + "\\users.txt", "Annabelle\n");
    EXPECT_EQ(Name(0, 4), "Ann");
}

TEST_F(StandInTest, MissingStoreGivesNegativeCount)
{
    SetEnvironmentVariableA("INSTAIDE_STANDIN_STORE", (m_root + "\\nowhere").c_str());
    EXPECT_LT(s_count(), 0);
    EXPECT_LT(s_install("Ann", "a.prc"), 0);
}

TEST_F(StandInTest, EmptyStoreHasNoUsers)
{
    WriteFile(m_store + "\\users.txt", "");
    EXPECT_EQ(s_count(), 0);
}

TEST_F(StandInTest, RequestCopiesTheFileIntoTheUsersQueue)
{
    WriteFile(m_store + "\\users.txt", "Ann\nBob\n");
    WriteFile(m_work + "\\a.prc", Database("First"));
    WriteFile(m_work + "\\b.prc", Database("Second"));

    EXPECT_EQ(s_install("Bob", "a.prc"), 0);
    EXPECT_EQ(s_install("Bob", "b.prc"), 0);
    EXPECT_EQ(s_install("Bob", "a.prc"), 0);   // repeatable

    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\a.prc"), Database("First"));
    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\b.prc"), Database("Second"));
    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\queued.txt"), "a.prc\r\nb.prc\r\na.prc\r\n");
    EXPECT_EQ(GetFileAttributesA((m_store + "\\queue\\Ann").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StandInTest, FailedRequestsAreNegative)
{
    WriteFile(m_store + "\\users.txt", "Ann\n");
    WriteFile(m_work + "\\a.prc", Database());
    CreateDirectoryA((m_work + "\\old.prc").c_str(), NULL);

    EXPECT_LT(s_install("Zed", "a.prc"), 0);       // unknown user
    EXPECT_LT(s_install("An", "a.prc"), 0);        // a prefix is no user
    EXPECT_LT(s_install("Ann", "none.prc"), 0);    // missing file
    EXPECT_LT(s_install("Ann", "old.prc"), 0);     // a directory
    EXPECT_EQ(GetFileAttributesA((m_store + "\\queue\\Ann\\queued.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StandInTest, UserNamesThatNoFolderCanHoldStillGetAQueue)
{
    WriteFile(m_store + "\\users.txt", "A/B:C\n");
    WriteFile(m_work + "\\a.prc", Database());
    EXPECT_EQ(s_install("A/B:C", "a.prc"), 0);
    EXPECT_EQ(ReadFile(m_store + "\\queue\\A_B_C\\a.prc"), Database());
}

TEST_F(StandInTest, RefusesWhatIsNoHandheldDatabase)
{
    WriteFile(m_store + "\\users.txt", "Ann\n");
    const std::string good = Database();
    std::string noNul = good;
    for (int i = 0; i < 32; ++i)
        noNul[i] = 'n';
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        {"empty file", ""},
        {"plain text", "just some text that is long enough to fill a header of seventy-eight bytes......"},
        {"cut header", good.substr(0, 60)},
        {"name without NUL", noNul},
        {"empty name", Database("")},
        {"name with a control byte", Database("Pl\x01yer")},
        {"no resource attribute", Database("Player", 0x0008)},
        {"type not printable", Database("Player", 1, std::string("ap\0l", 4))},
        {"creator not printable", Database("Player", 1, "appl", "Q\xffmb")},
        {"record list beyond the file", Database("Player", 1, "appl", "QmbA", 900)},
        {"data offset beyond the file", Database("Player", 1, "appl", "QmbA", 2, 5000)},
        {"data offset inside the list", Database("Player", 1, "appl", "QmbA", 2, 80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(m_work + "\\bad.prc", c.content);
        EXPECT_LT(s_install("Ann", "bad.prc"), 0);
    }
    WriteFile(m_work + "\\good.prc", good);
    EXPECT_EQ(s_install("Ann", "good.prc"), 0);
    EXPECT_EQ(ReadFile(m_store + "\\queue\\Ann\\queued.txt"), "good.prc\r\n");
}

}  // namespace
