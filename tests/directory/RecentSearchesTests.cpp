// Recent searches: which attributes keep them, how a new search enters the list,
// and what the store holds afterwards.
#include "RecentSearches.h"
#include "RegistrySandbox.h"
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

class RecentSearchesTest : public testing::Test {
protected:
    Texts Stored(const wchar_t* pszAttribute) {
        CStringList list;
        m_options.GetSubKeyValues(RecentSearchesKey(pszAttribute), list, HKEY_CURRENT_USER);
        return ToVector(list);
    }
    CRegistrySandbox m_sandbox{L"Quillet Test Recent"};
    COptions m_options{m_sandbox.ProductKey().c_str()};
};

} // namespace

TEST(RecentSearchesAttributeTest, OnlyNameMailAndTelephoneKeepThem) {
    struct Case {
        const wchar_t* pszAttribute;
        bool bKeeps;
    };
    for (const auto& c : {Case{L"cn", true}, Case{L"mail", true}, Case{L"telephoneNumber", true},
                          Case{L"CN", false}, Case{L"telephonenumber", false}, Case{L"Mail", false},
                          Case{L"uid", false}, Case{L"", false}})
        EXPECT_EQ(KeepsRecentSearches(c.pszAttribute), c.bKeeps)
            << CString(c.pszAttribute).ToUtf8();
    EXPECT_EQ(RecentSearchesKey(L"cn"), L"General\\RecentLdapSearch\\cn");
    EXPECT_EQ(RecentSearchesKey(L"telephoneNumber"), L"General\\RecentLdapSearch\\telephoneNumber");
}

TEST(PutRecentSearchFirstTest, NewestFirstNoRepeatsAtMostTen) {
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

TEST_F(RecentSearchesTest, RecordingStoresTheListAndReturnsIt) {
    CStringList stored;
    EXPECT_TRUE(RecordRecentSearch(m_options, L"cn", L"John Smith", stored));
    EXPECT_TRUE(RecordRecentSearch(m_options, L"cn", L"Anna", stored));
    EXPECT_TRUE(RecordRecentSearch(m_options, L"cn", L"John Smith", stored));
    EXPECT_EQ(ToVector(stored), (Texts{L"John Smith", L"Anna"}));
    EXPECT_EQ(Stored(L"cn"), (Texts{L"John Smith", L"Anna"}));
    std::wstring key = m_sandbox.Path(L"General\\RecentLdapSearch\\cn");
    EXPECT_EQ(ReadRawText(key, L"1"), L"John Smith");
    EXPECT_EQ(ReadRawText(key, L"2"), L"Anna");
    EXPECT_EQ(RawValueNames(key).size(), 2u);
    // Each attribute has a list of its own.
    RecordRecentSearch(m_options, L"mail", L"a)(b", stored);
    RecordRecentSearch(m_options, L"telephoneNumber", L"555*", stored);
    EXPECT_EQ(Stored(L"cn"), (Texts{L"John Smith", L"Anna"}));
    EXPECT_EQ(Stored(L"mail"), (Texts{L"a)(b"}));
    EXPECT_EQ(Stored(L"telephoneNumber"), (Texts{L"555*"}));
}

TEST_F(RecentSearchesTest, CustomAttributeTouchesNoList) {
    CStringList stored;
    stored.AddTail(L"untouched");
    EXPECT_FALSE(RecordRecentSearch(m_options, L"uid", L"john.smith", stored));
    EXPECT_FALSE(RecordRecentSearch(m_options, L"CN", L"Smith", stored));
    EXPECT_EQ(ToVector(stored), (Texts{L"untouched"}));
    EXPECT_FALSE(KeyExists(m_sandbox.Path(L"General")));
}
