// How a search runs and ends when it does not simply find people: what the worker
// asks of the LDAP library, each failure's message and event, a result that is
// neither success nor a size limit, superseded and orphaned searches, and many
// searches leaving nothing behind.
#include "FakeLdapApi.h"
#include "HostSession.h"
#include "ProcessCounts.h"

#include <algorithm>
#include <functional>
#include <optional>

using namespace host;

namespace {

FakeEntry Person(const std::wstring& cn) {
    return FakeEntry{L"cn=" + cn + L",ou=People,dc=quillet,dc=test", {{L"cn", {cn}}}};
}

// The answers to one search: each entry in a message of its own, then the result.
void Answer(CFakeLdapApi& fake, const std::vector<std::wstring>& names,
            ULONG nResultCode = LDAP_SUCCESS) {
    for (const auto& name : names)
        fake.results.push_back(FakeResult{LDAP_RES_SEARCH_ENTRY, LDAP_SUCCESS, {Person(name)}});
    fake.results.push_back(FakeResult{LDAP_RES_SEARCH_RESULT, nResultCode, {}});
}

} // namespace

TEST_F(SearchWindowTest, TheVersionProbeDecidesTheProtocolOptionsAndTheAccountTheOthers) {
    struct Case {
        const char* pszWhat;
        std::wstring version; // what the server's root DSE lists
        int bindSelection;
        std::vector<std::wstring> protocolOptions;
        std::wstring bind;
    };
    const std::wstring port = std::to_wstring(DirectoryPort());
    const Case cases[] = {
        {"a version 3 server, simple bind",
         L"3",
         1,
         {L"SetOption 17=3", L"SetOption 8=0"},
         L"Bind cn=reader,ou=Service,dc=quillet,dc=test secret 128"},
        {"a version 2 server, negotiate bind",
         L"2",
         0,
         {L"SetOption 8=0"},
         L"BindS (null) user=cn=reader,ou=Service,dc=quillet,dc=test/39 domain=(null) "
         L"password=secret/6 flags=2 1158"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CFakeLdapApi fake;
        CInstalledLdapApi installed(fake);
        // Saved as the module saves accounts: no "ldapVersion", so the server is asked.
        AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test", L"secret",
                   150, 0);
        AccountKey().SetDword(L"timeout", 30);
        AccountKey().SetDword(L"bindSelection", c.bindSelection);
        fake.searchExtEntries = {FakeEntry{L"", {{L"supportedLDAPVersion", {c.version}}}}};
        Answer(fake, {L"John Smith"});
        ASSERT_NE(Open(), nullptr);
        ASSERT_TRUE(Search(L"John Smith"));

        std::vector<std::wstring> expected = {
            L"Init 127.0.0.1:" + port, L"SetOption 8=0",
            L"SearchExtS base= scope=0 filter=(objectClass=*) attributes=supportedLDAPVersion "
            L"attributesOnly=0 timeout=set sizeLimit=0",
            L"UnbindS", L"Init 127.0.0.1:" + port};
        expected.insert(expected.end(), c.protocolOptions.begin(), c.protocolOptions.end());
        expected.insert(expected.end(),
                        {L"Connect", c.bind, L"SetOption 3=150", L"SetOption 4=30",
                         L"Search base=dc=quillet,dc=test scope=2 "
                         L"filter=(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*)) "
                         L"attributes=(all) attributesOnly=0",
                         L"Unbind"});
        EXPECT_EQ(fake.Calls(), expected);
        m_pSearch->CloseDialogs();
        EXPECT_EQ(fake.OpenObjects(), 0);
        EXPECT_TRUE(fake.Misuses().empty());
    }
}

TEST_F(SearchWindowTest, EachFailureShowsItsMessageLogsItsEventAndReleasesTheConnection) {
    struct Case {
        const char* pszWhat;
        std::function<void(CFakeLdapApi&)> script;
        std::wstring text;
        std::optional<std::wstring> caption; // none: a worker's box, with the application's name
        std::wstring event;
    };
    const Case cases[] = {
        {"init", [](CFakeLdapApi& f) { f.bInitFails = true; }, Text(2815), std::nullopt,
         L"Error connecting"},
        {"connect", [](CFakeLdapApi& f) { f.nConnectResult = LDAP_SERVER_DOWN; }, Text(2814),
         std::nullopt, L"Error Connecting"},
        {"search request", [](CFakeLdapApi& f) { f.nSearchMessageId = static_cast<ULONG>(-1); },
         Text(2817), L"", L"Error searching"},
        {"result poll",
         [](CFakeLdapApi& f) {
             f.results = {FakeResult{0, LDAP_SUCCESS, {}},
                          FakeResult{static_cast<ULONG>(-1), LDAP_SUCCESS, {}}};
         },
         Text(2816), Text(3232) + L"...", L"Error on ldap_result"},
    };
    AddAccount(kServer, DirectoryPort(), L"", L"", 200, 3); // no probe: the worker alone
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CFakeLdapApi fake;
        c.script(fake);
        CInstalledLdapApi installed(fake);
        const size_t nFailures = SearchFailures().size();
        ASSERT_NE(Open(), nullptr);
        kit::MessageBoxWatcher boxes(IDOK);
        TypeSearch(L"John");
        ASSERT_TRUE(boxes.WaitForCount(1, 10000));
        EXPECT_EQ(boxes.Seen()[0].text, c.text);
        if (c.caption) {
            EXPECT_EQ(boxes.Seen()[0].caption, *c.caption);
        }
        EXPECT_TRUE(kit::PumpUntil([&] { return SearchFailures().size() > nFailures; }));
        EXPECT_EQ(SearchFailures().back(), c.event);
        EXPECT_TRUE(WaitForCaption(Text(3231)));
        m_pSearch->CloseDialogs();
        EXPECT_TRUE(kit::PumpUntil([&] { return fake.OpenObjects() == 0; }));
        EXPECT_TRUE(fake.Misuses().empty());
        EXPECT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(SearchFailures().size(), nFailures + 1);
    }
}

