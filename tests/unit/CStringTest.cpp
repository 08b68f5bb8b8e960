// The framework's string: appends, numbers and buffers for the API to write into.
#include "framework/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(CStringTest, ManyAppendsKeepEveryCharacter)
{
    CString s;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        s += (char)('a' + i % 26);
        expected += (char)('a' + i % 26);
    }
    EXPECT_EQ(s.GetLength(), 5000);
    EXPECT_EQ(std::string(s), expected);
}

TEST(CStringTest, NumbersInDecimal)
{
    for (int n : {0, 7, -7, 1234567890, INT_MAX, INT_MIN}) {
        CString s("n=");
        s.AppendNumber(n);
        EXPECT_EQ(std::string(s), "n=" + std::to_string(n));
    }
}

TEST(CStringTest, CopiesAreIndependent)
{
    CString a("first");
    CString b(a);
    b += " changed";
    a = a;
    EXPECT_EQ(std::string(a), "first");
    EXPECT_EQ(std::string(b), "first changed");
    CString empty;
    EXPECT_EQ(std::string(empty), "");
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CStringTest, BufferTakesWhatTheApiWrote)
{
    CString s;
    char* p = s.GetBuffer(10);
    ASSERT_NE(p, nullptr);
    strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    p = s.GetBuffer(10);
    memcpy(p, "wxyz", 4);
    s.ReleaseBuffer(2);
    EXPECT_EQ(std::string(s), "wx");
}
