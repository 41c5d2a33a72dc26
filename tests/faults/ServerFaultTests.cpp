// Servers that hang, answer wrongly or refuse: each search ends with its message
// (or its rows) within the account's time limit and a short grace, the host's
// thread keeps answering, the search's thread and socket go, and no stored account
// changes. The cases of a table run at once, each in a window of its own, so that
// their time limits run out together.
#include "FaultSession.h"
#include "ProcessCounts.h"

using namespace faults;
using ServerFaultTest = FaultTest;

TEST_F(ServerFaultTest, HungServersAndReferralsToThemEndAtTheDeadlineAndLetGo) {
    for (const wchar_t* pszServer : {L"bindonly", L"trickle", L"refer", L"reference", L"hang"})
        AddServer(pszServer, FaultPort(pszServer));
    AddServer(L"hang, probed", FaultPort(L"hang"), 1, 0);
    WarmUp();
    const ProcessCounts before = Counts();
    // First the window is closed during a bind fifty times: those searches end
    // unseen, at their deadlines, while the table's run out.
    for (int i = 0; i < 50; ++i) {
        ASSERT_NE(Open(), nullptr);
        TypeSearch(L"Person");
        m_pSearch->CloseDialogs();
    }
    SearchAndCheck({
        {L"hang", 2814, false, 0, 0, L"Error binding"},
        {L"hang, probed", 2814, false, 0, 0, L"Error Connecting"},
        {L"bindonly", 2816, false, 0, 0, L"Error on ldap_result"},
        {L"trickle", 2816, false, 1, 4, L"Error on ldap_result"},
        {L"refer", 2816, false, 0, 0, L"Error on ldap_result"},
        // Wine's library reads no continuation reference: it cannot be followed.
        {L"reference", 2816, false, 1, 1, L"Error on ldap_result"},
    });
    // Each search's thread and connection are gone once it has ended.
    ExpectSettledBackTo(before, 16 * 1024 * 1024);
    EXPECT_TRUE(SearchFailures().empty()); // nothing from the windows that were closed
}

TEST_F(ServerFaultTest, BrokenAnswersAndRefusalsEachSayWhatHappened) {
    for (const wchar_t* pszServer :
         {L"garbage", L"cut", L"wide", L"many", L"reject", L"referok", L"dead"})
        AddServer(pszServer, FaultPort(pszServer));
    WriteRawNumber(Accounts() + L"\\many", L"maximumHits", 50);
    AddServer(L"unresolvable", 389, 1, 3, L"no-such-host.invalid");
    AddServer(L"wrong password", DirectoryPort());
    WriteRawText(Accounts() + L"\\wrong password", L"logon",
                 L"cn=reader,ou=Service,dc=quillet,dc=test");
    WriteRawText(Accounts() + L"\\wrong password", L"password", L"wrong");
    AddServer(L"negotiate as nobody", DirectoryPort());
    WriteRawNumber(Accounts() + L"\\negotiate as nobody", L"bindSelection", 0);
    SearchAndCheck({
        {L"garbage", 2816, false, 0, 0, L"Error on ldap_result"},
        {L"cut", 2816, false, 3, 3, L"Error on ldap_result"},
        {L"wide", 0, true, 1, 1, L""},
        {L"many", 0, true, 50, 50, L""},
        {L"reject", 2847, true, 0, 0, L""},
        {L"referok", 0, true, 1, 1, L""}, // John Smith, from the test directory
        {L"dead", 2814, false, 0, 0, L"Error binding"},
        {L"unresolvable", 2814, false, 0, 0, L"Error binding"},
        {L"wrong password", 2814, false, 0, 0, L"Error binding"},
        {L"negotiate as nobody", 2814, false, 0, 0, L"Error binding"},
    });
    // An entry with 2,000 attributes gives the list at most 256 columns to keep.
    EXPECT_LE(RawSubKeyNames(Layouts() + L"\\wide").size(), 256u);
}
