// What a user does with what the search found: the search-field list, dialling,
// e-mail, adding, the row menu, the host's phone-number dialog and Entry
// Properties; and the results' order, columns and names with parentheses.
#include "HostSession.h"

#include <algorithm>
#include <cwchar>

using namespace host;

namespace {

// WM_KEYF1: what the system posts for an F1 key taken from the keyboard.
constexpr UINT kKeyF1Message = 0x004D;

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, std::wcsrchr(path, L'\\') + 1);
}

class EntryActionTest : public SearchWindowTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        AddAccount(kServer, DirectoryPort());
    }
    int Column(UINT nTitleId) const {
        std::vector<std::wstring> headers = kit::ListHeaders(List());
        auto it = std::find(headers.begin(), headers.end(), Text(nTitleId));
        return it == headers.end() ? -1 : static_cast<int>(it - headers.begin());
    }
    std::vector<std::wstring> Names() const { return kit::ListColumn(List(), Column(3119)); }
    size_t Count(WPARAM code) const {
        return std::count_if(m_host.m_messages.begin(), m_host.m_messages.end(),
                             [&](const auto& m) { return m.first == code; });
    }
    std::vector<kit::MenuItem> RowMenu(int row, UINT choose = 0) {
        kit::PopupMenuCatcher menu(choose);
        kit::ClickListRow(List(), row, true);
        EXPECT_TRUE(kit::PumpUntil([&] { return menu.Shown(); }));
        kit::PumpUntilInputDone();
        kit::PumpPending();
        return menu.Items();
    }
    HWND Popup() const {
        for (HWND window : kit::TopLevelWindows())
            if (HWND list = kit::FindChild(window, 1079))
                return list;
        return nullptr;
    }
    HWND OpenPopup() {
        ClickToolbarButton(32781);
        EXPECT_TRUE(kit::PumpUntil([&] { return Popup() != nullptr; }));
        return Popup();
    }
    void ChooseField(const std::wstring& title) {
        HWND list = OpenPopup();
        ASSERT_NE(list, nullptr);
        const int item = static_cast<int>(
            ::SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(title.c_str())));
        ASSERT_GE(item, 0) << "no field " << CString(title.c_str()).ToUtf8();
        RECT rc{};
        ::SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rc));
        kit::ClickAt(list, {rc.left + 5, (rc.top + rc.bottom) / 2});
        EXPECT_TRUE(kit::PumpUntil([&] { return Popup() == nullptr; }));
    }
};

} // namespace

