// The protocol version probe against the test directory, against an address where
// nobody answers, and against scripted root DSE answers no real server gives on
// demand.
#include "FakeLdapApi.h"
#include "LdapVersionProbe.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Probes through the fake and checks that everything it handed out came back.
int ProbeThrough(CFakeLdapApi& fake) {
    CInstalledLdapApi installed(fake);
    int nVersion = ProbeLdapVersion(L"dir.quillet.test", 3890);
    EXPECT_EQ(fake.OpenObjects(), 0);
    EXPECT_EQ(fake.Misuses(), std::vector<std::wstring>());
    return nVersion;
}

FakeEntry RootDse(std::vector<std::wstring> versions) {
    return FakeEntry{L"", {{L"supportedLDAPVersion", std::move(versions)}}};
}

} // namespace

TEST(LdapVersionProbeTest, TheTestDirectoryAnswers3AndNobodyOrNoSuchHost2) {
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    // The fault servers' "dead" port, which nobody listens on.
    const std::string faults = std::string(",") + (std::getenv("LDAP_FAULT_PORTS") ?: "");
    const size_t nDead = faults.find(",dead=");
    ASSERT_TRUE(pszPort && nDead != std::string::npos) << "run the tests through scripts/test";
    EXPECT_EQ(ProbeLdapVersion(L"localhost", std::atoi(pszPort)), 3);
    EXPECT_EQ(ProbeLdapVersion(L"127.0.0.1", std::atoi(faults.c_str() + nDead + 6)), 2);
    EXPECT_EQ(ProbeLdapVersion(L"no-such-host.quillet.invalid", 389), 2);
}

TEST(LdapVersionProbeTest, OnlyAnExact3InTheRootDseCountsAndAFailedInitOrSearchAnswers2) {
    // The calls it makes are those of a window search with no version stored.
    struct Case {
        std::vector<FakeEntry> entries;
        int nExpected;
    };
    const Case cases[] = {
        {{RootDse({L"3"})}, 3},
        {{RootDse({L"2", L"3"})}, 3},
        {{RootDse({L"3", L"2"})}, 3},
        {{RootDse({L"2"})}, 2},
        {{RootDse({L"3 "})}, 2},
        {{RootDse({L"3.0"})}, 2},
        {{RootDse({L"4", L"2"})}, 2},
        {{RootDse({})}, 2},
        {{FakeEntry{L"", {}}}, 2}, // no attribute
        {{}, 2},                   // no entry
        // The first attribute is taken whatever the server calls it.
        {{FakeEntry{L"", {{L"supportedldapversion", {L"3"}}}}}, 3},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CFakeLdapApi fake;
        fake.searchExtEntries = cases[i].entries;
        EXPECT_EQ(ProbeThrough(fake), cases[i].nExpected) << "case " << i;
    }
    for (ULONG nResult : {LDAP_OPERATIONS_ERROR, LDAP_NO_SUCH_OBJECT, LDAP_SIZELIMIT_EXCEEDED,
                          LDAP_INSUFFICIENT_RIGHTS, LDAP_SERVER_DOWN}) {
        CFakeLdapApi fake;
        fake.nSearchExtResult = nResult;
        fake.searchExtEntries = {RootDse({L"3"})};
        EXPECT_EQ(ProbeThrough(fake), 2) << "result " << nResult;
        EXPECT_EQ(fake.Calls().back(), L"UnbindS") << "result " << nResult;
    }
    CFakeLdapApi fake;
    fake.bInitFails = true;
    EXPECT_EQ(ProbeThrough(fake), 2);
    EXPECT_EQ(fake.Calls(), std::vector<std::wstring>{L"Init dir.quillet.test:3890"});
}

