// Recent searches: which attributes keep them, and how a new search enters the list.
// (The window's tests see them recorded and shown per field; the store's tests, how
// the list is stored.)
#include "RecentSearches.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::wstring>;

Texts Numbered(int nFirst, int nLast) {
    Texts texts;
    for (int i = nFirst; i <= nLast; ++i)
        texts.push_back(L"search " + std::to_wstring(i));
    return texts;
}

} // namespace

TEST(RecentSearchesAttributeTest, OnlyNameMailAndTelephoneKeepThemNewestFirstNoRepeatsAtMostTen) {
    for (const auto& [pszAttribute, bKeeps] : {std::pair{L"cn", true}, {L"mail", true},
                                               {L"telephoneNumber", true}, {L"CN", false},
                                               {L"telephonenumber", false}, {L"Mail", false},
                                               {L"uid", false}, {L"", false}})
        EXPECT_EQ(KeepsRecentSearches(pszAttribute), bKeeps) << CString(pszAttribute).ToUtf8();
    struct Case {
        const char* pszWhat;
        Texts before;
        const wchar_t* pszText;
        Texts after;
    };
    Texts ten = Numbered(1, 10);
    Texts tenWithNewFirst = Numbered(1, 9);
    tenWithNewFirst.insert(tenWithNewFirst.begin(), L"new");
    Texts tenWithLastFirst = Numbered(1, 9);
    tenWithLastFirst.insert(tenWithLastFirst.begin(), L"search 10");
    const Case cases[] = {
        {"first search", {}, L"Smith", {L"Smith"}},
        {"new text goes first", {L"a", L"b"}, L"c", {L"c", L"a", L"b"}},
        {"repeated text moves first", {L"a", L"b", L"c"}, L"b", {L"b", L"a", L"c"}},
        {"head searched again", {L"a", L"b"}, L"a", {L"a", L"b"}},
        {"comparison is exact", {L"Smith"}, L"smith", {L"smith", L"Smith"}},
        {"blanks count", {L"Smith"}, L"Smith ", {L"Smith ", L"Smith"}},
        {"eleventh drops the oldest", ten, L"new", tenWithNewFirst},
        {"repeat within ten drops nothing", ten, L"search 10", tenWithLastFirst},
        {"over-long stored list is cut", Numbered(1, 14), L"new", tenWithNewFirst},
        {"stored repeats disappear", {L"a", L"b", L"a"}, L"a", {L"a", L"b"}},
    };
    for (const auto& c : cases) {
        CStringList list = ToList(c.before);
        PutRecentSearchFirst(list, c.pszText);
        EXPECT_EQ(ToVector(list), c.after) << c.pszWhat;
    }
}

