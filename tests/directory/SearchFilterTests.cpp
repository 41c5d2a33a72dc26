// Search filters: the exact filter each search attribute gets from a typed text, as
// it is taken apart into names. (The window's tests search the test directory with
// each kind of text.)
#include "SearchFilter.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const wchar_t* pszAttribute;
    const wchar_t* pszText;
    const wchar_t* pszFilter;
};

const FilterCase kFilterCases[] = {
    {L"cn", L"John Smith", L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"},
    {L"cn", L"Smith, John", L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"},
    {L"cn", L"smith", L"(|(|(givenName=smith*)(sn=smith*))(cn=smith*))"},
    {L"cn", L"Smith,", L"(|(&(sn=Smith*)(givenName=*))(cn= Smith*))"},
    {L"cn", L" smith", L"(|(&(sn=smith*)(givenName=*))(cn= smith*))"},
    {L"cn", L"John  Smith", L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"},
    {L"cn", L"van Dam, Anna", L"(|(&(sn=van Dam*)(givenName=Anna*))(cn=Anna van Dam*))"},
    {L"cn", L"A B C D", L"(|(&(sn=C D*)(givenName=A B*))(cn=A B C D*))"},
    {L"cn", L"Mary Ann Smith", L"(|(&(sn=Smith*)(givenName=Mary Ann*))(cn=Mary Ann Smith*))"},
    {L"cn", L"J*n", L"(|(|(givenName=J*n*)(sn=J*n*))(cn=J*n*))"},
    {L"mail", L"a)(b", L"mail=a\\29\\28b"}, // typed text is escaped, "*" is not
    {L"mail", L"a\\b**", L"mail=a\\5cb*"},
    {L"cn", L"Smi*", L"(|(|(givenName=Smi*)(sn=Smi*))(cn=Smi*))"},
    {L"cn", L"Ahmed (Sales) Khan",
     L"(|(&(sn=Khan*)(givenName=Ahmed \\28Sales\\29*))(cn=Ahmed \\28Sales\\29 Khan*))"},
    // Split at the first comma or blank only; a tab is no separator.
    {L"cn", L"Smith,John", L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"},
    {L"cn", L"Smith \t, \tJohn", L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"},
    {L"cn", L"John\tSmith", L"(|(|(givenName=John\tSmith*)(sn=John\tSmith*))(cn=John\tSmith*))"},
    {L"cn", L"John Smith ", L"(|(&(sn=*)(givenName=John Smith*))(cn=John Smith *))"},
    {L"cn", L"Lee, Ann, Jr", L"(|(&(sn=Lee*)(givenName=Ann, Jr*))(cn=Ann, Jr Lee*))"},
    {L"cn", L",", L"(|(&(sn=*)(givenName=*))(cn= *))"},
    {L"cn", L"", L"(|(|(givenName=*)(sn=*))(cn=*))"},
    {L"mail", L" john.smith@quillet.test ", L"mail= john.smith@quillet.test "},
    {L"telephoneNumber", L"555*", L"telephoneNumber=555*"},
    {L"uid", L"John Smith", L"uid=John Smith"},
    {L"CN", L"John Smith", L"CN=John Smith"}, // only "cn" itself is a name search
};

class BuildSearchFilterTest : public testing::TestWithParam<FilterCase> {};

} // namespace

TEST_P(BuildSearchFilterTest, GivesTheExactFilter) {
    const FilterCase& c = GetParam();
    EXPECT_EQ(BuildSearchFilter(c.pszAttribute, c.pszText), c.pszFilter);
}

INSTANTIATE_TEST_SUITE_P(Searches, BuildSearchFilterTest, testing::ValuesIn(kFilterCases));
