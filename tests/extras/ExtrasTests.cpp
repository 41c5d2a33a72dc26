// Encrypted connections, the status pane that says what a search did, every number of
// an entry, the account sheet's connection test, and the contact card beside the text.
#include <winsock2.h>

#include "FakeLdapApi.h"
#include "HostSession.h"
#include "resource.h"

#include <cstring>
#include <thread>

using namespace host;

namespace {

using Texts = std::vector<std::wstring>;

int TlsPort() {
    const char* pszPort = std::getenv("LDAP_TEST_TLS_PORT");
    return pszPort ? std::atoi(pszPort) : 0;
}

template <class... Args> std::wstring Format(const std::wstring& format, Args... args) {
    CString text;
    text.Format(format.c_str(), args...);
    return text.str();
}

// A server on 127.0.0.1 that speaks LDAP in clear text only: it answers StartTLS
// with "unavailable" and leaves anything that is not LDAP (a TLS handshake)
// unanswered, with the connection open for as long as the program runs (Wine's
// library, hung up on during a handshake, keeps its thread busy for ever). It keeps
// every byte it receives.
class ClearTextServer {
public:
    ClearTextServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_listener, 4);
        int length = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_nPort = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~ClearTextServer() {
        closesocket(m_listener);
        m_thread.join();
        for (SOCKET client : m_clients)
            closesocket(client);
    }
    int Port() const { return m_nPort; }
    std::string Received() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_received;
    }

private:
    void Serve() {
        for (SOCKET client; (client = accept(m_listener, nullptr, nullptr)) != INVALID_SOCKET;) {
            char buffer[4096];
            int n = 0;
            while ((n = recv(client, buffer, sizeof(buffer), 0)) > 4 && buffer[0] == 0x30) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_received.append(buffer, n);
                // An extended response, result 52 (unavailable), to the request's id.
                const char reply[] = {0x30, 0x0c, 0x02, 0x01, buffer[4], 0x78, 0x07,
                                      0x0a, 0x01, 0x34, 0x04, 0x00,      0x04, 0x00};
                send(client, reply, sizeof(reply), 0);
            }
            std::lock_guard<std::mutex> lock(m_mutex);
            if (n > 0) { // not LDAP: unanswered, and open until the program ends
                m_received.append(buffer, n);
                continue;
            }
            m_clients.push_back(client);
            shutdown(client, SD_BOTH);
        }
    }

    SOCKET m_listener;
    int m_nPort = 0;
    std::vector<SOCKET> m_clients;
    std::mutex m_mutex;
    std::string m_received;
    std::thread m_thread;
};

class ExtrasTest : public SearchWindowTest {
protected:
    void SetEncryption(DWORD value) { AccountKey().SetDword(L"Encryption", value); }
};

} // namespace

TEST_F(ExtrasTest, EncryptedSearchesFindWhatClearTextFinds) {
    // Without an "Encryption" value (which the window does not add when it saves),
    // the search goes in clear text: SSL/TLS to this port would wait forever.
    std::vector<Texts> found;
    for (auto [nPort, nEncryption] :
         {std::pair{DirectoryPort(), -1}, {TlsPort(), 1}, {DirectoryPort(), 2}}) {
        AddAccount(kServer, nPort);
        if (nEncryption >= 0)
            SetEncryption(nEncryption);
        ASSERT_NE(Open(), nullptr);
        ASSERT_TRUE(Search(L"Smith")) << "encryption " << nEncryption;
        found.push_back(kit::ListColumn(List(), 0));
        m_pSearch->CloseDialogs();
        DWORD value = 0;
        EXPECT_EQ(AccountKey().QueryDword(L"Encryption", value) != FALSE, nEncryption >= 0);
    }
    EXPECT_EQ(found[0].size(), 4u);
    EXPECT_EQ(found, std::vector<Texts>(3, found[0]));
}

