// Checks the UI test kit itself against plain Win32 windows, so that GUI tests of
// the module can rely on it.
#include "UiKit.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

namespace {

// A top-level window whose messages a test can watch and answer.
class TestWindow {
public:
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    explicit TestWindow(Handler handler = {}) : m_handler(std::move(handler)) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = L"KitTestWindow";
            return RegisterClassW(&wc);
        }();
        m_hwnd =
            CreateWindowExW(0, MAKEINTATOM(atom), L"Kit test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                            40, 420, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }
    ~TestWindow() { DestroyWindow(m_hwnd); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }

    HWND AddChild(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT r) {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, m_hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    // WM_COMMAND wParams received, in order.
    std::vector<WPARAM> commands;

    bool Received(UINT id, UINT code = 0) const {
        return std::find(commands.begin(), commands.end(), MAKEWPARAM(id, code)) != commands.end();
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) {
            if (msg == WM_COMMAND)
                self->commands.push_back(wParam);
            if (self->m_handler) {
                if (auto result = self->m_handler(hwnd, msg, wParam, lParam))
                    return *result;
            }
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    Handler m_handler;
    HWND m_hwnd = nullptr;
};

// Runs code on a thread of its own; Finish() pumps until it has returned.
class Worker {
public:
    explicit Worker(std::function<void()> work)
        : m_done(std::make_shared<std::atomic<bool>>(false)),
          m_thread([work = std::move(work), done = m_done] {
              work();
              *done = true;
          }) {}
    ~Worker() {
        // A worker stuck in an unanswered box must not hang the whole run.
        if (*m_done)
            m_thread.join();
        else
            m_thread.detach();
    }
    bool Finish(DWORD timeoutMs = 5000) {
        return kit::PumpUntil([this] { return m_done->load(); }, timeoutMs);
    }

private:
    std::shared_ptr<std::atomic<bool>> m_done;
    std::thread m_thread;
};

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

MenuHandle ContextMenu() {
    HMENU sort = CreatePopupMenu();
    AppendMenuW(sort, MF_STRING, 201, L"&Name");
    AppendMenuW(sort, MF_STRING, 202, L"&Company");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 101, L"&Open");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"&Delete");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 103, L"Show &details\tCtrl+D");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sort), L"Sort &by");
    return MenuHandle(menu);
}

// ---------------------------------------------------------------- message boxes

TEST(KitMessageBox, WorkerThreadBoxIsReadAndAnswered) {
    std::atomic<int> result{0};
    Worker worker([&] {
        result =
            MessageBoxW(nullptr, L"Delete 3 entries?", L"Directory", MB_YESNO | MB_ICONQUESTION);
    });

    kit::MessageBoxInfo box;
    ASSERT_TRUE(kit::WaitForMessageBox(box));
    EXPECT_EQ(box.text, L"Delete 3 entries?");
    EXPECT_EQ(box.caption, L"Directory");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_NE(box.threadId, GetCurrentThreadId());
    EXPECT_FALSE(kit::AnswerMessageBox(box, IDCANCEL)) << "the box has no Cancel button";

    EXPECT_TRUE(kit::AnswerMessageBox(box, IDNO));
    ASSERT_TRUE(worker.Finish());
    EXPECT_EQ(result, IDNO);
    EXPECT_TRUE(kit::FindMessageBoxes().empty());
}

TEST(KitMessageBox, OwnThreadBoxIsAnsweredByWatcher) {
    kit::MessageBoxWatcher watcher(IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"Save changes?", L"Entry", MB_YESNOCANCEL | MB_ICONWARNING),
              IDYES);

    auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Save changes?");
    EXPECT_EQ(seen[0].caption, L"Entry");
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(seen[0].threadId, GetCurrentThreadId());
    EXPECT_EQ(seen[0].answer, IDYES);
}

TEST(KitMessageBox, WatcherAnswersBoxFromPostedHandler) {
    int result = 0;
    TestWindow window([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_APP)
            return std::nullopt;
        result = MessageBoxW(hwnd, L"Discard the search results?", L"Directory", MB_OKCANCEL);
        return 0;
    });
    kit::MessageBoxWatcher watcher([](const kit::MessageBoxInfo& box) {
        return box.text.find(L"Discard") != std::wstring::npos ? IDCANCEL : IDOK;
    });

    PostMessageW(window.hwnd(), WM_APP, 0, 0);
    EXPECT_TRUE(kit::PumpUntil([&] { return result != 0; }));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(watcher.Count(), 1u);
}

