// The Directory Search window as a user and the host meet it: opening, searching
// the test directory, menus and toolbar by rights, placement and closing.
#include "FakeLdapApi.h"
#include "HostSession.h"

#include <cwchar>

using namespace host;

namespace {

int ColumnOf(HWND list, const std::wstring& title) {
    std::vector<std::wstring> headers = kit::ListHeaders(list);
    for (size_t i = 0; i < headers.size(); ++i) {
        if (headers[i] == title)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring ReadProfile(const std::wstring& section, const wchar_t* pszName) {
    CRegKey key;
    CString value;
    if (key.Open(HKEY_CURRENT_USER, (L"Software\\Tovana\\Tovana Quillet\\" + section).c_str()) ==
            ERROR_SUCCESS &&
        key.QueryString(pszName, value))
        return value.str();
    return L"";
}

bool KeyExists(const std::wstring& path) {
    CRegKey key;
    return key.Open(HKEY_CURRENT_USER, (L"Software\\Tovana\\Tovana Quillet\\" + path).c_str()) ==
           ERROR_SUCCESS;
}

} // namespace

TEST_F(SearchWindowTest, TypingANameAndEnterFindsThePerson) {
    AddAccount(kServer, DirectoryPort());
    RecordingLdapApi recorder;
    CInstalledLdapApi installed(recorder);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(kit::WindowText(m_hWnd), Text(3231));

    TypeSearch(L"John Smith");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
    EXPECT_EQ(recorder.Filters(),
              std::vector<std::wstring>{L"(|(&(sn=Smith*)(givenName=John*))(cn=John Smith*))"});

    HWND list = List();
    ASSERT_EQ(kit::ListRowCount(list), 1);
    int nameColumn = ColumnOf(list, Text(3119));
    ASSERT_GE(nameColumn, 0);
    EXPECT_EQ(kit::ListCell(list, 0, nameColumn), L"John Smith");
    // A new server shows the default columns, those its entries have.
    EXPECT_GE(ColumnOf(list, Text(3121)), 0);
    EXPECT_GE(ColumnOf(list, Text(3110)), 0);
    EXPECT_EQ(kit::ListSelectedRows(list), std::vector<int>{0});
    // The text stays in the box and heads its recent searches.
    EXPECT_EQ(kit::WindowText(SearchEdit()), L"John Smith");
    EXPECT_EQ(kit::ComboItems(kit::FindChild(m_hWnd, 105)),
              std::vector<std::wstring>{L"John Smith"});
}

TEST_F(SearchWindowTest, ResultsAreSortedByNameWhenTheSearchEnds) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    TypeSearch(L"Smith");
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - Smith"));
    HWND list = List();
    int nameColumn = ColumnOf(list, Text(3119));
    ASSERT_GE(nameColumn, 0);
    ASSERT_GE(kit::ListRowCount(list), 3);
    std::vector<std::wstring> names;
    for (int row = 0; row < kit::ListRowCount(list); ++row)
        names.push_back(kit::ListCell(list, row, nameColumn));
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(_wcsicmp(names[i - 1].c_str(), names[i].c_str()), 0)
            << names[i - 1] << " / " << names[i];
    EXPECT_TRUE(kit::ListSelectedRows(list).empty()); // several rows: none chosen for the user
}

TEST_F(SearchWindowTest, DisplayingTwiceShowsOneWindowRestoredAndFocused) {
    AddAccount(kServer, DirectoryPort());
    CWnd* pFirst = m_pSearch->DisplaySearchDialog();
    ASSERT_NE(pFirst, nullptr);
    ::ShowWindow(pFirst->m_hWnd, SW_MINIMIZE);
    kit::PumpFor(50);
    CWnd* pSecond = m_pSearch->DisplaySearchDialog();
    EXPECT_EQ(pSecond, pFirst);
    EXPECT_FALSE(::IsIconic(pFirst->m_hWnd));
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == pFirst->m_hWnd || ::IsChild(pFirst->m_hWnd, focus));
}

TEST_F(SearchWindowTest, ClosingTellsTheHostAndAFreshWindowOpensAfter) {
    AddAccount(kServer, DirectoryPort());
    HWND first = Open();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(m_host.m_messages.empty());
    m_pSearch->CloseDialogs();
    EXPECT_FALSE(::IsWindow(first));
    ASSERT_EQ(m_host.m_messages.size(), 1u);
    EXPECT_EQ(m_host.m_messages[0], (std::pair<WPARAM, LPARAM>{15, 7}));
    HWND second = Open();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(::IsWindowVisible(second));
    EXPECT_EQ(m_host.m_messages.size(), 1u);
}

TEST_F(SearchWindowTest, CallsEnabledBeforeAndWhileOpen) {
    AddAccount(kServer, DirectoryPort());
    m_pSearch->EnableCalls(FALSE);
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(ToolbarEnabled(32858));
    m_pSearch->EnableCalls(TRUE);
    EXPECT_TRUE(ToolbarEnabled(32858));
    m_pSearch->EnableCalls(FALSE);
    EXPECT_FALSE(ToolbarEnabled(32858));
}