TEST_F(SearchWindowTest, AnotherResultCodeIsShownThenTheRowsAreSortedAndTheConnectionClosed) {
    CFakeLdapApi fake;
    CInstalledLdapApi installed(fake);
    AddAccount(kServer, DirectoryPort(), L"", L"", 200, 3); // no probe: the hand-off alone
    Answer(fake, {L"Ann Smith", L"Zed Smith"}, LDAP_UNWILLING_TO_PERFORM);
    ASSERT_NE(Open(), nullptr);
    std::vector<std::wstring> rowsAtTheBox;
    int openAtTheBox = 0;
    kit::MessageBoxWatcher boxes([&](const kit::MessageBoxInfo&) {
        rowsAtTheBox = kit::ListColumn(List(), 0);
        openAtTheBox = fake.OpenObjects();
        return IDOK;
    });
    ASSERT_TRUE(Search(L"Smith"));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, Text(2847) + L"\n\nfake error 53");
    EXPECT_EQ(boxes.Seen()[0].caption, Text(3232) + L"...");
    // Each new row comes first; the sort comes after the box, then the unbind.
    EXPECT_EQ(rowsAtTheBox, (std::vector<std::wstring>{L"Zed Smith", L"Ann Smith"}));
    EXPECT_GT(openAtTheBox, 0);
    EXPECT_EQ(kit::ListColumn(List(), 0), (std::vector<std::wstring>{L"Ann Smith", L"Zed Smith"}));
    EXPECT_EQ(fake.Calls().back(), L"Unbind");
    EXPECT_EQ(fake.OpenObjects(), 0);
    EXPECT_TRUE(SearchFailures().empty());
}

// While a first search hangs in its bind, a second search, or the window closed and
// opened again, goes on as if it never was: its late failure shows nothing.
TEST_F(SearchWindowTest, ASearchHangingInItsBindIsForgottenOnceSupersededOrClosed) {
    AddAccount(kServer, DirectoryPort(), L"", L"", 200, 3); // no probe: the hand-off alone
    for (bool bClose : {false, true}) {
        SCOPED_TRACE(bClose ? "closed and opened again" : "superseded");
        CFakeLdapApi fake;
        CInstalledLdapApi installed(fake);
        fake.bHoldFirstBind = true;
        Answer(fake, {L"John Smith"});
        ASSERT_NE(Open(), nullptr);
        kit::MessageBoxWatcher boxes(IDOK);
        TypeSearch(L"Nobodyhere");
        ASSERT_TRUE(kit::PumpUntil([&] { return fake.BindHeld(); }));
        EXPECT_EQ(kit::WindowText(m_hWnd),
                  std::wstring(kServer) + L" - " + Text(3195) + L" Nobodyhere");
        if (bClose) {
            m_pSearch->CloseDialogs();
            ASSERT_NE(Open(), nullptr);
        } else {
            ASSERT_TRUE(Search(L"John Smith"));
            EXPECT_EQ(kit::ListRowCount(List()), 1);
        }
        fake.ReleaseBind(); // the first worker's bind fails now, and it closes its connection
        EXPECT_TRUE(kit::PumpUntil([&] {
            const auto calls = fake.Calls();
            return std::count(calls.begin(), calls.end(), L"UnbindS") == 1;
        }));
        kit::PumpPending();
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_TRUE(SearchFailures().empty());
        EXPECT_EQ(kit::WindowText(m_hWnd),
                  bClose ? Text(3231) : std::wstring(kServer) + L" - John Smith");
        if (bClose) {
            EXPECT_TRUE(Search(L"John Smith"));
        }
        m_pSearch->CloseDialogs();
    }
}

TEST_F(SearchWindowTest, SearchesAndReopeningLeaveNothingBehind) {
    AddAccount(kServer, DirectoryPort());
    // One of each first, so that what is made once exists before counting.
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(Search(L"John Smith"));
    m_pSearch->CloseDialogs();
    ASSERT_NE(Open(), nullptr);
    const ProcessCounts before = Counts();

    // Twelve searches, one in four superseded by the next at once, the window
    // reopened after every fourth: a thread, descriptor or window left behind by
    // each search or opening adds up to more than the tolerances below.
    const wchar_t* const texts[] = {L"Smith", L"Lee", L"Ann", L"John Smith"};
    for (int i = 0; i < 12; ++i) {
        kit::SetEditText(SearchEdit(), L"");
        if (i % 4 == 1) {
            TypeSearch(texts[i % 4]);
            continue;
        }
        ASSERT_TRUE(Search(texts[i % 4])) << "search " << i;
        if (i % 4 == 3) {
            m_pSearch->CloseDialogs();
            ASSERT_NE(Open(), nullptr);
        }
    }
    // Superseded workers end on their own once their connection is closed.
    ExpectSettledBackTo(before, 4 * 1024 * 1024);
}