// ---------------------------------------------------------------- popup menus

TEST(KitPopupMenu, RecordsItemsAndChoosesInSubmenu) {
    MenuHandle menu = ContextMenu();
    BOOL tracked = FALSE;
    TestWindow owner([&](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_CONTEXTMENU)
            return std::nullopt;
        tracked = TrackPopupMenu(menu.get(), TPM_LEFTALIGN, GET_X_LPARAM(lParam),
                                 GET_Y_LPARAM(lParam), 0, hwnd, nullptr);
        return 0;
    });
    kit::PopupMenuCatcher catcher;
    catcher.ChooseText(L"Company");

    // A right-click reaches DefWindowProc, which asks for the context menu.
    EXPECT_TRUE(kit::ClickAt(owner.hwnd(), POINT{60, 60}, /*right=*/true));
    EXPECT_TRUE(kit::PumpUntil([&] { return owner.Received(202); }));
    EXPECT_TRUE(tracked);
    ASSERT_TRUE(catcher.Shown());
    EXPECT_TRUE(catcher.Chosen()) << catcher.Problem();
    EXPECT_EQ(catcher.Owner(), owner.hwnd());

    const auto& items = catcher.Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].id, 101u);
    EXPECT_EQ(items[0].Label(), L"Open");
    EXPECT_FALSE(items[0].grayed);
    EXPECT_TRUE(items[1].grayed);
    EXPECT_TRUE(items[2].separator);
    EXPECT_TRUE(items[3].checked);
    EXPECT_EQ(items[3].text, L"Show &details\tCtrl+D");
    EXPECT_EQ(items[3].Label(), L"Show details");
    ASSERT_TRUE(items[4].submenu);
    ASSERT_EQ(items[4].children.size(), 2u);
    EXPECT_EQ(items[4].children[1].id, 202u);
    EXPECT_EQ(kit::FindMenuItem(items, L"Name"), &items[4].children[0]);
    EXPECT_FALSE(owner.Received(201));
}

TEST(KitPopupMenu, ReturnCmdGivesChosenId) {
    TestWindow owner;
    MenuHandle menu = ContextMenu();
    kit::PopupMenuCatcher catcher;
    catcher.ChooseId(103);
    EXPECT_EQ(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD, 100, 100, owner.hwnd(), nullptr), 103);
}

TEST(KitPopupMenu, DismissedOrGrayedChoiceReturnsZero) {
    TestWindow owner;
    MenuHandle menu = ContextMenu();
    {
        kit::PopupMenuCatcher catcher; // no choice: closes the menu
        EXPECT_EQ(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD, 100, 100, owner.hwnd(), nullptr), 0);
        EXPECT_TRUE(catcher.Shown());
    }
    kit::PopupMenuCatcher catcher;
    catcher.ChooseId(102);
    EXPECT_EQ(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD, 100, 100, owner.hwnd(), nullptr), 0);
    EXPECT_FALSE(catcher.Chosen());
    EXPECT_NE(catcher.Problem().find(L"grayed"), std::wstring::npos);
}

// ---------------------------------------------------------------- keyboard and mouse

struct Seen {
    bool byFilter;
    UINT msg;
    WPARAM wParam;
    bool ctrl, shift;
};
std::vector<Seen> g_seen;
WNDPROC g_editProc = nullptr;

bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

BOOL RecordingFilter(MSG* msg) {
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR)
        g_seen.push_back({true, msg->message, msg->wParam, KeyDown(VK_CONTROL), KeyDown(VK_SHIFT)});
    // Handled here, as a module's accelerator would: the edit never sees it.
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}

LRESULT CALLBACK RecordingEdit(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN || msg == WM_CHAR)
        g_seen.push_back({false, msg, wParam, KeyDown(VK_CONTROL), KeyDown(VK_SHIFT)});
    return CallWindowProcW(g_editProc, hwnd, msg, wParam, lParam);
}

// Index of the first record matching, or -1.
int Find(bool byFilter, UINT msg, WPARAM wParam) {
    for (size_t i = 0; i < g_seen.size(); ++i) {
        if (g_seen[i].byFilter == byFilter && g_seen[i].msg == msg && g_seen[i].wParam == wParam)
            return static_cast<int>(i);
    }
    return -1;
}

