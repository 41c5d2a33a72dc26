// Search filters: the exact filter each search attribute gets from a typed text, as
// it is taken apart into names, and that the test directory accepts every form.
#include "LdapApi.h"
#include "SearchFilter.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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

// What the test directory answers to one filter, sent the way a search sends it: the
// names of the entries found, in order, or why there are none.
std::vector<std::wstring> SearchTestDirectory(const CString& filter) {
    ILdapApi& api = LdapApi();
    CLdapConnection connection(api,
                               api.Init(L"127.0.0.1", std::atoi(std::getenv("LDAP_TEST_PORT"))));
    ULONG nVersion = LDAP_VERSION3;
    if (!connection ||
        api.SetOption(connection.Get(), LDAP_OPT_PROTOCOL_VERSION, &nVersion) != LDAP_SUCCESS ||
        api.BindS(connection.Get(), L"cn=reader,ou=Service,dc=quillet,dc=test", L"reader-secret",
                  LDAP_AUTH_SIMPLE) != LDAP_SUCCESS)
        return {L"(no connection)"};
    ULONG nMessageId =
        api.Search(connection.Get(), L"dc=quillet,dc=test", LDAP_SCOPE_SUBTREE, filter, nullptr, 0);
    if (nMessageId == static_cast<ULONG>(-1))
        return {L"(refused)"};
    CLdapMessageOwner result(api);
    l_timeval timeout{30, 0};
    api.Result(connection.Get(), nMessageId, LDAP_MSG_ALL, &timeout, result.Receive());
    if (ULONG nCode = api.Result2Error(connection.Get(), result.Get(), 0))
        return {L"(result " + std::to_wstring(nCode) + L")"};
    std::vector<std::wstring> dns;
    for (LDAPMessage* pEntry = result ? api.FirstEntry(connection.Get(), result.Get()) : nullptr;
         pEntry; pEntry = api.NextEntry(connection.Get(), pEntry)) {
        CLdapText dn(api, api.GetDn(connection.Get(), pEntry));
        dns.push_back(dn ? dn.Get() : L"");
    }
    std::sort(dns.begin(), dns.end());
    return dns;
}

std::wstring Person(const wchar_t* pszUid) {
    return std::wstring(L"uid=") + pszUid + L",ou=People,dc=quillet,dc=test";
}

// The 250 people of ou=Bulk, in sorted order.
std::vector<std::wstring> BulkPeople() {
    std::vector<std::wstring> dns;
    for (int i = 1; i <= 250; ++i) {
        CString dn;
        dn.Format(L"uid=bulk%03d,ou=Bulk,dc=quillet,dc=test", i);
        dns.push_back(dn.str());
    }
    return dns;
}

} // namespace

TEST_P(BuildSearchFilterTest, GivesTheExactFilter) {
    const FilterCase& c = GetParam();
    EXPECT_EQ(BuildSearchFilter(c.pszAttribute, c.pszText), c.pszFilter);
}

INSTANTIATE_TEST_SUITE_P(Searches, BuildSearchFilterTest, testing::ValuesIn(kFilterCases));

TEST(SearchFilterServerTest, EveryFilterFormFindsItsEntries) {
    ASSERT_NE(std::getenv("LDAP_TEST_PORT"), nullptr)
        << "LDAP_TEST_PORT is not set: run the tests through scripts/test";
    const std::vector<std::wstring> smiths = {Person(L"anna.smith"), Person(L"john.smith"),
                                              Person(L"maryann.smith"), Person(L"peter.smithson")};
    struct Case {
        const wchar_t* pszAttribute;
        const wchar_t* pszText;
        std::vector<std::wstring> dns;
    };
    const Case cases[] = {
        {L"cn", L"John Smith", {Person(L"john.smith")}},
        {L"cn", L"Smith, John", {Person(L"john.smith")}},
        {L"cn", L"smith", smiths},
        {L"cn", L"Smith,", smiths},
        {L"cn", L" smith", smiths},
        {L"cn", L"Mary Ann Smith", {Person(L"maryann.smith")}},
        {L"cn", L"van Dam, Anna", {Person(L"anna.vandam")}},
        {L"cn", L"Ahmed (Sales) Khan", {Person(L"ahmed.khan")}},
        {L"cn", L"Smith, J*", {Person(L"john.smith")}},
        {L"mail", L"a)(b", {}},
        {L"cn", L"Nobody Here", {}},
        {L"mail", L"john.smith@quillet.test", {Person(L"john.smith")}},
        {L"mail", L"*@bulk.quillet.test", BulkPeople()}, // a typed wildcard stays one
        {L"telephoneNumber", L"+1 503 555 0142", {Person(L"john.smith")}},
        {L"telephoneNumber", L"+1 503 555 014*", {Person(L"john.smith")}},
        {L"telephoneNumber", L"555*", {}},
        {L"uid", L"ann.lee*", {Person(L"ann.lee"), Person(L"ann.lee2")}},
    };
    for (const auto& c : cases) {
        CString filter = BuildSearchFilter(c.pszAttribute, c.pszText);
        EXPECT_EQ(SearchTestDirectory(filter), c.dns) << filter.ToUtf8();
    }
}