TEST_F(EntryActionTest, TheFieldListOffersEveryColumnAndSetsTheSearchMode) {
    kit::MessageBoxWatcher boxes; // a search that finds nothing must not hang the test
    ASSERT_TRUE(Search(L"John Smith"));
    HWND list = OpenPopup();
    for (const std::wstring& field : {Text(3119), Text(3121), Text(3110), std::wstring(L"uid"),
                                      std::wstring(L"mobile"), Text(3106)})
        EXPECT_GE(
            ::SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(field.c_str())),
            0)
            << CString(field.c_str()).ToUtf8();
    RECT button{}, popup{};
    ::SendMessageW(ToolBar(), TB_GETRECT, 32781, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(ToolBar(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    ::GetWindowRect(::GetParent(list), &popup);
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.top, button.bottom);

    // A click elsewhere closes the list and keeps the mode.
    kit::ClickAt(List(), POINT{5, 5});
    EXPECT_TRUE(kit::PumpUntil([&] { return Popup() == nullptr; }));
    EXPECT_EQ(ButtonText(32781), Text(3119));
    // Another field: searched as "attribute=text" (as a name, nobody would be found),
    // with no recent texts.
    ChooseField(L"uid");
    EXPECT_EQ(ButtonText(32781), L"uid");
    ASSERT_TRUE(Search(L"ann.lee*"));
    EXPECT_EQ(kit::ListRowCount(List()), 2);
    EXPECT_TRUE(kit::ComboItems(kit::FindChild(m_hWnd, 105)).empty());
    // The column of telephone numbers is a field like any other.
    ChooseField(Text(3121));
    EXPECT_EQ(ButtonText(32781), Text(3121));
    ASSERT_TRUE(Search(L"+1 503 555 0142"));
    EXPECT_EQ(kit::ListCell(List(), 0, 0), L"John Smith");
    EXPECT_TRUE(kit::ComboItems(kit::FindChild(m_hWnd, 105)).empty());

    // Back to names, with their recent texts, also when chosen again.
    for (int i = 0; i < 2; ++i) {
        ChooseField(Text(3119));
        EXPECT_EQ(ButtonText(32781), Text(3119));
        EXPECT_EQ(kit::ComboItems(kit::FindChild(m_hWnd, 105)),
                  std::vector<std::wstring>{L"John Smith"});
    }
}

TEST_F(EntryActionTest, EnterAndDoubleClickDialTheSelectedEntry) {
    // Each search begins by tracing its server.
    const auto searches = [&] {
        CArray<CEventRecord> records = m_eventLog.GetRecentRecords();
        int n = 0;
        for (int i = 0; i < records.GetSize(); ++i)
            n += records[i].strText.Find(L" description: <") == 0;
        return n;
    };
    ASSERT_TRUE(Search(L"John Smith")); // the one row is selected
    // Enter in the search box searches again, with the row selected.
    TypeSearch(L"");
    EXPECT_TRUE(kit::PumpUntil([&] { return searches() == 2; }));
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
    EXPECT_TRUE(m_host.m_messages.empty());

    // Without a ConfirmDial setting the host confirms the call (record). John Smith
    // has two telephone numbers: each dial offers both, the first is chosen.
    kit::PopupMenuCatcher firstOfTwo(1);
    kit::PressKey(List(), VK_RETURN);
    ASSERT_TRUE(kit::PumpUntil([&] { return Count(36) == 1; }));
    ASSERT_EQ(m_host.m_records.size(), 1u);
    EXPECT_EQ(m_host.m_records[0].name, L"Smith, John");
    EXPECT_EQ(m_host.m_records[0].number, L"+1 503 555 0142");
    EXPECT_EQ(m_host.m_records[0].email, L"");

    // ConfirmDial 0: the number goes straight to the host; calls disabled grey
    // Dial but Enter and a double-click still dial.
    CRegKey options;
    options.Create(HKEY_CURRENT_USER, (Root() + L"\\Config\\Options").c_str());
    options.SetDword(L"ConfirmDial", 0);
    m_pSearch->EnableCalls(FALSE);
    EXPECT_TRUE(kit::PumpUntil([&] { return !ToolbarEnabled(32858); }));
    std::vector<kit::MenuItem> menus = OpenedMenus();
    EXPECT_TRUE(kit::FindMenuItem(menus, 32858)->grayed);
    for (bool bDoubleClick : {true, false}) {
        kit::PopupMenuCatcher first(1);
        if (bDoubleClick)
            kit::ClickListRow(List(), 0, false, true);
        else
            kit::PressKey(List(), VK_RETURN);
        ASSERT_TRUE(kit::PumpUntil([&] { return first.Chosen(); }));
    }
    ASSERT_TRUE(kit::PumpUntil([&] { return m_host.m_dialled.size() == 2; }));
    EXPECT_EQ(m_host.m_dialled[0], L"+1 503 555 0142");

    // Calls enabled: the menu names whom Dial calls.
    m_pSearch->EnableCalls(TRUE);
    EXPECT_TRUE(kit::PumpUntil([&] { return ToolbarEnabled(32858); }));
    menus = OpenedMenus();
    EXPECT_EQ(kit::FindMenuItem(menus, 32858)->text, Text(2717) + L" John Smith");

    // Two rows selected: nothing is dialled.
    ASSERT_TRUE(Search(L"Smith"));
    LVITEMW all{};
    all.stateMask = all.state = LVIS_SELECTED;
    ::SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&all));
    kit::PressKey(List(), VK_RETURN);
    kit::PumpUntilInputDone();
    kit::PumpPending();
    EXPECT_EQ(m_host.m_messages.size(), 3u);
}

TEST_F(EntryActionTest, FieldsMarkedAsNumbersAreOfferedAndKept) {
    ASSERT_TRUE(Search(L"Ortega")); // a number and a mobile; only the first counts so far
    // The host's dialog: tick "mobile" and confirm.
    ASSERT_TRUE(RunModal(
        35009, {[](HWND d) {
                    HWND fields = ::GetDlgItem(d, 1003);
                    const auto names = kit::ListColumn(fields, 0);
                    kit::ClickListRow(
                        fields, static_cast<int>(std::find(names.begin(), names.end(), L"mobile") -
                                                 names.begin()));
                    kit::PressKey(fields, VK_SPACE);
                    return true;
                },
                [](HWND d) {
                    kit::PressKey(::GetDlgItem(d, 1003), VK_RETURN);
                    return true;
                }}));

    // Two numbers: a menu under the row; Escape dials nothing.
    {
        kit::PopupMenuCatcher menu;
        kit::PressKey(List(), VK_RETURN);
        ASSERT_TRUE(kit::PumpUntil([&] { return menu.Shown(); }));
        ASSERT_EQ(menu.Items().size(), 2u);
        EXPECT_EQ(menu.Items()[0].Label(), L"Ortega & Ruiz, Ines (" + Text(3121) + L")");
        EXPECT_EQ(menu.Items()[1].Label(), L"Ortega & Ruiz, Ines (mobile)");
        kit::PumpPending();
        EXPECT_TRUE(m_host.m_messages.empty());
    }
    // The choice survives closing and reopening the window: the mobile is offered.
    m_pSearch->CloseDialogs();
    ASSERT_TRUE(Search(L"Ortega"));
    kit::PopupMenuCatcher menu(2);
    kit::PressKey(List(), VK_RETURN);
    ASSERT_TRUE(kit::PumpUntil([&] { return Count(36) == 1; }));
    EXPECT_EQ(m_host.m_records.back().number, L"+34 600 555 016");
    EXPECT_EQ(m_host.m_records.back().name, L"Ortega & Ruiz, Ines");
}

