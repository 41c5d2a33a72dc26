// Directory entries as maps, and the person fields derived from them.
#include "EntryMap.h"
#include "FakeLdapApi.h"

#include <gtest/gtest.h>

namespace {

CMapStringToString MapOf(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> values) {
    CMapStringToString map;
    for (const auto& v : values)
        map[v.first] = v.second;
    return map;
}

} // namespace

TEST(EntryMapTest, KeysAreLowerCaseNamesWithTheFirstValuePersonNamesFromCnOrGivenNameAndSurname) {
    CFakeLdapApi api;
    FakeEntry entry{L"uid=john.smith,ou=People,dc=quillet,dc=test",
                    {{L"cn", {L"John Smith"}},
                     {L"mail", {L"john.smith@quillet.test", L"js@quillet.test"}},
                     {L"telephoneNumber", {L"+1 503 555 0142", L"+1 503 555 0143"}},
                     {L"description", {}}}};
    api.results = {FakeResult{LDAP_RES_SEARCH_ENTRY, LDAP_SUCCESS, {entry}}};
    LDAP* pConnection = api.Init(L"127.0.0.1", 389);
    LDAPMessage* pMessage = nullptr;
    l_timeval poll{0, 0};
    ASSERT_EQ(api.Result(pConnection, 1, 0, &poll, &pMessage),
              static_cast<ULONG>(LDAP_RES_SEARCH_ENTRY));
    CMapStringToString map;
    BuildEntryMap(api, pConnection, pMessage, map);
    api.MsgFree(pMessage);
    api.UnbindS(pConnection);

    std::vector<std::wstring> keys;
    CString key, value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key.str());
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"dn", L"cn", L"mail", L"telephonenumber"}));
    ASSERT_TRUE(map.Lookup(L"mail", value));
    EXPECT_EQ(value, L"john.smith@quillet.test");
    EXPECT_EQ(api.OpenObjects(), 0);
    EXPECT_TRUE(api.Misuses().empty());
    struct Case {
        CMapStringToString map;
        const wchar_t* last;
        const wchar_t* first;
    };
    const Case cases[] = {
        {MapOf({{L"cn", L"Smith, John"}}), L"Smith", L"John"},
        {MapOf({{L"cn", L"John Smith"}}), L"Smith", L"John"},
        {MapOf({{L"cn", L"John  Paul Smith"}}), L"Paul Smith", L"John"},
        {MapOf({{L"cn", L"Reception"}}), L"Reception", L""},
        {MapOf({{L"cn", L"Lee, Ann"}}), L"Lee", L"Ann"},
        {MapOf({{L"givenname", L"Ann"}, {L"sn", L"Lee"}}), L"Lee", L"Ann"},
        {MapOf({{L"mail", L"desk@quillet.test"}}), L"", L""},
    };
    for (const Case& c : cases) {
        CPersonFields fields = GetPersonFields(c.map);
        EXPECT_EQ(fields.strLastName, c.last);
        EXPECT_EQ(fields.strFirstName, c.first);
    }
    CPersonFields fields = GetPersonFields(MapOf({{L"cn", L"Ann Lee"},
                                                  {L"telephonenumber", L"+1 617 555 0108"},
                                                  {L"mail", L"ann.lee@quillet.test"}}));
    EXPECT_EQ(fields.strTelephoneNumber, L"+1 617 555 0108");
    EXPECT_EQ(fields.strEmail, L"ann.lee@quillet.test");
}

