// The window inside a host that has an application object of its own, as the
// telephone application has: whatever way a message arrives, the window works
// with the module's settings and resources, never the host's.
#include "HostSession.h"
#include "RegistrySandbox.h"

#include "resource.h"

#include <cwchar>
#include <functional>

using namespace host;

namespace {

const wchar_t kHostKey[] = L"Software\\Quillet Test Host";
const wchar_t kSettings[] = L"Software\\Tovana\\Tovana Quillet\\Settings";

class HostAppTest : public SearchWindowTest {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kHostKey);
        SearchWindowTest::SetUp();
        AddAccount(kServer, DirectoryPort());
    }
    // The host's own application object, beside the module's.
    CWinApp m_hostApp{L"Quillet Test Host"};
};

} // namespace

// Where the window was, and whether it was maximised, is stored under the module's
// key whichever way it closes, and it opens there again; Escape alone leaves the
// columns as they were stored.
TEST_F(HostAppTest, EveryWayOfClosingStoresThePlacementUnderTheModulePromptsAndSizeAreItsToo) {
    const std::wstring layout = Root() + L"\\ListControl\\DirectorySearch\\" + kServer;
    const struct {
        const char* pszWay;
        std::function<void()> close;
        bool bSavesLayout;
    } ways[] = {
        {"title bar", [&] { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }, true},
        {"File > Close", [&] { ::PostMessageW(m_hWnd, WM_COMMAND, ID_CLOSE_WINDOW, 0); }, true},
        {"Escape", [&] { kit::PressKey(List(), VK_ESCAPE); }, false},
        {"CloseDialogs", [&] { m_pSearch->CloseDialogs(); }, true},
    };
    int left = 30;
    for (const auto& way : ways) {
        for (bool maximised : {false, true}) {
            SCOPED_TRACE(std::string(way.pszWay) + (maximised ? ", maximised" : ", restored"));
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettings, L"DirectorySearch");
            ASSERT_NE(Open(), nullptr);
            left += 10;
            ::SetWindowPos(m_hWnd, nullptr, left, 50, 900, 500, SWP_NOZORDER);
            ::ShowWindow(m_hWnd, maximised ? SW_MAXIMIZE : SW_SHOWNORMAL);
            RegDeleteTreeW(HKEY_CURRENT_USER, layout.c_str());
            way.close();
            ASSERT_TRUE(kit::PumpUntil([&] { return !::IsWindow(m_hWnd); }, 3000));
            EXPECT_EQ(KeyExists(layout), way.bSavesLayout);

            unsigned flags = 9, show = 0;
            int v[8] = {};
            ASSERT_EQ(swscanf(ReadRawText(kSettings, L"DirectorySearch").c_str(),
                              L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &flags, &show, &v[0], &v[1], &v[2],
                              &v[3], &v[4], &v[5], &v[6], &v[7]),
                      10);
            EXPECT_EQ(flags, maximised ? 2u : 0u);
            const std::vector<int> where{left, 50, left + 900, 550};
            EXPECT_EQ(std::vector<int>(v + 4, v + 8), where);

            ASSERT_NE(Open(), nullptr);
            WINDOWPLACEMENT wp{};
            wp.length = sizeof(wp);
            ::GetWindowPlacement(m_hWnd, &wp);
            const RECT& rc = wp.rcNormalPosition;
            EXPECT_EQ((std::vector<int>{rc.left, rc.top, rc.right, rc.bottom}), where);
            // The toolbar above the list and the status bar below it, neither covered.
            RECT bar, list, status;
            ::GetWindowRect(ToolBar(), &bar);
            ::GetWindowRect(List(), &list);
            ::GetWindowRect(kit::FindChild(m_hWnd, 59393), &status);
            EXPECT_TRUE(::IsWindowVisible(ToolBar()));
            EXPECT_GE(list.top, bar.bottom) << "the list covers the toolbar";
            EXPECT_LE(list.bottom, status.top) << "the list covers the status bar";
            EXPECT_GT(list.bottom - list.top, 50);
            m_pSearch->CloseDialogs();
        }
    }
    EXPECT_FALSE(KeyExists(kHostKey)) << "something was stored under the host's key";
    ASSERT_NE(Open(), nullptr);
    // A command without a translated prompt falls back to the module's string table.
    ::SendMessageW(m_hWnd, WM_SETMESSAGESTRING, IDR_MAINFRAME_NAME, 0);
    EXPECT_EQ(kit::StatusText(kit::FindChild(m_hWnd, 59393)), L"Tovana Quillet");

    // The extended template's cx and cy (words 11 and 12), in pixels, with the frame.
    HMODULE hModule = GetModuleHandleW(L"dirsearch.dll");
    HRSRC hResource = FindResourceW(hModule, MAKEINTRESOURCEW(IDD_DIRECTORY_SEARCH), RT_DIALOG);
    const auto* pTemplate =
        static_cast<const short*>(LockResource(LoadResource(hModule, hResource)));
    RECT rc{0, 0, pTemplate[11], pTemplate[12]};
    ASSERT_TRUE(MapDialogRect(m_hWnd, &rc));
    AdjustWindowRectEx(&rc, GetWindowLongW(m_hWnd, GWL_STYLE), TRUE,
                       GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    SetWindowPos(m_hWnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    EXPECT_EQ(window.right - window.left, rc.right - rc.left);
    EXPECT_EQ(window.bottom - window.top, rc.bottom - rc.top);
}
