// Filling the user list from the Install Aide, on a real list box against the test double.
#include "DoubleScript.h"
#include "ListBoxFixture.h"
#include "install/UserList.h"

#include <climits>

using EntryList = std::vector<std::pair<std::string, int>>;
using CallList = std::vector<std::string>;

class UserListTest : public ListBoxFixture {};

static std::string NameCall(int index, const std::string& name)
{
    return "UserName index=" + std::to_string(index) + " size=256 -> 0 size_after=256 name=\"" + name + "\"";
}

TEST_F(UserListTest, HighestIndexOnTopEveryEntryChecked)
{
    DoubleScript script("user Ann\nuser Bob\nuser Cy\n");
    PopulateUserList(m_userList);

    EXPECT_EQ(Entries(), (EntryList{{"Cy", 1}, {"Bob", 1}, {"Ann", 1}}));
    EXPECT_EQ(script.Calls(), (CallList{"UserCount -> 3", NameCall(2, "Cy"), NameCall(1, "Bob"), NameCall(0, "Ann")}));
}

TEST_F(UserListTest, NoUserCountListsNobodyAndAsksNoName)
{
    for (long count : {-1L, 0L, (long)INT_MIN}) {
        SCOPED_TRACE(count);
        SendMessageA(m_userList.m_hWnd, LB_RESETCONTENT, 0, 0);
        DoubleScript script("user Ann\nuser Bob\ncount " + std::to_string(count) + "\n");
        PopulateUserList(m_userList);

        EXPECT_EQ(m_userList.GetCount(), 0);
        EXPECT_EQ(script.Calls(), (CallList{"UserCount -> " + std::to_string(count)}));
    }
}

TEST_F(UserListTest, SameNameTwiceGivesTwoCheckedEntries)
{
    DoubleScript script("user Ann\nuser Ann\n");
    PopulateUserList(m_userList);
    EXPECT_EQ(Entries(), (EntryList{{"Ann", 1}, {"Ann", 1}}));
}

TEST_F(UserListTest, LongestNameIsKeptWhole)
{
    const std::string name(255, 'n');
    DoubleScript script("user " + name + "\n");
    PopulateUserList(m_userList);
    EXPECT_EQ(Entries(), (EntryList{{name, 1}}));
}

TEST_F(UserListTest, NameWithoutTerminatorIsCutAtTheBuffersEnd)
{
    // The double fills all 256 bytes with "Bob" and then '#', and no NUL.
    DoubleScript script("user Ann\nuser Bob\nname 1 unterminated\n");
    PopulateUserList(m_userList);

    const std::string expected = "Bob" + std::string(252, '#');
    ASSERT_EQ(m_userList.GetCount(), 2);
    EXPECT_EQ(Entries()[0], std::make_pair(expected, 1));
    EXPECT_EQ(Entries()[1], std::make_pair(std::string("Ann"), 1));
}

TEST_F(UserListTest, UnwrittenNameIsEmptyNotThePreviousUsersName)
{
    DoubleScript script("user Ann\nuser Bob\nname 0 unwritten\n");
    PopulateUserList(m_userList);
    EXPECT_EQ(Entries(), (EntryList{{"Bob", 1}, {"", 1}}));
}

TEST_F(UserListTest, SizeWordIsResetBeforeEveryLookup)
{
    DoubleScript script("user Ann\nuser Bob\nuser Cy\nname 2 size=3\nname 1 size=0\n");
    PopulateUserList(m_userList);

    CallList calls = script.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1], "UserName index=2 size=256 -> 0 size_after=3 name=\"Cy\"");
    EXPECT_EQ(calls[2], "UserName index=1 size=256 -> 0 size_after=0 name=\"Bob\"");
    EXPECT_EQ(calls[3], NameCall(0, "Ann"));
}

TEST_F(UserListTest, NamesPassByteForByte)
{
    // "Jörg" and "Zoë" in code page 1252, and a name with a quotation mark.
    DoubleScript script("user J\\xF6rg\nuser Zo\\xEB\nuser say \"hi\"\n");
    PopulateUserList(m_userList);
    EXPECT_EQ(Entries(), (EntryList{{"say \"hi\"", 1}, {"Zo\xEB", 1}, {"J\xF6rg", 1}}));
}

TEST_F(UserListTest, LookupResultIsNotAFilter)
{
    DoubleScript script("user Ann\nuser Bob\nname 1 result=-5\n");
    PopulateUserList(m_userList);
    EXPECT_EQ(Entries(), (EntryList{{"Bob", 1}, {"Ann", 1}}));
}

TEST_F(UserListTest, AnAbsurdCountListsOnlyTheFirstUsers)
{
    DoubleScript script("user Ann\ncount 2147483647\ngenerated\nrecord off\n");
    PopulateUserList(m_userList);

    ASSERT_EQ(m_userList.GetCount(), kMaxListedUsers);
    CString top, bottom;
    m_userList.GetText(0, top);
    m_userList.GetText(kMaxListedUsers - 1, bottom);
    EXPECT_STREQ(top, ("User " + std::to_string(kMaxListedUsers - 1)).c_str());
    EXPECT_STREQ(bottom, "Ann");
}