TEST(KitInput, KeysAndTextTravelThroughFilterToEdit) {
    TestWindow window;
    HWND edit = window.AddChild(L"Edit", L"", WS_BORDER | ES_AUTOHSCROLL, 10, {10, 10, 250, 34});
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingEdit)));
    SetFocus(edit);
    g_seen.clear();
    kit::SetMessageFilter(RecordingFilter);

    kit::TypeText(edit, L"Zoë");
    kit::PressKey(edit, VK_RETURN);
    kit::PressKey(edit, VK_TAB);
    kit::PressKey(edit, VK_ESCAPE);
    kit::PressKey(edit, 'A', /*ctrl=*/true);
    EXPECT_TRUE(kit::PumpUntilInputDone());
    kit::SetMessageFilter(nullptr);

    EXPECT_EQ(kit::WindowText(edit), L"Zoë");
    // Each character arrives before the next key, as from a real keyboard.
    EXPECT_LT(Find(false, WM_CHAR, L'Z'), Find(false, WM_KEYDOWN, 'O'));
    EXPECT_LT(Find(false, WM_CHAR, L'o'), Find(false, WM_CHAR, L'ë'));
    const int z = Find(false, WM_KEYDOWN, 'Z');
    ASSERT_GE(z, 0);
    EXPECT_TRUE(g_seen[z].shift);
    for (UINT vk : {VK_RETURN, VK_TAB}) {
        const int byFilter = Find(true, WM_KEYDOWN, vk), byEdit = Find(false, WM_KEYDOWN, vk);
        EXPECT_GE(byFilter, 0) << vk;
        EXPECT_LT(byFilter, byEdit) << vk;
    }
    EXPECT_GE(Find(true, WM_KEYDOWN, VK_ESCAPE), 0);
    EXPECT_LT(Find(false, WM_KEYDOWN, VK_ESCAPE), 0) << "the filter handled Escape";
    const int a = Find(false, WM_KEYDOWN, 'A');
    ASSERT_GE(a, 0);
    EXPECT_TRUE(g_seen[a].ctrl);
    EXPECT_GT(Find(false, WM_CHAR, 0x01), a) << "TranslateMessage saw Ctrl held too";
    EXPECT_FALSE(KeyDown(VK_CONTROL)) << "released afterwards";
}

TEST(KitInput, ClickPressesButton) {
    TestWindow window;
    HWND button = window.AddChild(L"Button", L"Search", BS_PUSHBUTTON, 20, {10, 10, 110, 40});
    HWND disabled =
        window.AddChild(L"Button", L"Stop", BS_PUSHBUTTON | WS_DISABLED, 21, {120, 10, 220, 40});
    EXPECT_TRUE(kit::Click(button));
    EXPECT_FALSE(kit::Click(disabled));
    EXPECT_TRUE(kit::PumpUntil([&] { return window.Received(20, BN_CLICKED); }));
    EXPECT_TRUE(kit::PumpUntilInputDone());
    EXPECT_FALSE(window.Received(21, BN_CLICKED));
}

TEST(KitInput, InputForDestroyedWindowDoesNotHoldUpTheRest) {
    TestWindow window;
    HWND gone = window.AddChild(L"Edit", L"", 0, 10, {10, 10, 200, 30});
    HWND edit = window.AddChild(L"Edit", L"", 0, 11, {10, 40, 200, 60});
    kit::TypeText(gone, L"lost");
    DestroyWindow(gone);
    kit::TypeText(edit, L"kept");
    EXPECT_TRUE(kit::PumpUntilInputDone());
    EXPECT_EQ(kit::WindowText(edit), L"kept");
}

// ---------------------------------------------------------------- reading controls