TEST_F(SearchWindowTest, WithoutServersTheListIsEmptyAndSearchDisabled) {
    ASSERT_NE(Open(), nullptr);
    kit::TypeText(SearchEdit(), L"John");
    kit::PumpUntilInputDone();
    kit::PumpFor(100);
    EXPECT_FALSE(ToolbarEnabled(32784));
    EXPECT_EQ(kit::ListRowCount(List()), 0);
    EXPECT_EQ(kit::ListColumnCount(List()), 0);
}

TEST_F(SearchWindowTest, SearchIsEnabledByTextInTheBox) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    kit::PumpFor(50);
    EXPECT_FALSE(ToolbarEnabled(32784));
    kit::TypeText(SearchEdit(), L"John");
    EXPECT_TRUE(kit::PumpUntil([&] { return ToolbarEnabled(32784); }, 2000));
}

TEST_F(SearchWindowTest, MenusAndToolbarFollowTheUsersRights) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    std::vector<kit::MenuItem> full = kit::ReadMenu(::GetMenu(m_hWnd));
    ASSERT_EQ(full.size(), 4u);
    EXPECT_EQ(full[0].text, Text(2739));
    EXPECT_NE(kit::FindMenuItem(full, 32785), nullptr);
    EXPECT_TRUE(kit::FindToolbarButton(ToolBar(), 32785).has_value());
    EXPECT_TRUE(kit::FindToolbarButton(ToolBar(), 32777).has_value());
    m_pSearch->CloseDialogs();

    SetOption(115, 4); // no phone directory
    SetOption(117, 4); // no public search changes
    ASSERT_NE(Open(), nullptr);
    std::vector<kit::MenuItem> reduced = kit::ReadMenu(::GetMenu(m_hWnd));
    ASSERT_EQ(reduced.size(), 3u); // no Edit menu
    EXPECT_EQ(reduced[1].text, Text(2791));
    EXPECT_EQ(kit::FindMenuItem(reduced, 32785), nullptr);
    EXPECT_EQ(kit::FindMenuItem(reduced, 35007), nullptr);
    const auto& file = reduced[0].children;
    for (size_t i = 1; i < file.size(); ++i)
        EXPECT_FALSE(file[i].separator && file[i - 1].separator) << "double separator at " << i;
    EXPECT_FALSE(kit::FindToolbarButton(ToolBar(), 32785).has_value());
    EXPECT_FALSE(kit::FindToolbarButton(ToolBar(), 32777).has_value());
    std::vector<kit::ToolbarButton> buttons = kit::ToolbarButtons(ToolBar());
    ASSERT_FALSE(buttons.empty());
    EXPECT_FALSE(buttons.back().separator());
}

TEST_F(SearchWindowTest, PlacementIsStoredAndRestored) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    ExpectBarsBesideTheList();
    // Larger than the window's minimum, its size when first laid out.
    ::SetWindowPos(m_hWnd, nullptr, 40, 50, 900, 500, SWP_NOZORDER);
    m_pSearch->CloseDialogs();
    std::wstring stored = ReadProfile(L"Settings", L"DirectorySearch");
    unsigned flags = 9, show = 0;
    int v[8];
    ASSERT_EQ(swscanf(stored.c_str(), L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &flags, &show, &v[0], &v[1],
                      &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]),
              10)
        << stored;
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(v[4], 40);
    EXPECT_EQ(v[5], 50);
    EXPECT_EQ(v[6], 940);
    EXPECT_EQ(v[7], 550);

    ASSERT_NE(Open(), nullptr);
    ExpectBarsBesideTheList();
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right - rc.left, 900);
    ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    kit::PumpFor(50);
    m_pSearch->CloseDialogs();
    stored = ReadProfile(L"Settings", L"DirectorySearch");
    ASSERT_EQ(swscanf(stored.c_str(), L"%u,", &flags), 1);
    EXPECT_EQ(flags, 2u);
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
}

TEST_F(SearchWindowTest, AnInvalidPlacementOpensAboveTheMainWindow) {
    AddAccount(kServer, DirectoryPort());
    CRegKey settings;
    ASSERT_EQ(settings.Create(HKEY_CURRENT_USER, (Root() + L"\\Settings").c_str()), ERROR_SUCCESS);
    settings.SetString(L"DirectorySearch", L"0,1,2,3,4,5,6");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
}

TEST_F(SearchWindowTest, CloseSavesTheColumnLayoutEscapeDoesNot) {
    AddAccount(kServer, DirectoryPort());
    const std::wstring list = std::wstring(L"ListControl\\DirectorySearch\\") + kServer;
    const std::wstring layout = list + L"\\Column 0";
    auto searchThenForgetLayout = [&] {
        ASSERT_NE(Open(), nullptr);
        TypeSearch(L"John Smith");
        ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
        // The sort at the end of the search saved the layout; start from none.
        RegDeleteTreeW(HKEY_CURRENT_USER, (Root() + L"\\" + list).c_str());
        ASSERT_FALSE(KeyExists(layout));
    };

    searchThenForgetLayout();
    kit::PressKey(List(), VK_ESCAPE);
    EXPECT_TRUE(kit::PumpUntil([&] { return !::IsWindow(m_hWnd); }, 3000));
    EXPECT_FALSE(KeyExists(layout));
    EXPECT_FALSE(ReadProfile(L"Settings", L"DirectorySearch").empty());

    searchThenForgetLayout();
    ::SendMessageW(m_hWnd, WM_COMMAND, 57602, 0); // File > Close
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_TRUE(KeyExists(layout));
}
