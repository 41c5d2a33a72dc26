// Stored settings that are corrupt, stale or huge: the window opens and searches as
// well as it can, every column stays within reach, and nothing stored is lost.
#include "FaultSession.h"

#include <cstdio>

using namespace faults;
using host::kServer;
using StoredDataTest = FaultTest;

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
        {L"out of range", 2814, false, 0, 0, L"Error binding"},
        {L"limits out of range", 0, true, 1, 1, L""},
    });
}

TEST_F(StoredDataTest, ALongInconsistentLayoutIsReadConsistentlyAndKeptWhole) {
    AddAccount(kServer, DirectoryPort());
    struct Column {
        std::wstring name; // also its title
        int position, width;
    };
    std::vector<Column> columns = {{L"cn", 0, 100},
                                   {L"mail", 0, -1},                // a second column at 0
                                   {L"telephonenumber", 3, 100000}, // after a gap; too wide
                                   {L"o", 40, 90},                  // beyond the last column
                                   {L"l", -7, 90},                  // neither shown nor hidden
                                   {L"sn", 1, 90},
                                   {L"cn", 2, 90}, // the same name again
                                   {L"givenname", -1, 90}};
    while (columns.size() < 500)
        columns.push_back({L"extra" + std::to_wstring(columns.size()), -1, 90});
    const std::wstring list = Layouts() + L"\\" + kServer;
    WriteRawNumber(list, L"Style", LVS_REPORT);
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::wstring key = list + L"\\Column " + std::to_wstring(i);
        WriteRawText(key, L"Name", columns[i].name);
        WriteRawText(key, L"Title", columns[i].name);
        WriteRawNumber(key, L"Column", columns[i].position);
        WriteRawNumber(key, L"Width", columns[i].width);
    }
    const ULONGLONG start = ::GetTickCount64();
    ASSERT_NE(Open(), nullptr);
    // Shown in the order of their positions, without gaps; the others offered by the
    // header's menu.
    EXPECT_EQ(kit::ListHeaders(List()),
              (std::vector<std::wstring>{L"cn", L"mail", L"sn", L"telephonenumber", L"o"}));
    for (const kit::HeaderItem& item : kit::HeaderItems(ListView_GetHeader(List())))
        EXPECT_TRUE(item.width > 0 && item.width <= 3000) << CString(item.text.c_str()).ToUtf8();
    kit::PopupMenuCatcher menu;
    ClickHeader(0, true);
    kit::PumpUntilInputDone();
    EXPECT_EQ(menu.Items().at(1).children.at(0).Label(), L"l");
    EXPECT_EQ(menu.Items().at(1).children.at(1).Label(), L"givenname");
    ASSERT_TRUE(Search(L"John Smith"));
    m_pSearch->CloseDialogs();
    // For the record only: opening, one search and closing with 500 stored columns.
    std::printf("500 stored columns: open, search, close in %llu ms\n", ::GetTickCount64() - start);
    // Every column is kept, the repeated name once.
    columns.erase(columns.begin() + 6);
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(ReadRawText(list + L"\\Column " + std::to_wstring(i), L"Name"), columns[i].name);
}

TEST_F(StoredDataTest, PlacementGarbageOpensTheWindowOnTheScreen) {
    AddAccount(kServer, DirectoryPort());
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (const wchar_t* pszPlacement :
         {L"garbage", L"0,1,0,0,0,0,-32000,-32000,-31990,-31990", L"0,1,0,0,0,0,300,300,100,100",
          L"0,1,0,0,0,0,0,0,1000000,1000000", L"0,3,0,0,0,0,1,1,2,2", L"0,1,2,3,4,5,6"}) {
        SCOPED_TRACE(CString(pszPlacement).ToUtf8());
        WriteRawText(Root() + L"\\Settings", L"DirectorySearch", pszPlacement);
        ASSERT_NE(Open(), nullptr);
        RECT window, shown;
        ::GetWindowRect(m_hWnd, &window);
        EXPECT_TRUE(::IsWindowVisible(m_hWnd) && ::IntersectRect(&shown, &window, &screen) &&
                    shown.right - shown.left >= 200 && shown.bottom - shown.top >= 150);
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