TEST(KitRead, ListViewRowsCellsAndHeaders) {
    TestWindow window;
    HWND list =
        window.AddChild(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS, 30, {0, 0, 400, 200});
    const wchar_t* headers[] = {L"Name", L"Company", L"Phone"};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(headers[c]);
        column.cx = 120;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* rows[][3] = {{L"Ann Lee", L"Acme", L"100"},
                                {L"Bo Zoë", L"Initech", L"200"},
                                {L"Cy Ng", L"Globex", L"300"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        item.lParam = 1000 + r;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 3; ++c) {
            item.mask = LVIF_TEXT;
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(rows[r][c]);
            SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
        }
    }

    EXPECT_EQ(kit::ListRowCount(list), 3);
    EXPECT_EQ(kit::ListColumnCount(list), 3);
    EXPECT_EQ(kit::ListHeaders(list), (std::vector<std::wstring>{L"Name", L"Company", L"Phone"}));
    EXPECT_EQ(kit::ListCell(list, 1, 0), L"Bo Zoë");
    EXPECT_EQ(kit::ListCell(list, 2, 1), L"Globex");
    EXPECT_EQ(kit::ListRow(list, 0), (std::vector<std::wstring>{L"Ann Lee", L"Acme", L"100"}));
    EXPECT_EQ(kit::ListItemData(list, 2), 1002);
    const auto headerItems =
        kit::HeaderItems(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)));
    ASSERT_EQ(headerItems.size(), 3u);
    EXPECT_EQ(headerItems[2].text, L"Phone");
    EXPECT_EQ(headerItems[2].width, 120);

    EXPECT_TRUE(kit::ListSelectedRows(list).empty());
    EXPECT_TRUE(kit::ClickListRow(list, 1));
    EXPECT_TRUE(kit::PumpUntilInputDone());
    EXPECT_TRUE(kit::PumpUntil([&] { return kit::ListSelectedRows(list) == std::vector<int>{1}; }));
    EXPECT_EQ(kit::ListFocusedRow(list), 1);
}

TEST(KitRead, ToolbarStatusBarComboAndMenuBar) {
    TestWindow window;
    HWND toolbar = window.AddChild(TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT, 40, {});
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {
        {I_IMAGENONE, 301, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, 0, BTNS_SEP, {}, 0, 0},
        {I_IMAGENONE, 302, 0, BTNS_BUTTON, {}, 0, 0},
        {I_IMAGENONE, 303, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
        {I_IMAGENONE, 304, TBSTATE_HIDDEN, BTNS_BUTTON, {}, 0, 0}};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
    EXPECT_EQ(kit::ToolbarButtonCount(toolbar), 5);
    EXPECT_TRUE(kit::ToolbarButtons(toolbar)[1].separator());
    EXPECT_TRUE(kit::FindToolbarButton(toolbar, 301)->enabled());
    EXPECT_FALSE(kit::FindToolbarButton(toolbar, 302)->enabled());
    EXPECT_TRUE(kit::FindToolbarButton(toolbar, 303)->checked());
    EXPECT_TRUE(kit::FindToolbarButton(toolbar, 304)->hidden());
    EXPECT_FALSE(kit::FindToolbarButton(toolbar, 399));

    HWND status = window.AddChild(STATUSCLASSNAMEW, L"", 0, 41, {});
    int parts[] = {100, -1};
    SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"12 entries found"));
    EXPECT_EQ(kit::StatusPartCount(status), 2);
    EXPECT_EQ(kit::StatusText(status, 1), L"12 entries found");

    HWND combo = window.AddChild(L"ComboBox", L"", CBS_DROPDOWNLIST, 42, {10, 60, 200, 200});
    for (const wchar_t* text : {L"Name", L"Company", L"Phone"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(kit::ComboItems(combo), (std::vector<std::wstring>{L"Name", L"Company", L"Phone"}));
    EXPECT_TRUE(kit::SelectComboItem(combo, L"Phone"));
    EXPECT_FALSE(kit::SelectComboItem(combo, L"Fax"));
    EXPECT_EQ(kit::ComboSelection(combo), 2);
    EXPECT_TRUE(window.Received(42, CBN_SELCHANGE));

    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 401, L"&Search...\tCtrl+F");
    AppendMenuW(file, MF_STRING | MF_GRAYED, 402, L"&Print");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    SetMenu(window.hwnd(), bar); // destroyed with the window
    const auto menu = kit::ReadMenu(GetMenu(window.hwnd()));
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].Label(), L"File");
    const kit::MenuItem* print = kit::FindMenuItem(menu, 402u);
    ASSERT_TRUE(print);
    EXPECT_TRUE(print->grayed);
    EXPECT_EQ(kit::FindMenuItem(menu, L"Search...")->id, 401u);
}

TEST(KitScreenshot, WritesBitmapOfWindow) {
    TestWindow window;
    window.AddChild(L"Button", L"Search", BS_PUSHBUTTON, 20, {10, 10, 110, 40});
    kit::PumpFor(20);
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"kit-screenshot.bmp";

    ASSERT_TRUE(kit::SaveScreenshot(window.hwnd(), path));
    RECT rc;
    GetWindowRect(window.hwnd(), &rc);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file));
    const DWORD expected = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) +
                           (rc.right - rc.left) * (rc.bottom - rc.top) * 4;
    EXPECT_EQ(file.nFileSizeLow, expected);
    DeleteFileW(path.c_str());
}

} // namespace
