// The test directory answers a Windows program through the platform LDAP library.
#include <gtest/gtest.h>

#include <windows.h>
#include <winldap.h>

#include <cstdlib>
#include <string>

namespace {

ULONG FixturePort() {
    const char* port = std::getenv("LDAP_TEST_PORT");
    return port ? static_cast<ULONG>(std::atoi(port)) : 0;
}

} // namespace

TEST(LdapFixtureTest, AnswersASearchThroughWldap32) {
    ULONG port = FixturePort();
    ASSERT_NE(port, 0u) << "LDAP_TEST_PORT is not set: run the tests through scripts/test";
    LDAP* ld = ldap_initW(const_cast<PWSTR>(L"127.0.0.1"), port);
    ASSERT_NE(ld, nullptr);
    ULONG version = LDAP_VERSION3;
    ldap_set_optionW(ld, LDAP_OPT_PROTOCOL_VERSION, &version);
    ASSERT_EQ(ldap_simple_bind_sW(ld, const_cast<PWSTR>(L"cn=reader,ou=Service,dc=quillet,dc=test"),
                                  const_cast<PWSTR>(L"reader-secret")),
              static_cast<ULONG>(LDAP_SUCCESS));

    LDAPMessage* result = nullptr;
    ULONG rc =
        ldap_search_sW(ld, const_cast<PWSTR>(L"dc=quillet,dc=test"), LDAP_SCOPE_SUBTREE,
                       const_cast<PWSTR>(L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"),
                       nullptr, 0, &result);
    ASSERT_EQ(rc, static_cast<ULONG>(LDAP_SUCCESS));
    ASSERT_EQ(ldap_count_entries(ld, result), 1u);
    LDAPMessage* entry = ldap_first_entry(ld, result);
    PWSTR dn = ldap_get_dnW(ld, entry);
    EXPECT_STREQ(dn, L"uid=john.smith,ou=People,dc=quillet,dc=test");
    ldap_memfreeW(dn);
    PWSTR* phones = ldap_get_valuesW(ld, entry, const_cast<PWSTR>(L"telephoneNumber"));
    ASSERT_NE(phones, nullptr);
    EXPECT_EQ(ldap_count_valuesW(phones), 2u);
    ldap_value_freeW(phones);
    ldap_msgfree(result);

    EXPECT_EQ(ldap_simple_bind_sW(ld, const_cast<PWSTR>(L"cn=reader,ou=Service,dc=quillet,dc=test"),
                                  const_cast<PWSTR>(L"wrong")),
              static_cast<ULONG>(LDAP_INVALID_CREDENTIALS));
    ldap_unbind(ld);
}

TEST(LdapFixtureTest, NonAsciiNamesArriveIntact) {
    LDAP* ld = ldap_initW(const_cast<PWSTR>(L"127.0.0.1"), FixturePort());
    ASSERT_NE(ld, nullptr);
    ULONG version = LDAP_VERSION3;
    ldap_set_optionW(ld, LDAP_OPT_PROTOCOL_VERSION, &version);
    ASSERT_EQ(ldap_simple_bind_sW(ld, nullptr, nullptr), static_cast<ULONG>(LDAP_SUCCESS));
    LDAPMessage* result = nullptr;
    ASSERT_EQ(ldap_search_sW(ld, const_cast<PWSTR>(L"dc=quillet,dc=test"), LDAP_SCOPE_SUBTREE,
                             const_cast<PWSTR>(L"(uid=zoe.mueller)"), nullptr, 0, &result),
              static_cast<ULONG>(LDAP_SUCCESS));
    LDAPMessage* entry = ldap_first_entry(ld, result);
    ASSERT_NE(entry, nullptr);
    PWSTR* names = ldap_get_valuesW(ld, entry, const_cast<PWSTR>(L"cn"));
    ASSERT_NE(names, nullptr);
    EXPECT_STREQ(names[0], L"Zo\u00eb M\u00fcller");
    ldap_value_freeW(names);
    ldap_msgfree(result);
    ldap_unbind(ld);
}
