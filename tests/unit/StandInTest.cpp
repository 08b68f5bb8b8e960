// The stand-in Install Aide: its store of users and queues, through its three ordinals.
#include "instaide/InstAide.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

class StandInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char path[MAX_PATH];
        ASSERT_GT(GetEnvironmentVariableA("STANDIN_DLL", path, MAX_PATH), 0u) << "STANDIN_DLL names the stand-in";
        HMODULE h = LoadLibraryA(path);
        ASSERT_NE(h, nullptr) << path;
        s_count = (PFN_INSTAIDEUSERCOUNT)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_USERCOUNT));
        s_name = (PFN_INSTAIDEUSERNAME)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_USERNAME));
        s_install = (PFN_INSTAIDEINSTALLFILE)GetProcAddress(h, MAKEINTRESOURCEA(INSTAIDE_ORD_INSTALLFILE));
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
        CreateDirectoryA(m_root.c_str(), NULL);
        CreateDirectoryA(m_store.c_str(), NULL);
        CreateDirectoryA(m_work.c_str(), NULL);
        SetEnvironmentVariableA("INSTAIDE_STANDIN_STORE", m_store.c_str());
        GetCurrentDirectoryA(MAX_PATH, m_savedDir);
        SetCurrentDirectoryA(m_work.c_str());
    }

    void TearDown() override { SetCurrentDirectoryA(m_savedDir); }

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
    WriteFile(m_work + "\\a.prc", "first file");
    WriteFile(m_work + "\\b.prc", "second file");

    EXPECT_EQ(s_install("Bob", "a.prc"), 0);
    EXPECT_EQ(s_install("Bob", "b.prc"), 0);
    EXPECT_EQ(s_install("Bob", "a.prc"), 0);   // repeatable

    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\a.prc"), "first file");
    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\b.prc"), "second file");
    EXPECT_EQ(ReadFile(m_store + "\\queue\\Bob\\queued.txt"), "a.prc\r\nb.prc\r\na.prc\r\n");
    EXPECT_EQ(GetFileAttributesA((m_store + "\\queue\\Ann").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StandInTest, FailedRequestsAreNegative)
{
    WriteFile(m_store + "\\users.txt", "Ann\n");
    WriteFile(m_work + "\\a.prc", "x");
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
    WriteFile(m_work + "\\a.prc", "x");
    EXPECT_EQ(s_install("A/B:C", "a.prc"), 0);
    EXPECT_EQ(ReadFile(m_store + "\\queue\\A_B_C\\a.prc"), "x");
}

}  // namespace