TEST_F(ExtrasTest, TheStatusPaneSaysWhatEachSearchDid) {
    AddAccount(kServer, DirectoryPort(), L"", L"", 5); // at most 5 entries
    ASSERT_NE(Open(), nullptr);
    const std::wstring prompt = kit::StatusText(kit::FindChild(m_hWnd, 59393));
    kit::MessageBoxWatcher boxes(IDOK);
    ASSERT_TRUE(Search(L"Bulk")); // 250 people
    EXPECT_EQ(kit::ListRowCount(List()), 5);
    EXPECT_EQ(StatusPane(), Format(Text(3903), 5));
    ASSERT_TRUE(Search(L"Smith"));
    EXPECT_EQ(StatusPane().substr(0, 9), Format(Text(3902), 4, 0, 0).substr(0, 9)); // "4 found ("
    EXPECT_EQ(kit::StatusText(kit::FindChild(m_hWnd, 59393)), prompt);
    kit::PumpPending();
    EXPECT_EQ(boxes.Count(), 0u) << "the limit reached ends the search quietly";

    // No match: a box says so too, and the window's title comes back.
    kit::SetEditText(SearchEdit(), L"");
    TypeSearch(L"Zzyzx");
    ASSERT_TRUE(boxes.WaitForCount(1));
    const kit::MessageBoxInfo none = boxes.Seen()[0];
    EXPECT_EQ(none.text + L"|" + none.caption, Text(2822) + L"...|" + Text(3232) + L"...");
    EXPECT_EQ(none.icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(WaitForCaption(Text(3231)));
    EXPECT_TRUE(kit::PumpUntil([&] { return StatusPane() == Text(3904); }));

    // A refused logon (its box, event and empty list are with the fault tables).
    m_pSearch->CloseDialogs();
    AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test", L"wrong");
    ASSERT_NE(Open(), nullptr);
    TypeSearch(L"Smith");
    EXPECT_TRUE(kit::PumpUntil([&] { return StatusPane() == Text(3907); }, 15000));
    // Nobody listening; then each failure of a scripted library in its own words.
    m_pSearch->CloseDialogs();
    AddAccount(kServer, FaultPort(L"dead"));
    ASSERT_NE(Open(), nullptr);
    TypeSearch(L"Smith");
    EXPECT_TRUE(kit::PumpUntil([&] { return StatusPane() == Text(3906); }, 15000));

    CFakeLdapApi fake;
    CInstalledLdapApi installed(fake);
    const FakeEntry entry{L"cn=A,dc=test", {{L"cn", {L"A"}}}};
    struct Case {
        bool bInitFails;
        ULONG nMessageId; // (ULONG)-1: the request is refused
        std::deque<FakeResult> results;
        std::wstring expected;
    } const cases[] = {
        {true, 1, {}, Text(3905)},
        {false, static_cast<ULONG>(-1), {}, Text(3909)},
        {false, 1, {{static_cast<ULONG>(-1), LDAP_SUCCESS, {}}}, Text(3910)},
        {false, 1, {{LDAP_RES_SEARCH_RESULT, 32, {}}}, Format(Text(3911), L"fake error 32")},
        {false, 1, {{LDAP_RES_SEARCH_ENTRY, LDAP_SUCCESS, {entry}}}, Format(Text(3901), 1)},
    };
    for (const Case& c : cases) {
        fake.bInitFails = c.bInitFails;
        fake.nSearchMessageId = c.nMessageId;
        fake.results = c.results;
        TypeSearch(L"Smith");
        EXPECT_TRUE(kit::PumpUntil([&] { return StatusPane() == c.expected; }, 15000))
            << "still \"" << CString(StatusPane().c_str()).ToUtf8() << "\"";
    }
}

TEST_F(ExtrasTest, EveryNumberIsOfferedListedAndCopiedAsAContact) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(Search(L"Ann Lee"));
    ASSERT_EQ(kit::ListCell(List(), 0, 0), L"Ann Lee"); // before "Lee, Ann"
    ASSERT_TRUE(kit::ClickListRow(List(), 0));          // three telephone numbers
    {
        kit::PopupMenuCatcher menu(3);
        kit::PressKey(List(), VK_RETURN);
        ASSERT_TRUE(kit::PumpUntil([&] { return m_host.m_records.size() == 1; }));
        const std::wstring label = L"Lee, Ann (" + Text(3121);
        Texts items;
        for (const kit::MenuItem& item : menu.Items())
            items.push_back(item.Label());
        EXPECT_EQ(items, (Texts{label + L")", label + L" 2)", label + L" 3)"}));
        EXPECT_EQ(m_host.m_records[0].number, L"+1 617 555 0110");
    }
    Texts numbers;
    std::wstring text;
    std::string card;
    ASSERT_TRUE(RunModal(32777, {[&](HWND dialog) {
                                     HWND list = ::GetDlgItem(dialog, 1060);
                                     for (int row = 0; row < kit::ListRowCount(list); ++row) {
                                         if (kit::ListCell(list, row, 0) == L"telephonenumber")
                                             numbers.push_back(kit::ListCell(list, row, 1));
                                     }
                                     kit::ClearClipboard();
                                     kit::PressKey(list, 'C', true);
                                     return true;
                                 },
                                 [&](HWND dialog) {
                                     card = kit::ClipboardData(
                                         ::RegisterClipboardFormatW(L"text/vcard"));
                                     if (card.empty())
                                         return false;
                                     text = kit::ClipboardText();
                                     ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                     return true;
                                 }}));
    EXPECT_EQ(numbers, (Texts{L"+1 617 555 0108", L"+1 617 555 0109", L"+1 617 555 0110"}));
    for (const std::wstring& number : numbers)
        EXPECT_NE(text.find(L"telephonenumber\t" + number + L"\r\n"), std::wstring::npos);
    card.resize(std::strlen(card.c_str()));
    EXPECT_EQ(card,
              "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\n"
              "TEL;TYPE=\"work,voice\":+1 617 555 0108\r\n"
              "TEL;TYPE=\"work,voice\":+1 617 555 0109\r\n"
              "TEL;TYPE=\"work,voice\":+1 617 555 0110\r\nTEL;TYPE=\"cell\":+1 617 555 0111\r\n"
              "EMAIL;TYPE=work:ann.lee2@quillet.test\r\nORG:Quillet Instruments;Research\r\n"
              "TITLE:Research Scientist\r\nADR;TYPE=work:;;1 Kendall Square;Boston;;;\r\n"
              "END:VCARD\r\n");
}

