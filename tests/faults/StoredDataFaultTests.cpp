// Stored settings that are corrupt, stale or huge: the window opens and searches as
// well as it can, every column stays within reach, and nothing stored is lost.
#include "FaultSession.h"
#include "RegistrySandbox.h"

#include <chrono>
#include <cstdio>

using namespace faults;
using host::kServer;

namespace {

// One stored column: name (also its title), position, width.
struct StoredColumn {
    std::wstring name;
    int position, width;
};

class StoredDataTest : public FaultTest {
protected:
    void StoreLayout(const std::wstring& server, const std::vector<StoredColumn>& columns) {
        const std::wstring list = Layouts() + L"\\" + server;
        WriteRawNumber(list, L"Style", LVS_REPORT);
        for (size_t i = 0; i < columns.size(); ++i) {
            const std::wstring key = list + L"\\Column " + std::to_wstring(i);
            WriteRawText(key, L"Name", columns[i].name);
            WriteRawText(key, L"Title", columns[i].name);
            WriteRawNumber(key, L"Column", columns[i].position);
            WriteRawNumber(key, L"Width", columns[i].width);
            WriteRawNumber(key, L"SortType", 2);
        }
    }
    // The names a stored layout holds, in their stored order.
    std::vector<std::wstring> StoredNames(const std::wstring& server) {
        std::vector<std::wstring> names;
        for (int i = 0;; ++i) {
            std::wstring name = ReadRawText(
                Layouts() + L"\\" + server + L"\\Column " + std::to_wstring(i), L"Name");
            if (name == L"<missing>")
                return names;
            names.push_back(name);
        }
    }
    // The columns the header's menu offers to show again.
    std::vector<std::wstring> OfferedColumns() {
        HWND header = kit::FindChildByClass(List(), L"SysHeader32");
        RECT rc{};
        Header_GetItemRect(header, 0, &rc);
        kit::PopupMenuCatcher menu;
        kit::ClickAt(header, POINT{(rc.left + rc.right) / 2, rc.bottom / 2}, true);
        kit::PumpUntilInputDone();
        std::vector<std::wstring> offered;
        if (menu.Items().size() > 1) {
            for (const kit::MenuItem& item : menu.Items()[1].children)
                offered.push_back(item.Label());
        }
        return offered;
    }
};

} // namespace

TEST_F(StoredDataTest, CorruptAccountsAreSearchedAsWellAsTheyCanAndKeptAsTheyAre) {
    AddServer(L"typed wrong", DirectoryPort());
    const std::wstring typed = Accounts() + L"\\typed wrong";
    WriteRawText(typed, L"port", std::to_wstring(DirectoryPort()));
    WriteRawText(typed, L"maximumHits", L"many");
    WriteRaw(typed, L"timeout", REG_BINARY, "\x01\x02\x03", 3);
    WriteRawNumber(typed, L"searchRoot", 7);
    WriteRawText(typed, L"bindSelection", L"simple");
    AddServer(L"out of range", 70000);
    WriteRawNumber(Accounts() + L"\\out of range", L"maximumHits", static_cast<DWORD>(-5));
    AddServer(L"limits out of range", DirectoryPort(), 0x7FFFFFFF, 99);
    const std::wstring limits = Accounts() + L"\\limits out of range";
    WriteRawNumber(limits, L"maximumHits", static_cast<DWORD>(-5));
    WriteRawNumber(limits, L"ldapReferral", static_cast<DWORD>(-3));
    WriteRawNumber(limits, L"bindSelection", 7);
    SearchAndCheck({
        {L"typed wrong", 2814, false, 0, 0, L"Error binding"}, // the default port, 389
        {L"out of range", 2814, false, 0, 0, L"Error binding"}, // port 70000
        {L"limits out of range", 2822, false, 0, 0, L""}, // searched: nobody is called so
    });
}

