// The Directory Search window as a user and the host meet it: opening, searching
// the test directory, its columns, menus and toolbar by rights, prompts and
// tooltips, placement and closing.
#include "HostSession.h"
#include "MessageLog.h"
#include "RegistrySandbox.h"
#include "resource.h"

using namespace host;

namespace {

const std::wstring kRoot = L"Software\\Tovana\\Tovana Quillet\\";

const std::wstring kLayout = std::wstring(L"ListControl\\DirectorySearch\\") + kServer;

// The tooltip windows with tools on the toolbar, apart from the toolbar's own.
std::vector<HWND> BuiltTooltips(HWND toolbar) {
    std::vector<HWND> tips;
    HWND own = reinterpret_cast<HWND>(::SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    for (HWND w = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        if (w != own && ::SendMessageW(w, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) &&
            tool.hwnd == toolbar)
            tips.push_back(w);
    }
    return tips;
}

std::wstring ToolText(HWND tooltip, HWND toolbar, UINT_PTR nTool) {
    wchar_t text[256] = L"";
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = toolbar;
    info.uId = nTool;
    info.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return text;
}

} // namespace

TEST_F(SearchWindowTest, TypingANameAndEnterFindsThePersonWithTheDefaultColumns) {
    AddAccount(kServer, DirectoryPort(), L"cn=reader,ou=Service,dc=quillet,dc=test",
               L"reader-secret");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(kit::WindowText(m_hWnd), Text(3231));
    ASSERT_TRUE(Search(L"John Smith"));

    HWND list = List();
    ASSERT_EQ(kit::ListRowCount(list), 1);
    // A server without a stored layout shows the default columns, in their order.
    EXPECT_EQ(kit::ListHeaders(list), (std::vector<std::wstring>{Text(3119), Text(3121), Text(3110),
                                                                 Text(3122), Text(3101)}));
    EXPECT_EQ(
        kit::ListRow(list, 0),
        (std::vector<std::wstring>{L"John Smith", L"+1 503 555 0142", L"john.smith@quillet.test",
                                   L"Quillet Instruments", L"Portland"}));
    EXPECT_EQ(kit::ListSelectedRows(list), std::vector<int>{0});
    // The text stays in the box and heads its recent searches.
    EXPECT_EQ(kit::WindowText(SearchEdit()), L"John Smith");
    EXPECT_EQ(kit::ComboItems(kit::FindChild(m_hWnd, IDC_SEARCH_BOX)),
              std::vector<std::wstring>{L"John Smith"});

    // The user removes the city column; once a layout is stored, the defaults stay
    // as the user left them.
    {
        kit::PopupMenuCatcher menu(1); // Remove Column
        ClickHeader(4, true);
        ASSERT_TRUE(kit::PumpUntilInputDone());
        ASSERT_TRUE(menu.Chosen()) << menu.Problem();
    }
    ::SendMessageW(m_hWnd, WM_COMMAND, ID_CLOSE_WINDOW, 0);
    ASSERT_NE(Open(), nullptr);
    // Names beyond ASCII reach the server and come back intact.
    ASSERT_TRUE(Search(L"Zo\u00eb"));
    EXPECT_EQ(kit::ListCell(List(), 0, 0), L"Zo\u00eb M\u00fcller");
    EXPECT_EQ(kit::ListHeaders(List()),
              (std::vector<std::wstring>{Text(3119), Text(3121), Text(3110), Text(3122)}));
}

TEST_F(SearchWindowTest, DisplayingAgainRestoresTheOneWindowAndClosingStoresTheLayoutFirst) {
    AddAccount(kServer, DirectoryPort());
    HWND first = Open();
    ASSERT_NE(first, nullptr);
    ::ShowWindow(first, SW_MINIMIZE);
    CWnd* pAgain = m_pSearch->DisplaySearchDialog();
    ASSERT_TRUE(pAgain && pAgain->m_hWnd == first);
    EXPECT_FALSE(::IsIconic(first));
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == first || ::IsChild(first, focus));
    // Closing stores the layout before the window goes, then tells the host.
    kit::MessageLog log;
    log.Watch(first, {WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
    log.Watch(m_host.m_hWnd, {HostMessage::kId});
    bool storedBeforeDestroy = false;
    log.OnMessage(0, WM_DESTROY, [&] {
        storedBeforeDestroy = KeyExists(kRoot + kLayout) &&
                              ReadRawText(kRoot + L"Settings", L"DirectorySearch") != L"<missing>";
    });
    m_pSearch->CloseDialogs();
    EXPECT_TRUE(log.Matches({{WM_CLOSE, 0},
                             {WM_DESTROY, 0},
                             {WM_NCDESTROY, 0},
                             {HostMessage::kId, 1, kit::kParam, HostMessage::kWindowDestroyed}}));
    EXPECT_TRUE(storedBeforeDestroy);
    EXPECT_EQ(m_host.m_messages.back(), (std::pair<WPARAM, LPARAM>{15, 7}));
    HWND second = Open();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(::IsWindowVisible(second));
}

TEST_F(SearchWindowTest, SearchIsEnabledByTextInTheBoxOnlyWhenThereIsAServer) {
    for (bool bServer : {false, true}) {
        if (bServer)
            AddAccount(kServer, DirectoryPort());
        ASSERT_NE(Open(), nullptr);
        // The command states are brought up to date once the window is idle.
        EXPECT_TRUE(kit::PumpUntil([&] { return !ToolbarEnabled(ID_FILE_SEARCH); }));
        kit::TypeText(SearchEdit(), L"John");
        EXPECT_TRUE(kit::PumpUntilInputDone());
        kit::MessageLog updates;
        updates.Watch(ToolBar(), {WM_IDLEUPDATECMDUI});
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
        EXPECT_TRUE(kit::PumpUntil([&] { return !updates.Seen().empty(); }));
        EXPECT_EQ(ToolbarEnabled(ID_FILE_SEARCH), bServer);
        if (!bServer) {
            EXPECT_TRUE(kit::ListHeaders(List()).empty());
        }
        m_pSearch->CloseDialogs();
    }
}

TEST_F(SearchWindowTest, MenusAndToolbarFollowTheUsersRights) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    std::vector<kit::MenuItem> full = kit::ReadMenu(::GetMenu(m_hWnd));
    ASSERT_EQ(full.size(), 4u);
    EXPECT_EQ(full[0].text, Text(2739));
    EXPECT_NE(kit::FindMenuItem(full, ID_ADD_TO_DIRECTORY), nullptr);
    EXPECT_GE(kit::ToolbarButtonState(ToolBar(), ID_ADD_TO_DIRECTORY), 0);
    EXPECT_GE(kit::ToolbarButtonState(ToolBar(), ID_EDIT_PROPERTIES), 0);
    m_pSearch->CloseDialogs();

    SetOption(115, 4); // no phone directory
    SetOption(117, 4); // no public search changes
    ASSERT_NE(Open(), nullptr);
    std::vector<kit::MenuItem> reduced = kit::ReadMenu(::GetMenu(m_hWnd));
    ASSERT_EQ(reduced.size(), 3u); // no Edit menu
    EXPECT_EQ(reduced[1].text, Text(2791));
    EXPECT_EQ(kit::FindMenuItem(reduced, ID_ADD_TO_DIRECTORY), nullptr);
    EXPECT_EQ(kit::FindMenuItem(reduced, ID_ADD_PUBLIC_DIRECTORY), nullptr);
    const auto& file = reduced[0].children;
    for (size_t i = 1; i < file.size(); ++i)
        EXPECT_FALSE(file[i].separator && file[i - 1].separator) << "double separator at " << i;
    EXPECT_EQ(kit::ToolbarButtonState(ToolBar(), ID_ADD_TO_DIRECTORY), -1);
    EXPECT_EQ(kit::ToolbarButtonState(ToolBar(), ID_EDIT_PROPERTIES), -1);
    TBBUTTON last{};
    const auto count = ::SendMessageW(ToolBar(), TB_BUTTONCOUNT, 0, 0);
    ASSERT_TRUE(
        ::SendMessageW(ToolBar(), TB_GETBUTTON, count - 1, reinterpret_cast<LPARAM>(&last)));
    EXPECT_FALSE(last.fsStyle & BTNS_SEP);
}

TEST_F(SearchWindowTest, MenuSelectionAndToolbarHoverShowTheirPromptsWhichAreTheTooltips) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    auto prompt = [&](UINT nID) {
        std::wstring text = Text(nID);
        return text.substr(0, text.find(L'\n'));
    };
    HWND status = kit::FindChild(m_hWnd, AFX_IDW_STATUS_BAR);
    EXPECT_EQ(kit::StatusText(status), prompt(3115));
    kit::MessageLog log;
    log.Watch(status, {SB_SETTEXTW});
    {
        kit::PopupMenuCatcher menu; // closes the File menu once it is open
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, 'f');
        EXPECT_TRUE(menu.Shown());
    }
    // The highlighted first item's prompt while the menu is open, "Ready" after.
    EXPECT_TRUE(
        log.Matches({{SB_SETTEXTW, 0, 0, 0, prompt(3461)}, {SB_SETTEXTW, 0, 0, 0, prompt(3115)}}));

    POINT server = ButtonMiddle(ID_SERVER_BUTTON);
    POINT onScreen = server;
    ::ClientToScreen(ToolBar(), &onScreen);
    ::SetCursorPos(onScreen.x, onScreen.y);
    ::PostMessageW(ToolBar(), WM_MOUSEMOVE, 0, MAKELPARAM(server.x, server.y));
    EXPECT_TRUE(kit::PumpUntil([&] { return kit::StatusText(status) == prompt(3804); }))
        << "the status bar says \"" << CString(kit::StatusText(status).c_str()).ToUtf8() << "\"";

    // The tooltips are built from the prompts once, at the first hit test: every button
    // but the separators and the search box has a tip; ids are index + 1.
    HWND toolbar = ToolBar();
    POINT search = ButtonMiddle(ID_FILE_SEARCH);
    ::SendMessageW(toolbar, WM_NCHITTEST, 0, MAKELPARAM(search.x, search.y));
    std::vector<HWND> tips = BuiltTooltips(toolbar);
    ASSERT_EQ(tips.size(), 1u);
    const auto tools = ::SendMessageW(tips[0], TTM_GETTOOLCOUNT, 0, 0);
    const int nSearch =
        static_cast<int>(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_FILE_SEARCH, 0));
    EXPECT_EQ(ToolText(tips[0], toolbar, nSearch + 1), L"Search");
    ::SendMessageW(toolbar, WM_NCHITTEST, 0, MAKELPARAM(search.x, search.y));
    EXPECT_EQ(BuiltTooltips(toolbar), tips);
    EXPECT_EQ(::SendMessageW(tips[0], TTM_GETTOOLCOUNT, 0, 0), tools);
}
