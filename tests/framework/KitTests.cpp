// The UI kit's own contract, on plain Win32 windows: input arrives in a real
// keyboard's order through the host's filter, message boxes on any thread are read
// and answered, popup menus are read and chosen from, message logs compare in order.
#include "MessageLog.h"
#include "UiKit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A plain top-level window of a system class, destroyed with the object.
struct Window {
    explicit Window(const wchar_t* className)
        : hwnd(CreateWindowExW(0, className, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                               200, nullptr, nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(hwnd); }
    HWND hwnd;
};

std::vector<WPARAM> g_filtered; // keys the filter saw go down, in order

BOOL FilterTakingEscape(MSG* msg) {
    if (msg->message == WM_KEYDOWN)
        g_filtered.push_back(msg->wParam);
    // Handled here, as a module's accelerator would be: the edit never sees it.
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}

kit::Msg Key(UINT message, WPARAM key) {
    return kit::Msg{message, 0, kit::kParam, key};
}

} // namespace

TEST(KitInput, KeysArriveInKeyboardOrderThroughTheFilter) {
    Window edit(L"Edit");
    SetFocus(edit.hwnd);
    kit::MessageLog log;
    log.Watch(edit.hwnd, {WM_KEYDOWN, WM_CHAR});
    bool shiftAtZ = false, ctrlAtA = false;
    log.OnMessage(0, WM_KEYDOWN, [&] {
        const UINT_PTR key = log.Seen().back().param;
        shiftAtZ |= key == 'Z' && GetKeyState(VK_SHIFT) < 0;
        ctrlAtA |= key == 'A' && GetKeyState(VK_CONTROL) < 0;
    });
    g_filtered.clear();
    kit::SetMessageFilter(FilterTakingEscape);
    kit::TypeText(edit.hwnd, L"Zo\u00eb");
    kit::PressKey(edit.hwnd, VK_ESCAPE);
    kit::PressKey(edit.hwnd, 'A', /*ctrl=*/true);
    EXPECT_TRUE(kit::PumpUntilInputDone());
    kit::SetMessageFilter(nullptr);

    EXPECT_EQ(kit::WindowText(edit.hwnd), L"Zo\u00eb");
    // Each character before the next key; one off the layout comes as WM_CHAR alone.
    EXPECT_TRUE(
        log.Matches({Key(WM_KEYDOWN, VK_SHIFT), Key(WM_KEYDOWN, 'Z'), Key(WM_CHAR, 'Z'),
                     Key(WM_KEYDOWN, 'O'), Key(WM_CHAR, 'o'), Key(WM_CHAR, L'\u00eb'),
                     Key(WM_KEYDOWN, VK_CONTROL), Key(WM_KEYDOWN, 'A'), Key(WM_CHAR, 0x01)}));
    EXPECT_EQ(g_filtered, (std::vector<WPARAM>{VK_SHIFT, 'Z', 'O', VK_ESCAPE, VK_CONTROL, 'A'}));
    EXPECT_TRUE(shiftAtZ);
    EXPECT_TRUE(ctrlAtA);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) < 0) << "released afterwards";
}

TEST(KitMessageBox, BoxesOnAnyThreadAreReadAndAnswered) {
    kit::MessageBoxWatcher watcher(
        [](const kit::MessageBoxInfo& box) { return box.caption == L"Directory" ? IDNO : IDYES; });
    std::atomic<int> workerAnswer{0};
    std::thread worker([&] {
        workerAnswer =
            MessageBoxW(nullptr, L"Delete 3 entries?", L"Directory", MB_YESNO | MB_ICONQUESTION);
    });
    EXPECT_EQ(MessageBoxW(nullptr, L"Save changes?", L"Entry", MB_YESNOCANCEL | MB_ICONWARNING),
              IDYES);
    EXPECT_TRUE(kit::PumpUntil([&] { return workerAnswer != 0; }));
    worker.join();
    EXPECT_EQ(workerAnswer, IDNO);

    std::vector<kit::MessageBoxInfo> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u);
    if (seen[0].caption != L"Entry")
        std::swap(seen[0], seen[1]);
    EXPECT_EQ(seen[0].text, L"Save changes?");
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(seen[0].threadId, GetCurrentThreadId());
    EXPECT_EQ(seen[0].answer, IDYES);
    EXPECT_EQ(seen[1].text, L"Delete 3 entries?");
    EXPECT_EQ(seen[1].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_NE(seen[1].threadId, GetCurrentThreadId());
    EXPECT_EQ(seen[1].answer, IDNO);
}

TEST(KitPopupMenu, ReadsTheMenuAndChoosesInASubmenuButNeverAGrayedItem) {
    Window owner(L"Static");
    HMENU sort = CreatePopupMenu();
    AppendMenuW(sort, MF_STRING, 201, L"&Name");
    AppendMenuW(sort, MF_STRING, 202, L"&Company");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, L"&Delete");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 103, L"Show &details\tCtrl+D");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sort), L"Sort &by");
    {
        kit::PopupMenuCatcher catcher;
        catcher.ChooseText(L"Company");
        EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner.hwnd, nullptr), 202);
        EXPECT_TRUE(catcher.Chosen()) << catcher.Problem();
        EXPECT_EQ(catcher.Owner(), owner.hwnd);
        const auto& items = catcher.Items();
        ASSERT_EQ(items.size(), 4u);
        EXPECT_TRUE(items[0].grayed);
        EXPECT_TRUE(items[1].separator);
        EXPECT_TRUE(items[2].checked);
        EXPECT_EQ(items[2].text, L"Show &details\tCtrl+D");
        EXPECT_EQ(items[2].Label(), L"Show details");
        EXPECT_EQ(kit::FindMenuItem(items, L"Name"), &items[3].children[0]);
    }
    kit::PopupMenuCatcher grayed;
    grayed.ChooseId(102);
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner.hwnd, nullptr), 0);
    EXPECT_TRUE(grayed.Shown());
    EXPECT_NE(grayed.Problem().find(L"grayed"), std::wstring::npos);
    DestroyMenu(menu);
}

TEST(KitMessageLog, ComparesInOrderWithOptionalEntriesAndNothingElse) {
    Window window(L"Static");
    kit::MessageLog log;
    log.Watch(window.hwnd, {WM_SETTEXT, WM_CLOSE});
    SetWindowTextW(window.hwnd, L"one");
    SendMessageW(window.hwnd, WM_CLOSE, 0, 0); // destroys the window, and the log lets go
    EXPECT_TRUE(
        log.Matches({{WM_SETTEXT, 0, 0, 0, L"one"}, {WM_KEYDOWN, 0, kit::kOptional}, {WM_CLOSE}}));
    EXPECT_FALSE(log.Matches({{WM_CLOSE}, {WM_SETTEXT}}));
    EXPECT_FALSE(log.Matches({{WM_SETTEXT, 0, 0, 0, L"two"}, {WM_CLOSE}}));
    EXPECT_FALSE(log.Matches({{WM_SETTEXT}}));
}
