// The window inside a host that has an application object of its own, as the
// telephone application has: whatever way a message arrives, the window works
// with the module's settings and resources, never the host's.
#include "HostSession.h"

#include "resource.h"

#include <cwchar>
#include <functional>

using namespace host;

namespace {

const wchar_t kHostKey[] = L"Software\\Quillet Test Host";

class HostAppTest : public SearchWindowTest {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kHostKey);
        SearchWindowTest::SetUp();
    }
    void TearDown() override {
        SearchWindowTest::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, kHostKey);
    }
    // The host's own application object, beside the module's.
    CWinApp m_hostApp{L"Quillet Test Host"};
};

// The placement as stored under the module's profile root, read with the raw API.
std::wstring StoredPlacement() {
    wchar_t text[128] = L"";
    DWORD size = sizeof(text);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tovana\\Tovana Quillet\\Settings",
                 L"DirectorySearch", RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

} // namespace

TEST_F(HostAppTest, EveryWayOfClosingStoresThePlacementUnderTheModule) {
    AddAccount(kServer, DirectoryPort());
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"title bar", [&] { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"File > Close", [&] { ::PostMessageW(m_hWnd, WM_COMMAND, ID_CLOSE_WINDOW, 0); }},
        {"Escape", [&] { kit::PressKey(List(), VK_ESCAPE); }},
        {"CloseDialogs", [&] { m_pSearch->CloseDialogs(); }},
    };
    int left = 30;
    for (const auto& [name, close] : ways) {
        for (bool maximised : {false, true}) {
            SCOPED_TRACE(std::string(name) + (maximised ? ", maximised" : ", restored"));
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Tovana\\Tovana Quillet\\Settings",
                               L"DirectorySearch");
            ASSERT_NE(Open(), nullptr);
            left += 10;
            ::ShowWindow(m_hWnd, SW_RESTORE);
            ::SetWindowPos(m_hWnd, nullptr, left, 50, 900, 500, SWP_NOZORDER);
            if (maximised)
                ::ShowWindow(m_hWnd, SW_MAXIMIZE);
            close();
            ASSERT_TRUE(kit::PumpUntil([&] { return !::IsWindow(m_hWnd); }, 3000));

            unsigned flags = 9, show = 0;
            int v[8] = {};
            ASSERT_EQ(swscanf(StoredPlacement().c_str(), L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &flags,
                              &show, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]),
                      10);
            EXPECT_EQ(flags, maximised ? 2u : 0u);
            EXPECT_EQ(v[4], left);
            EXPECT_EQ(v[5], 50);
            EXPECT_EQ(v[6], left + 900);
            EXPECT_EQ(v[7], 550);
        }
    }
    HKEY hKey = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kHostKey, 0, KEY_READ, &hKey), ERROR_SUCCESS)
        << "something was stored under the host's key";
}

TEST_F(HostAppTest, PromptsComeFromTheModulesStrings) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    // A command without a translated prompt falls back to the module's string table.
    ::SendMessageW(m_hWnd, WM_SETMESSAGESTRING, IDR_MAINFRAME_NAME, 0);
    EXPECT_EQ(kit::StatusText(kit::FindChild(m_hWnd, 59393)), L"Tovana Quillet");
}

TEST_F(SearchWindowTest, TheWindowIsNeverSmallerThanItsTemplateWithItsFrame) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    // The template's size in dialog units, turned into pixels with the dialog's font.
    HMODULE hModule = GetModuleHandleW(L"dirsearch.dll");
    HRSRC hResource = FindResourceW(hModule, MAKEINTRESOURCEW(IDD_DIRECTORY_SEARCH), RT_DIALOG);
    ASSERT_NE(hResource, nullptr);
    const auto* pTemplate =
        static_cast<const WORD*>(LockResource(LoadResource(hModule, hResource)));
    ASSERT_EQ(pTemplate[1], 0xFFFF); // an extended template: cx and cy follow at words 11, 12
    RECT rc{0, 0, static_cast<short>(pTemplate[11]), static_cast<short>(pTemplate[12])};
    ASSERT_TRUE(MapDialogRect(m_hWnd, &rc));
    AdjustWindowRectEx(&rc, GetWindowLongW(m_hWnd, GWL_STYLE), TRUE,
                       GetWindowLongW(m_hWnd, GWL_EXSTYLE));

    MINMAXINFO info{};
    SendMessageW(m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, rc.right - rc.left);
    EXPECT_EQ(info.ptMinTrackSize.y, rc.bottom - rc.top);
    SetWindowPos(m_hWnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    EXPECT_EQ(window.right - window.left, rc.right - rc.left);
    EXPECT_EQ(window.bottom - window.top, rc.bottom - rc.top);
}