TEST_F(ExtrasTest, TheSheetTestsTheConnectionAsTypedAndStoresTheEncryption) {
    AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test",
               L"reader-secret");
    ASSERT_NE(Open(), nullptr);
    kit::PopupMenuCatcher serverMenu(ID_SERVER_PROPERTIES);
    const std::wstring connected = Format(Text(3922), 3, 287, L"dc=quillet,dc=test");
    const auto drive = [&](HWND sheet) {
        auto page = [&] {
            return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        };
        HWND general = page();
        auto type = [&](int nID, const std::wstring& text) {
            kit::SetEditText(::GetDlgItem(page(), nID), text);
        };
        HWND button = ::GetDlgItem(general, IDC_TEST_CONNECTION);
        HWND result = ::GetDlgItem(general, IDC_TEST_RESULT);
        auto test = [&](bool bSlow = false) {
            EXPECT_TRUE(kit::Click(button));
            kit::PumpUntilInputDone();
            if (bSlow) { // the sheet is back at once while the server keeps silent
                EXPECT_EQ(kit::WindowText(result), Text(3921));
            }
            kit::PumpUntil([&] { return ::IsWindowEnabled(button); }, 15000);
            return kit::WindowText(result);
        };
        auto advanced = [&](const std::wstring& port, const std::wstring& timeout,
                            int nEncryption) {
            ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
            type(IDC_PORT, port);
            type(IDC_TIMEOUT, timeout);
            kit::SelectComboItem(::GetDlgItem(page(), IDC_ENCRYPTION), nEncryption);
            const std::wstring shown = kit::WindowText(::GetDlgItem(page(), IDC_PORT));
            ::SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
            return shown;
        };
        type(IDC_SEARCH_ROOT, L"");
        EXPECT_EQ(test(), Format(Text(3928), Text(3929).c_str(),
                                 PlatformLdapApi().Err2String(LDAP_NO_SUCH_OBJECT)));
        kit::PopupMenuCatcher roots(L"dc=quillet,dc=test");
        EXPECT_TRUE(kit::Click(::GetDlgItem(general, IDC_SEARCH_ROOT_CHOICES)));
        kit::PumpUntil([&] { return roots.Chosen(); });
        EXPECT_EQ(kit::WindowText(::GetDlgItem(general, IDC_SEARCH_ROOT)), L"dc=quillet,dc=test");
        EXPECT_EQ(test(), connected);
        type(IDC_PASSWORD, L"wrong");
        EXPECT_EQ(test(), Text(3925));
        type(IDC_PASSWORD, L"reader-secret");
        advanced(std::to_wstring(FaultPort(L"dead")), L"30", 0);
        EXPECT_EQ(test(), Format(Text(3924), PlatformLdapApi().Err2String(LDAP_SERVER_DOWN)));
        advanced(std::to_wstring(FaultPort(L"hang")), L"1", 0);
        EXPECT_EQ(test(true), Format(Text(3927), 1));
        // SSL/TLS chosen with the clear-text port proposes the SSL/TLS port.
        EXPECT_EQ(advanced(L"389", L"30", 1), L"636");
        advanced(std::to_wstring(TlsPort()), L"30", 1);
        EXPECT_EQ(test(), connected);
        kit::Click(::GetDlgItem(sheet, IDOK));
        kit::PumpUntilInputDone();
    };
    ASSERT_TRUE(
        RunModal(ID_SERVER_BUTTON, {[&](HWND sheet) { return drive(sheet), true; }}, 60000));
    DWORD nEncryption = 0, nPort = 0;
    EXPECT_TRUE(AccountKey().QueryDword(L"Encryption", nEncryption) &&
                AccountKey().QueryDword(L"port", nPort));
    EXPECT_EQ(nEncryption, 1u);
    EXPECT_EQ(nPort, static_cast<DWORD>(TlsPort()));
}