TEST_F(EntryActionTest, SendEmailHandsTheAddressToTheMailProgram) {
    // The mail program of this Wine prefix, for the length of the test.
    const std::wstring received = ExeFolder() + L"mailto-received.txt";
    ::DeleteFileW(received.c_str());
    CRegKey command;
    ASSERT_EQ(command.Create(HKEY_CLASSES_ROOT, L"mailto\\shell\\open\\command"), ERROR_SUCCESS);
    CString previous;
    const bool bHadPrevious = command.QueryString(nullptr, previous);
    command.SetString(nullptr, (L"\"" + ExeFolder() + L"mailto_recorder.exe\" \"%1\"").c_str());

    ASSERT_TRUE(Search(L"John Smith"));
    ::PostMessageW(m_hWnd, WM_COMMAND, 33074, 0);
    std::wstring address;
    kit::PumpUntil(
        [&] {
            FILE* file = _wfopen(received.c_str(), L"rb");
            if (!file)
                return false;
            wchar_t text[256] = L"";
            fread(text, sizeof(wchar_t), 255, file);
            fclose(file);
            address = text;
            return true;
        },
        15000);
    if (bHadPrevious)
        command.SetString(nullptr, previous);
    else
        command.DeleteValue(nullptr);
    EXPECT_EQ(address, L"mailto:john.smith@quillet.test");
}

TEST_F(EntryActionTest, TheRowMenuFollowsTheEntryAndTheRights) {
    using Items = std::vector<std::pair<UINT, bool>>; // command (0: separator), greyed
    auto shape = [](const std::vector<kit::MenuItem>& items) {
        Items out;
        for (const auto& item : items)
            out.emplace_back(item.id, item.grayed && !item.separator);
        return out;
    };
    ASSERT_TRUE(Search(L"John Smith"));
    std::vector<kit::MenuItem> items = RowMenu(0);
    EXPECT_EQ(shape(items),
              (Items{{32858, false}, {33074, false}, {0, false}, {32777, false}, {32785, false}}));
    EXPECT_EQ(items[0].text, Text(2717) + L" John Smith");
    // A choice is an ordinary command: Add to Directory sends the record.
    RowMenu(0, 32785);
    ASSERT_TRUE(kit::PumpUntil([&] { return Count(12) == 1; }));
    EXPECT_EQ(m_host.m_records.back().name, L"Smith, John");
    EXPECT_EQ(m_host.m_records.back().number, L"+1 503 555 0142");
    EXPECT_EQ(m_host.m_records.back().email, L"john.smith@quillet.test");

    m_pSearch->CloseDialogs();
    m_pSearch->EnableCalls(FALSE);  // before the window opens: Dial greyed, as in the menu bar
    ASSERT_TRUE(Search(L"Okafor")); // mail, no number
    EXPECT_EQ(shape(RowMenu(0)), (Items{{33074, false}, {32777, false}, {32785, false}}));
    ASSERT_TRUE(Search(L"Ortega")); // numbers, no mail
    EXPECT_EQ(shape(RowMenu(0)),
              (Items{{32858, true}, {0, false}, {32777, false}, {32785, false}}));

    m_pSearch->CloseDialogs();
    SetOption(115, 4); // no phone directory
    SetOption(117, 4); // no changes to the public search
    m_pSearch->EnableCalls(TRUE);
    ASSERT_TRUE(Search(L"John Smith"));
    EXPECT_EQ(shape(RowMenu(0)), (Items{{32858, false}, {33074, false}}));
}

