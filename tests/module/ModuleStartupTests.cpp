// The module as the host sees it: loading, the message filter that gives its modeless
// windows their keyboard handling, and HTML Help binding. (Its profile root is where
// the window tests read the placement it stores.)
#include "Framework.h"
#include "HtmlHelp.h"
#include "TestDialogs.h"
#include "UiKit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class KeyboardDialog : public CDialog {
public:
    KeyboardDialog() : CDialog(IDD_TEST_DIALOG) {}
    int m_okCount = 0;
    void OnOK() override { ++m_okCount; }
};

class ThrowingWindow : public CWnd {
public:
    BOOL PreTranslateMessage(MSG*) override { throw std::runtime_error("handler failed"); }
};

} // namespace

TEST(ModuleTest, FilterGivesModelessDialogsTabAndEnterAndSurvivesAThrowingHandler) {
    HMODULE hModule = LoadLibraryW(L"dirsearch.dll");
    ASSERT_NE(hModule, nullptr);
    const auto filter = reinterpret_cast<BOOL (*)(MSG*)>(
        reinterpret_cast<void*>(GetProcAddress(hModule, "FilterDllMsg")));
    ASSERT_NE(filter, nullptr);
    KeyboardDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    dlg.ShowWindow(SW_SHOW);
    HWND first = dlg.GetDlgItem(IDC_FIRST_EDIT);
    HWND second = dlg.GetDlgItem(IDC_SECOND_EDIT);
    ::SetFocus(first);
    ASSERT_EQ(GetFocus(), first);

    // A host that does not filter: Tab stays in the edit, Enter does nothing.
    kit::SetMessageFilter(nullptr);
    kit::PressKey(first, VK_TAB);
    kit::PressKey(first, VK_RETURN);
    EXPECT_TRUE(kit::PumpUntilInputDone());
    EXPECT_TRUE(kit::PumpPending());
    EXPECT_EQ(GetFocus(), first);
    EXPECT_EQ(dlg.m_okCount, 0);

    kit::SetMessageFilter(filter);
    kit::PressKey(first, VK_TAB);
    EXPECT_TRUE(kit::PumpUntil([&] { return GetFocus() == second; }, 2000));
    kit::PressKey(second, VK_RETURN);
    EXPECT_TRUE(kit::PumpUntil([&] { return dlg.m_okCount == 1; }, 2000));
    kit::SetMessageFilter(nullptr);
    dlg.DestroyWindow();

    // A handler that throws: the filter says it did not handle the message.
    ThrowingWindow wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, L"Throws", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    MSG msg{wnd.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_FALSE(filter(&msg));
    wnd.DestroyWindow();
    EXPECT_TRUE(FreeLibrary(hModule));
}

namespace {
int g_loadAttempts = 0;
HMODULE WINAPI RefuseToLoad(LPCWSTR) {
    ++g_loadAttempts;
    return nullptr;
}
} // namespace

TEST(HtmlHelpTest, MissingHelpGivesNullAndIsNotSearchedAgainThePlatformsBinds) {
    g_loadAttempts = 0;
    CHtmlHelpBinding binding(RefuseToLoad);
    EXPECT_EQ(binding.Call(nullptr, L"help.chm", 15, 142), nullptr);
    int firstAttempts = g_loadAttempts;
    EXPECT_GE(firstAttempts, 1); // the registered path when there is one, then the file name
    EXPECT_LE(firstAttempts, 2);
    EXPECT_EQ(binding.Call(nullptr, L"help.chm", 15, 142), nullptr);
    EXPECT_EQ(g_loadAttempts, firstAttempts);
    EXPECT_NE(CHtmlHelpBinding().Resolve(), nullptr); // the platform's library binds
}
