// The protocol version probe against the test directory, against addresses where
// nobody answers, and against scripted root DSE answers no real server gives on
// demand.
#include "ProbeSupport.h"

#include "FakeLdapApi.h"
#include "LdapVersionProbe.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kRootDseNotFound[] = L"ldapCheckVersion: root DSE not found\n";
const wchar_t kSearchFailed[] = L"ldapCheckVersion: ldap_search_ext_s failed\n";
const wchar_t kInitFailed[] = L"ldapCheckVersion: ldap_init failed\n";

FakeEntry RootDse(std::vector<std::wstring> versions) {
    return FakeEntry{L"", {{L"supportedLDAPVersion", std::move(versions)}}};
}

// Probes through fake and checks that everything it handed out came back.
int ProbeThrough(CFakeLdapApi& fake) {
    CInstalledLdapApi installed(fake);
    CapturedDebugLines().clear();
    int nVersion = ProbeLdapVersion(L"dir.quillet.test", 3890, &CaptureDebugLine);
    EXPECT_EQ(fake.OpenObjects(), 0);
    EXPECT_EQ(fake.Misuses(), std::vector<std::wstring>());
    return nVersion;
}

} // namespace

TEST(LdapVersionProbeTest, TestDirectoryAnswersVersion3) {
    int nPort = TestDirectoryPort();
    ASSERT_NE(nPort, 0) << "LDAP_TEST_PORT is not set: run the tests through scripts/test";
    CapturedDebugLines().clear();
    EXPECT_EQ(ProbeLdapVersion(L"localhost", nPort, &CaptureDebugLine), 3);
    EXPECT_TRUE(CapturedDebugLines().empty());
}

TEST(LdapVersionProbeTest, NobodyListeningAnswers2) {
    CapturedDebugLines().clear();
    EXPECT_EQ(ProbeLdapVersion(L"127.0.0.1", ClosedPort(), &CaptureDebugLine), 2);
    EXPECT_EQ(CapturedDebugLines(), std::vector<std::wstring>{kSearchFailed});
}

TEST(LdapVersionProbeTest, UnknownHostAnswers2) {
    EXPECT_EQ(ProbeLdapVersion(L"no-such-host.quillet.invalid", 389), 2);
}

TEST(LdapVersionProbeTest, AsksTheRootDseForItsVersionsOnly) {
    CFakeLdapApi fake;
    fake.searchExtEntries = {RootDse({L"3"})};
    EXPECT_EQ(ProbeThrough(fake), 3);
    EXPECT_EQ(
        fake.Calls(),
        (std::vector<std::wstring>{
            L"Init dir.quillet.test:3890", L"SetOption 8=0",
            L"SearchExtS base= scope=0 filter=(objectClass=*) attributes=supportedLDAPVersion "
            L"attributesOnly=0 timeout=none sizeLimit=0",
            L"UnbindS"}));
}

TEST(LdapVersionProbeTest, OnlyAnExact3CountsAsVersion3) {
    struct Case {
        std::vector<std::wstring> versions;
        int nExpected;
    };
    const Case cases[] = {
        {{L"3"}, 3},   {{L"2", L"3"}, 3}, {{L"3", L"2"}, 3}, {{L"2"}, 2}, {{L"3 "}, 2},
        {{L"3.0"}, 2}, {{L" 3"}, 2},      {{L"4", L"2"}, 2}, {{L""}, 2},  {{}, 2},
    };
    for (const auto& c : cases) {
        CFakeLdapApi fake;
        fake.searchExtEntries = {RootDse(c.versions)};
        std::wstring shown;
        for (const auto& v : c.versions)
            shown += L"[" + v + L"]";
        EXPECT_EQ(ProbeThrough(fake), c.nExpected) << CString(shown).ToUtf8();
        EXPECT_TRUE(CapturedDebugLines().empty());
    }
}

TEST(LdapVersionProbeTest, RootDseWithoutTheAttributeOrEntryAnswers2) {
    CFakeLdapApi noAttribute;
    noAttribute.searchExtEntries = {FakeEntry{L"", {}}};
    EXPECT_EQ(ProbeThrough(noAttribute), 2);
    CFakeLdapApi noEntry;
    EXPECT_EQ(ProbeThrough(noEntry), 2);
    // The first attribute is taken whatever the server calls it.
    CFakeLdapApi otherSpelling;
    otherSpelling.searchExtEntries = {FakeEntry{L"", {{L"supportedldapversion", {L"3"}}}}};
    EXPECT_EQ(ProbeThrough(otherSpelling), 3);
}

TEST(LdapVersionProbeTest, FailedRootDseSearchAnswers2WithItsReason) {
    struct Case {
        ULONG nResult;
        const wchar_t* pszLine;
    };
    const Case cases[] = {
        {LDAP_OPERATIONS_ERROR, kRootDseNotFound}, {LDAP_PROTOCOL_ERROR, kRootDseNotFound},
        {LDAP_PARTIAL_RESULTS, kRootDseNotFound},  {LDAP_NO_SUCH_OBJECT, kRootDseNotFound},
        {LDAP_SIZELIMIT_EXCEEDED, kSearchFailed},  {LDAP_INSUFFICIENT_RIGHTS, kSearchFailed},
        {LDAP_SERVER_DOWN, kSearchFailed},         {LDAP_TIMEOUT, kSearchFailed},
    };
    for (const auto& c : cases) {
        CFakeLdapApi fake;
        fake.nSearchExtResult = c.nResult;
        fake.searchExtEntries = {RootDse({L"3"})};
        EXPECT_EQ(ProbeThrough(fake), 2) << "result " << c.nResult;
        EXPECT_EQ(CapturedDebugLines(), std::vector<std::wstring>{c.pszLine})
            << "result " << c.nResult;
        EXPECT_EQ(fake.Calls().back(), L"UnbindS") << "result " << c.nResult;
    }
}

TEST(LdapVersionProbeTest, FailedInitAnswers2AtOnce) {
    CFakeLdapApi fake;
    fake.bInitFails = true;
    EXPECT_EQ(ProbeThrough(fake), 2);
    EXPECT_EQ(CapturedDebugLines(), std::vector<std::wstring>{kInitFailed});
    EXPECT_EQ(fake.Calls(), std::vector<std::wstring>{L"Init dir.quillet.test:3890"});
}
