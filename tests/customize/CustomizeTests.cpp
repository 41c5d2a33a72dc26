// Customize Search & Display and the host's field organizer, driven as a user does:
// fields moved, renamed and saved, the column set read back from the registry, and
// an advanced search typed into the grid and run against the test directory.
#include "FakeLdapApi.h"
#include "HostSession.h"

#include <algorithm>
#include <map>

using namespace host;

namespace {

constexpr UINT kAdvanceSearch = 35014, kFieldOrganizer = 35008, kSelectNumbers = 35009;
enum : int { kGrid = 1086, kSearch = 1088, kHelp = 1089, kAvailable = 2022, kShown = 2023 };
enum : int { kRemove = 2024, kDown = 2025, kAdd = 2026, kUp = 2027, kApply = 12321 };

class CustomizeTest : public SearchWindowTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        AddAccount(L"Branch", DirectoryPort());
        AddAccount(kServer, DirectoryPort());
        // Shown: name, e-mail, telephone (which may neither move nor go), city.
        StoreColumn(0, L"cn", Text(3119), 0);
        StoreColumn(1, L"o", Text(3122), -1);
        StoreColumn(2, L"mail", Text(3110), 1);
        StoreColumn(3, L"telephonenumber", Text(3121), 2, FALSE);
        StoreColumn(4, L"l", L"Town", 3);
    }
    std::wstring ColumnKey(int i) const {
        return Root() + L"\\ListControl\\DirectorySearch\\" + kServer + L"\\Column " +
               std::to_wstring(i);
    }
    void StoreColumn(int i, const wchar_t* name, const std::wstring& title, int position,
                     BOOL free = TRUE) {
        CRegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, ColumnKey(i).c_str()), ERROR_SUCCESS);
        key.SetString(L"Name", name);
        key.SetString(L"Title", title.c_str());
        key.SetDword(L"Column", static_cast<DWORD>(position));
        key.SetDword(L"Width", 90);
        key.SetDword(L"Remove", free);
        key.SetDword(L"Move", free);
    }
    // The stored column set: "name=title" in the shown order.
    std::vector<std::wstring> Stored() const {
        std::map<int, std::wstring> shown;
        for (int i = 0;; ++i) {
            CRegKey key;
            CString name, title;
            DWORD column = 0;
            if (key.Open(HKEY_CURRENT_USER, ColumnKey(i).c_str()) != ERROR_SUCCESS ||
                !key.QueryString(L"Name", name))
                break;
            key.QueryString(L"Title", title);
            if (key.QueryDword(L"Column", column) && static_cast<int>(column) >= 0)
                shown[static_cast<int>(column)] = name.str() + L"=" + title.str();
        }
        std::vector<std::wstring> order;
        for (const auto& entry : shown)
            order.push_back(entry.second);
        return order;
    }
    HWND Dialog() const {
        for (HWND window : kit::TopLevelWindows())
            if (kit::WindowText(window) == Text(3717))
                return window;
        return nullptr;
    }
    HWND Customize() {
        ::PostMessageW(m_hWnd, WM_COMMAND, kAdvanceSearch, 0);
        kit::PumpUntil([&] { return Dialog() != nullptr; });
        return Dialog();
    }
    HWND Item(int id) const { return ::GetDlgItem(Dialog(), id); }
    std::vector<std::wstring> Titles(int id) const { return kit::ListColumn(Item(id), 0); }
    void Choose(int id, const std::wstring& title) {
        const auto titles = Titles(id);
        const auto it = std::find(titles.begin(), titles.end(), title);
        ASSERT_NE(it, titles.end());
        ASSERT_TRUE(kit::ClickListRow(Item(id), static_cast<int>(it - titles.begin())));
        kit::PumpUntilInputDone();
    }
    void Press(int id) {
        ASSERT_TRUE(kit::Click(Item(id))) << "button " << id << " is disabled";
        kit::PumpUntilInputDone();
    }
    void Type(const std::wstring& text, UINT key = VK_RETURN) {
        kit::TypeText(::GetFocus(), text);
        kit::PressKey(::GetFocus(), key);
        kit::PumpUntilInputDone();
    }
    // F2 on the selected shown field, then the keys.
    void Rename(const std::wstring& text, UINT key = 0) {
        kit::PressKey(Item(kShown), VK_F2);
        kit::PumpUntilInputDone();
        if (key)
            kit::PressKey(::GetFocus(), key);
        Type(text);
    }
    bool MenuEnabled(UINT id) const { return !kit::FindMenuItem(OpenedMenus(), id)->grayed; }
    std::vector<kit::MenuItem> ServerMenu() {
        kit::PopupMenuCatcher menu;
        ClickToolbarButton(35002);
        kit::PumpUntil([&] { return menu.Shown(); });
        return menu.Items();
    }
    // Opens the in-place editor of a grid cell as a user does: a click on the row,
    // and one more on the cell when the row was not the last one clicked.
    void EditCell(int row, int column) {
        RECT rc{};
        ListView_GetSubItemRect(Item(kGrid), row, column, column ? LVIR_BOUNDS : LVIR_LABEL, &rc);
        const POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        for (int i = 0; i < 2 && !::GetDlgItem(Item(kGrid), 112); ++i) {
            kit::ClickAt(Item(kGrid), at);
            kit::PumpUntilInputDone();
        }
        ASSERT_TRUE(::GetDlgItem(Item(kGrid), 112)) << "no editor over " << row << "," << column;
    }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names = kit::ListColumn(List(), 0);
        std::sort(names.begin(), names.end());
        return names;
    }
    CFakeLdapApi m_fake;
};