TEST_F(EntryActionTest, PropertiesShowEveryFieldAndCopyThem) {
    ASSERT_TRUE(Search(L"John Smith"));
    ASSERT_TRUE(RunModal(32777, {[](HWND d) { return kit::Click(::GetDlgItem(d, IDCANCEL)); }}));
    EXPECT_TRUE(::IsWindow(m_hWnd)); // Close leaves the search window

    std::wstring expected;
    std::vector<std::wstring> labels;
    kit::ModalSteps dialog(
        m_hWnd,
        {[&](HWND d) {
             HWND list = ::GetDlgItem(d, 1060);
             EXPECT_EQ(kit::WindowText(d), Text(3228));
             EXPECT_EQ(kit::ListHeaders(list), (std::vector<std::wstring>{Text(3112), Text(3130)}));
             for (int row = 0; row < kit::ListRowCount(list); ++row) {
                 labels.push_back(kit::ListCell(list, row, 0));
                 expected += labels.back() + L"\t" + kit::ListCell(list, row, 1) + L"\r\n";
             }
             kit::ClearClipboard();
             kit::PressKey(list, 'C', true);
             return true;
         },
         [&](HWND) { return kit::ClipboardText() == expected; },
         [&](HWND d) {
             // F1, and the help key message the system's input makes of it.
             kit::PressKey(::GetDlgItem(d, 1060), VK_F1);
             ::PostMessageW(::GetDlgItem(d, 1060), kKeyF1Message, 0, 0);
             return true;
         },
         [&](HWND d) {
             if (Count(19) == 0)
                 return false;
             EXPECT_TRUE(::IsWindowVisible(d)); // help leaves the dialog open
             kit::PressKey(::GetDlgItem(d, 1060), VK_RETURN);
             return true;
         }});
    // Alt+Enter in the list.
    ::PostMessageW(List(), WM_SYSKEYDOWN, VK_RETURN, 0x20000001);
    // Enter closes the dialog and then the search window.
    ASSERT_TRUE(kit::PumpUntil([&] { return dialog.Finished() && !::IsWindow(m_hWnd); }, 15000));
    EXPECT_EQ(kit::ClipboardText(), expected);
    EXPECT_EQ(labels.front(), Text(3106));
    EXPECT_NE(std::find(labels.begin(), labels.end(), Text(3110)), labels.end());
    EXPECT_NE(std::find(labels.begin(), labels.end(), L"title"), labels.end());
    EXPECT_EQ(Count(15), 1u);
}

TEST_F(EntryActionTest, ResultsAreSortedByNameInTheRememberedDirection) {
    ASSERT_TRUE(Search(L"Smith"));
    EXPECT_TRUE(kit::ListSelectedRows(List()).empty()); // several rows: none chosen for the user
    const std::vector<std::wstring> first = Names();
    ASSERT_GE(first.size(), 3u);
    EXPECT_TRUE(std::is_sorted(first.begin(), first.end(), [](auto& a, auto& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    }));
    ASSERT_TRUE(Search(L"Smith"));
    EXPECT_EQ(Names(), first);
    m_pSearch->CloseDialogs();
    ASSERT_TRUE(Search(L"Smith"));
    EXPECT_EQ(Names(), first);

    // A click on the name header turns the order; later searches keep it.
    ClickHeader(Column(3119));
    kit::PumpUntilInputDone();
    const std::vector<std::wstring> reversed(first.rbegin(), first.rend());
    EXPECT_EQ(Names(), reversed);
    m_pSearch->CloseDialogs();
    ASSERT_TRUE(Search(L"Smith"));
    EXPECT_EQ(Names(), reversed);
}

// Texts of every kind, and a search without a server.
TEST_F(EntryActionTest, TextsOfEveryKindAndASearchWithoutAServer) {
    ASSERT_TRUE(Search(L"Kiosk")); // the first entry ever found has no cn
    EXPECT_GE(Column(3119), 0);
    m_pSearch->CloseDialogs();
    ASSERT_TRUE(Search(L"Ahmed (Sales) Khan")); // parentheses are searched for
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"Ahmed (Sales) Khan"});
    EXPECT_EQ(kit::ComboItems(kit::FindChild(m_hWnd, 105)).front(), L"Ahmed (Sales) Khan");
    ASSERT_TRUE(Search(L"Smi*")); // the wildcard stays one
    EXPECT_GE(kit::ListRowCount(List()), 4);
    // Names as "Last, First" and with several words find their people.
    for (const auto& [text, name] : {std::pair{L"van Dam, Anna", L"Anna van Dam"},
                                     {L"Smith, J*", L"John Smith"},
                                     {L"Mary Ann Smith", L"Mary Ann Smith"}}) {
        ASSERT_TRUE(Search(text));
        EXPECT_EQ(Names(), std::vector<std::wstring>{name});
    }
    kit::SetEditText(SearchEdit(), L"");
    TypeSearch(L"");
    EXPECT_EQ(kit::ListRowCount(List()), 0); // an empty box clears the list
    m_pSearch->CloseDialogs();

    RegDeleteTreeW(HKEY_CURRENT_USER, (Root() + L"\\Config").c_str());
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    TypeSearch(L"John");
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Seen()[0].text, Text(3848));
}
