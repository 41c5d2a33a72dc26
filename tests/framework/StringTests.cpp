#include "Framework.h"
#include <gtest/gtest.h>
TEST(CStringTest, FormatUsesWideStrings) {
    CString s;
    s.Format(L"%s-%d", L"abc", 5);
    EXPECT_EQ(s, L"abc-5");
}