TEST_F(CustomizeTest, FieldsMovedRenamedAndSavedPerServer) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Customize());
    EXPECT_EQ(Titles(kShown),
              (std::vector<std::wstring>{Text(3119), Text(3110), Text(3121), L"Town"}));
    EXPECT_EQ(Titles(kAvailable), std::vector<std::wstring>{Text(3122)});
    // One window, however often it is asked for; meanwhile the fields are arranged
    // only here and only the current server can be chosen.
    EXPECT_TRUE(Customize());
    int nOpen = 0;
    for (HWND window : kit::TopLevelWindows())
        nOpen += kit::WindowText(window) == Text(3717);
    EXPECT_EQ(nOpen, 1);
    EXPECT_FALSE(MenuEnabled(kFieldOrganizer));
    EXPECT_FALSE(MenuEnabled(kSelectNumbers));
    auto menu = ServerMenu();
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_TRUE(menu[0].grayed);                                      // Branch
    EXPECT_FALSE(menu[1].grayed || !menu[1].isDefault);               // the current server
    EXPECT_TRUE(menu[3].grayed && menu[4].grayed && !menu[5].grayed); // Add, Remove; Properties

    Choose(kShown, L"Town"); // up, past the telephone, which may not move
    Press(kUp);
    Choose(kShown, Text(3121)); // the telephone neither moves down nor goes
    Press(kDown);
    Press(kRemove);
    Choose(kAvailable, Text(3122));
    Press(kAdd); // after the telephone, still selected: last
    EXPECT_FALSE(::IsWindowEnabled(Item(kSearch))) << "the grid no longer matches";
    Choose(kShown, Text(3110));
    Rename(L"Work mail");
    Choose(kShown, L"Town");
    Rename(L"", VK_DELETE); // erased: the city's own title comes back
    EXPECT_EQ(Titles(kShown), (std::vector<std::wstring>{Text(3119), Text(3101), L"Work mail",
                                                         Text(3121), Text(3122)}));
    Press(IDOK);
    EXPECT_FALSE(Dialog());
    const std::vector<std::wstring> saved{L"cn=" + Text(3119), L"l=" + Text(3101),
                                          L"mail=Work mail", L"telephonenumber=" + Text(3121),
                                          L"o=" + Text(3122)};
    EXPECT_EQ(Stored(), saved);
    EXPECT_EQ(
        kit::ListHeaders(List()),
        (std::vector<std::wstring>{Text(3119), Text(3101), L"Work mail", Text(3121), Text(3122)}));
    EXPECT_TRUE(MenuEnabled(kFieldOrganizer));
    EXPECT_FALSE(ServerMenu()[0].grayed);

    // Apply stores at once; Cancel then keeps what Apply stored.
    ASSERT_TRUE(Customize());
    Choose(kShown, Text(3101));
    Press(kUp);
    Press(kApply);
    EXPECT_EQ(Stored()[0], L"l=" + Text(3101));
    EXPECT_EQ(kit::ListHeaders(Item(kGrid))[0], Text(3101)) << "the grid follows the order";
    Press(kDown);
    Press(IDCANCEL);
    EXPECT_FALSE(Dialog());
    EXPECT_EQ(Stored()[0], L"l=" + Text(3101));
    EXPECT_EQ(kit::ListHeaders(List())[0], Text(3101));

    // The search window going first takes its customize window with it.
    ASSERT_TRUE(Customize());
    m_pSearch->CloseDialogs();
    EXPECT_FALSE(Dialog());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Customize());
}

