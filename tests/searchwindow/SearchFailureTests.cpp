// How a search ends when it does not simply find people: each failure shows its
// message and records one event, a superseded search shows nothing, and many
// searches leave no handles behind.
#include "FakeLdapApi.h"
#include "HostSession.h"

#include <winsock2.h>
#include <psapi.h>

#include <thread>

using namespace host;

namespace {

// A TCP listener that accepts connections and never answers, as a hung server.
class SilentServer {
public:
    SilentServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_socket, 4);
        int length = sizeof(address);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() {
        closesocket(m_socket);
        WSACleanup();
    }
    int Port() const { return m_port; }
    // Ends the waiting connections too, so blocked clients fail.
    void Close() {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }

private:
    SOCKET m_socket;
    int m_port = 0;
};

// The first search goes to a server that accepts and never answers; its worker
// waits in the bind until the server closes.
class HungServerTest : public SearchWindowTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        AddAccount(kServer, DirectoryPort());
        m_recorder.nRedirectFirstInitTo = static_cast<ULONG>(m_hung.Port());
        SetLdapApi(&m_recorder);
        ASSERT_NE(Open(), nullptr);
    }
    SilentServer m_hung;
    RecordingLdapApi m_recorder;
};

struct ResourceCounts {
    DWORD gdi, user, handles;
    bool operator==(const ResourceCounts& o) const {
        return gdi == o.gdi && user == o.user && handles == o.handles;
    }
};

ResourceCounts Counts() {
    ResourceCounts c{};
    c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &c.handles);
    return c;
}

} // namespace

TEST_F(SearchWindowTest, AWrongPasswordIsABindFailure) {
    AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test", L"wrong");
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John Smith");
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Seen()[0].text, Text(2814));
    EXPECT_TRUE(kit::PumpUntil([&] { return !SearchFailures().empty(); }, 3000));
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error binding"});
    EXPECT_TRUE(WaitForCaption(Text(3231), 3000));
    EXPECT_EQ(kit::ListRowCount(List()), 0);
}

TEST_F(SearchWindowTest, TheRightPasswordSearches) {
    AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test",
               L"reader-secret");
    ASSERT_NE(Open(), nullptr);
    TypeSearch(L"Lee");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - Lee"));
    EXPECT_EQ(kit::ListRowCount(List()), 2);
}

TEST_F(SearchWindowTest, NoMatchSaysSoAndRestoresTheTitle) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"Nobodyhere");
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Seen()[0].text, Text(2822) + L"...");
    EXPECT_EQ(boxes.Seen()[0].caption, Text(3232) + L"...");
    EXPECT_EQ(boxes.Seen()[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(WaitForCaption(Text(3231), 3000));
    EXPECT_TRUE(SearchFailures().empty());
}

TEST_F(SearchWindowTest, ReachingTheSizeLimitEndsQuietly) {
    AddAccount(kServer, DirectoryPort(), L"", L"", 5);
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"Bulk");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - Bulk"));
    EXPECT_EQ(kit::ListRowCount(List()), 5);
    kit::PumpFor(100);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(SearchWindowTest, ARefusedSearchRequestIsReported) {
    AddAccount(kServer, DirectoryPort());
    CFakeLdapApi fake;
    fake.nSearchMessageId = static_cast<ULONG>(-1);
    CInstalledLdapApi installed(fake);
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John");
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Seen()[0].text, Text(2817));
    EXPECT_EQ(boxes.Seen()[0].caption, L"");
    EXPECT_TRUE(kit::PumpUntil([&] { return !SearchFailures().empty(); }, 3000));
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error searching"});
    EXPECT_TRUE(WaitForCaption(Text(3231), 3000));
    m_pSearch->CloseDialogs();
    EXPECT_EQ(fake.OpenObjects(), 0); // the connection was released
    EXPECT_TRUE(fake.Misuses().empty());
}

TEST_F(SearchWindowTest, AFailingResultPollIsReported) {
    AddAccount(kServer, DirectoryPort());
    CFakeLdapApi fake;
    fake.results = {FakeResult{0, LDAP_SUCCESS, {}},
                    FakeResult{static_cast<ULONG>(-1), LDAP_SUCCESS, {}}};
    CInstalledLdapApi installed(fake);
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John");
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    EXPECT_EQ(boxes.Seen()[0].text, Text(2816));
    EXPECT_EQ(boxes.Seen()[0].caption, Text(3232) + L"...");
    EXPECT_TRUE(WaitForCaption(Text(3231), 3000));
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error on ldap_result"});
    m_pSearch->CloseDialogs();
    EXPECT_EQ(fake.OpenObjects(), 0);
}

TEST_F(HungServerTest, OnlyTheLatestSearchIsSeen) {
    kit::MessageBoxWatcher boxes(IDOK);

    TypeSearch(L"Nobodyhere"); // goes to the hung server and waits in its bind
    kit::PumpFor(300);
    kit::SetEditText(SearchEdit(), L"");
    TypeSearch(L"John Smith");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
    EXPECT_EQ(kit::ListRowCount(List()), 1);

    m_hung.Close(); // the first worker's bind fails now
    kit::PumpFor(1000);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(SearchFailures().empty());
    EXPECT_EQ(kit::WindowText(m_hWnd), std::wstring(kServer) + L" - John Smith");
}

TEST_F(HungServerTest, ClosingDuringABindAndReopeningIsSafe) {
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John");
    kit::PumpFor(300);
    m_pSearch->CloseDialogs();
    ASSERT_NE(Open(), nullptr);
    m_hung.Close();
    kit::PumpFor(1000);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(kit::WindowText(m_hWnd), Text(3231));
    TypeSearch(L"John Smith");
    EXPECT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
}

TEST_F(SearchWindowTest, ManySearchesLeaveNoHandlesBehind) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    // One of each first, so that lazily made objects exist before counting.
    TypeSearch(L"John Smith");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
    m_pSearch->CloseDialogs();
    ASSERT_NE(Open(), nullptr);
    kit::PumpFor(200);
    const ResourceCounts before = Counts();

    const wchar_t* const texts[] = {L"Smith", L"Lee", L"Ann", L"John Smith"};
    for (int i = 0; i < 200; ++i) {
        const std::wstring text = texts[i % 4];
        kit::SetEditText(SearchEdit(), L"");
        TypeSearch(text);
        if (i % 5 == 1)
            continue; // superseded by the next search
        ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - " + text)) << "search " << i;
        if (i % 20 == 19) {
            m_pSearch->CloseDialogs();
            ASSERT_NE(Open(), nullptr);
        }
    }
    m_pSearch->CloseDialogs();
    ASSERT_NE(Open(), nullptr);
    kit::PumpFor(300);
    const ResourceCounts after = Counts();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_LE(after.handles, before.handles + 2); // a worker may still be ending
}