TEST_F(StoredDataTest, AnInconsistentLayoutIsReadConsistentlyAndEveryColumnStaysInReach) {
    AddAccount(kServer, DirectoryPort());
    StoreLayout(kServer, {{L"cn", 0, 100},
                          {L"mail", 0, -1},              // a second column at 0
                          {L"telephonenumber", 3, 100000}, // after a gap; far too wide
                          {L"o", 40, 90},                // beyond the last column
                          {L"l", -7, 90},                // neither shown nor hidden
                          {L"sn", 1, 90},
                          {L"cn", 2, 90}, // the same name again
                          {L"givenname", -1, 90}});
    ASSERT_NE(Open(), nullptr);
    // Shown in the stored order of their positions, without gaps; the rest offered.
    EXPECT_EQ(kit::ListHeaders(List()),
              (std::vector<std::wstring>{L"cn", L"mail", L"sn", L"telephonenumber", L"o"}));
    EXPECT_EQ(OfferedColumns(), (std::vector<std::wstring>{L"l", L"givenname"}));
    for (const kit::HeaderItem& item : kit::HeaderItems(kit::FindChildByClass(List(), L"SysHeader32"))) {
        EXPECT_GT(item.width, 0) << CString(item.text.c_str()).ToUtf8();
        EXPECT_LE(item.width, 3000) << CString(item.text.c_str()).ToUtf8();
    }
    ASSERT_TRUE(Search(L"John Smith"));
    m_pSearch->CloseDialogs();
    std::vector<std::wstring> names = StoredNames(kServer);
    for (const wchar_t* pszName : {L"cn", L"mail", L"telephonenumber", L"o", L"l", L"sn", L"givenname"})
        EXPECT_NE(std::find(names.begin(), names.end(), pszName), names.end()) << pszName;
}

TEST_F(StoredDataTest, PlacementGarbageOpensTheWindowOnTheScreen) {
    AddAccount(kServer, DirectoryPort());
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (const wchar_t* pszPlacement :
         {L"garbage", L"0,1,0,0,0,0,-32000,-32000,-31990,-31990", L"0,1,0,0,0,0,300,300,100,100",
          L"0,1,0,0,0,0,0,0,1000000,1000000", L"0,3,0,0,0,0,1,1,2,2"}) {
        SCOPED_TRACE(CString(pszPlacement).ToUtf8());
        WriteRawText(Root() + L"\\Settings", L"DirectorySearch", pszPlacement);
        ASSERT_NE(Open(), nullptr);
        RECT window, shown;
        ::GetWindowRect(m_hWnd, &window);
        EXPECT_TRUE(::IsWindowVisible(m_hWnd));
        EXPECT_TRUE(::IntersectRect(&shown, &window, &screen));
        EXPECT_GE(shown.right - shown.left, 200);
        EXPECT_GE(shown.bottom - shown.top, 150);
        m_pSearch->CloseDialogs();
    }
}

TEST_F(StoredDataTest, AStaleCurrentServerFallsBackToTheFirst) {
    AddServer(L"First", DirectoryPort(), 200);
    AddServer(kServer, DirectoryPort(), 200);
    WriteRawText(Root() + L"\\Config\\LDAPServers", L"Current", L"Gone");
    const RawTree accounts = ReadRawTree(Accounts());
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John Smith");
    EXPECT_TRUE(WaitForCaption(L"First - John Smith"));
    EXPECT_EQ(kit::ListRowCount(List()), 1);
    EXPECT_EQ(boxes.Count(), 0u);
    m_pSearch->CloseDialogs();
    EXPECT_EQ(ReadRawTree(Accounts()), accounts);
}

TEST_F(StoredDataTest, FiveHundredStoredColumnsAreAllKept) {
    AddAccount(kServer, DirectoryPort());
    std::vector<StoredColumn> columns;
    for (const wchar_t* pszName : {L"cn", L"telephonenumber", L"mail", L"o", L"l"})
        columns.push_back({pszName, static_cast<int>(columns.size()), 90});
    while (columns.size() < 500)
        columns.push_back({L"extra" + std::to_wstring(columns.size()), -1, 90});
    StoreLayout(kServer, columns);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(Search(L"John Smith"));
    m_pSearch->CloseDialogs();
    // For the record only: how long opening, one search and closing took.
    std::printf("500 stored columns: open, search and close in %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - start)
                                           .count()));
    std::vector<std::wstring> names = StoredNames(kServer);
    ASSERT_GE(names.size(), 500u);
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(names[i], columns[i].name);
}