TEST_F(ExtrasTest, AnEncryptedConnectionThatFailsSendsNothingInClearText) {
    ClearTextServer server;
    kit::MessageBoxWatcher boxes(IDOK);
    // StartTLS is refused; the TLS handshake meets no answer (Wine's library then waits
    // for ever) until the search's time-out of a second.
    for (DWORD nEncryption : {2, 1}) {
        AddAccount(kServer, server.Port(), L"cn=reader,ou=Service,dc=quillet,dc=test",
                   L"reader-secret");
        SetEncryption(nEncryption);
        AccountKey().SetDword(L"timeout", 1);
        ASSERT_NE(Open(), nullptr);
        TypeSearch(L"Smith");
        ASSERT_TRUE(boxes.WaitForCount(3 - nEncryption, 15000));
        EXPECT_EQ(boxes.Seen().back().text, Text(3912));
        EXPECT_TRUE(kit::PumpUntil([&] { return StatusPane() == Text(3908); }))
            << StatusPane().c_str();
        m_pSearch->CloseDialogs();
    }
    EXPECT_EQ(SearchFailures(), Texts(2, L"Error securing the connection"));
    const std::string received = server.Received();
    EXPECT_NE(received.find("1.3.6.1.4.1.1466.20037"), std::string::npos); // StartTLS asked
    EXPECT_NE(received.find("\x16\x03"), std::string::npos);               // a TLS handshake began
    EXPECT_EQ(received.find("reader-secret"), std::string::npos);          // no bind went out
}
