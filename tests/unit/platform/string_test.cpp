// The program's own string class.
#include <gtest/gtest.h>

#include "platform/framework/String.h"

namespace {

TEST(String, FormatsNumbersTextAndPercent)
{
    const struct {
        CString actual;
        const char* expected;
    } cases[] = {
        {[] { CString s; s.Format("Error Code (%d)", 1805); return s; }(), "Error Code (1805)"},
        {[] { CString s; s.Format("%d|%d|%d", 0, -7, -2147483647 - 1); return s; }(), "0|-7|-2147483648"},
        {[] { CString s; s.Format("%u %x", 4294967295u, 255u); return s; }(), "4294967295 ff"},
        {[] { CString s; s.Format("DepFile%d=%s%c 100%%", 12, "\\a.dll", '!'); return s; }(), "DepFile12=\\a.dll! 100%"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.actual, c.expected);
}

TEST(String, AppendsToItselfAndGrowsWithoutLosingText)
{
    CString s("ab");
    s += s;
    EXPECT_STREQ(s, "abab");
    s += s.c_str() + 1;  // text from inside its own buffer
    EXPECT_STREQ(s, "ababbab");
    CString big;
    for (int i = 0; i < 1000; ++i)
        big += 'x';
    EXPECT_EQ(big.GetLength(), 1000);
    s = s.c_str() + 2;  // assignment from its own buffer
    EXPECT_STREQ(s, "abbab");
}

TEST(String, CutsAndSearches)
{
    CString s("C:\\a.b\\c.d");
    EXPECT_EQ(s.ReverseFind('\\'), 6);
    EXPECT_EQ(s.ReverseFind('.'), 8);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_STREQ(s.Left(6), "C:\\a.b");
    EXPECT_STREQ(s.Left(99), s);
    EXPECT_STREQ(s.Mid(7), "c.d");
    EXPECT_STREQ(s.Mid(99), "");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr) == "");
}

TEST(String, BufferForSystemCalls)
{
    CString s("old");
    char* buffer = s.GetBuffer(10);
    snprintf(buffer, 11, "new text");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "new text");
    EXPECT_EQ(s.GetLength(), 8);
    s.GetBuffer(4);
    s.ReleaseBuffer(3);
    EXPECT_STREQ(s, "new");
}

}  // namespace