TEST_F(CustomizeTest, AdvancedSearchTypedIntoTheGrid) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Customize());
    // Rows are alternatives, cells of a row all must match; the grid's columns are
    // name, e-mail, telephone and city.
    EditCell(0, 0);
    Type(L"*Smith");
    EditCell(0, 3);
    Type(L"Portland");
    EditCell(2, 0);
    Type(L"Ahmed (Sales) Khan");
    EditCell(4, 1);
    Type(L"ann.lee*");
    EditCell(4, 1); // Escape empties the cell, whatever it held
    Type(L"x", VK_ESCAPE);
    EXPECT_EQ(kit::ListCell(Item(kGrid), 4, 1), L"");
    Press(kSearch);
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) +
                               L" - (|(&(cn=*Smith) (l=Portland)) (cn=Ahmed \\28Sales\\29 Khan))"));
    EXPECT_EQ(Names(),
              (std::vector<std::wstring>{L"Ahmed (Sales) Khan", L"Anna Smith", L"John Smith"}));
    bool bTraced = false;
    CArray<CEventRecord> records = m_eventLog.GetRecentRecords();
    for (int i = 0; i < records.GetSize(); ++i)
        bTraced |=
            records[i].strText.str() ==
            L"CLdapCustomizeSearchDlg::OnLdapSearch: criteria: '(|(&(cn=*Smith) (l=Portland)) "
            L"(cn=Ahmed \\28Sales\\29 Khan))'";
    EXPECT_TRUE(bTraced);

    // A hidden column shown again from the header menu is filled from the entries.
    {
        kit::PopupMenuCatcher menu(Text(3122));
        ClickHeader(0, true);
        ASSERT_TRUE(kit::PumpUntil([&] { return menu.Chosen(); }));
    }
    ASSERT_EQ(kit::ListHeaders(List())[1], Text(3122));
    for (int row = 0; row < kit::ListRowCount(List()); ++row)
        EXPECT_EQ(kit::ListCell(List(), row, 1), L"Quillet Instruments");

    // Help: the missing help file is named, then help is asked for all the same.
    kit::MessageBoxWatcher boxes;
    Press(kHelp);
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0].text.rfind(Text(2840), 0), 0u);
    EXPECT_NE(boxes.Seen()[0].text.find(L"\\enu\\Quillet.chm"), std::wstring::npos);

    // What the search sends: the caption's filter without its blanks (the scripted
    // library stays until the window has gone).
    SetLdapApi(&m_fake);
    Press(kSearch);
    const std::wstring sent =
        L" filter=(|(&(cn=*Smith)(l=Portland))(cn=Ahmed \\28Sales\\29 Khan)) ";
    EXPECT_TRUE(kit::PumpUntil([&] {
        const auto calls = m_fake.Calls();
        return std::any_of(calls.begin(), calls.end(),
                           [&](const std::wstring& call) { return call.find(sent) != call.npos; });
    }));
}

TEST_F(CustomizeTest, FieldOrganizerShowsAtOnceAndIsKept) {
    SetOption(196, 0); // no advanced search for this user
    ASSERT_TRUE(Open());
    EXPECT_FALSE(MenuEnabled(kAdvanceSearch));
    // From the header menu: e-mail up, the city hidden, the name renamed.
    const auto fields = [](HWND d) { return ::GetDlgItem(d, 1006); };
    kit::ModalSteps organizer(m_hWnd, {[&](HWND d) { return kit::ClickListRow(fields(d), 1); },
                                       [](HWND d) { return kit::Click(::GetDlgItem(d, 1007)); },
                                       [&](HWND d) {
                                           kit::ClickListRow(fields(d), 3);
                                           kit::PressKey(fields(d), VK_SPACE);
                                           return true;
                                       },
                                       [&](HWND d) {
                                           kit::ClickListRow(fields(d), 1);
                                           kit::PressKey(fields(d), VK_F2);
                                           return true;
                                       },
                                       [](HWND) {
                                           kit::TypeText(::GetFocus(), L"Person");
                                           kit::PressKey(::GetFocus(), VK_RETURN);
                                           return true;
                                       },
                                       [](HWND d) { return kit::Click(::GetDlgItem(d, IDOK)); }});
    kit::PopupMenuCatcher menu(Text(3712));
    ClickHeader(0, true);
    EXPECT_TRUE(
        kit::PumpUntil([&] { return organizer.Finished() && ::IsWindowEnabled(m_hWnd); }, 15000));
    const std::vector<std::wstring> expected{Text(3110), L"Person", Text(3121)};
    EXPECT_EQ(kit::ListHeaders(List()), expected);
    m_pSearch->CloseDialogs();
    ASSERT_TRUE(Open());
    EXPECT_EQ(kit::ListHeaders(List()), expected);
}

} // namespace
