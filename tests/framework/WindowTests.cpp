// Windows, dialogs, command routing and the application profile, on real windows; how
// messages reach window objects: past subclasses of other code, and never with an
// exception escaping into the system's frames.
#include "Framework.h"
#include "RegistrySandbox.h"
#include "TestDialogs.h"
#include "UiKit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

TEST(ProfileTest, ValuesLandUnderKeyApplicationAndSectionAndReadBackOrAsDefault) {
    CRegistrySandbox sandbox{L"Quillet Test Profile"};
    CWinApp app{L"Quillet Test Profile"};
    app.SetRegistryKey(L"Tovana");
    EXPECT_TRUE(app.WriteProfileString(L"Config\\LDAPServers", L"Current", L"Main office"));
    EXPECT_TRUE(app.WriteProfileInt(L"Settings\\Nested", L"Style", 1));
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"Text", L"12"));
    // Section names are registry paths; their case does not matter to the registry.
    EXPECT_EQ(ReadRawText(sandbox.Path(L"Config\\LDapServers"), L"Current"), L"Main office");
    int style = 0;
    EXPECT_TRUE(ReadRawNumber(sandbox.Path(L"Settings\\Nested"), L"Style", style));
    EXPECT_EQ(style, 1);
    EXPECT_EQ(app.GetProfileString(L"Config\\LDapServers", L"Current"), L"Main office");
    EXPECT_EQ(app.GetProfileInt(L"Settings\\Nested", L"Style", 7), 1u);
    // Missing, or of the wrong kind: the default.
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Nothing", L"fallback"), L"fallback");
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Text", 5), 5u);
    EXPECT_EQ(app.GetProfileString(L"Settings\\Nested", L"Style", L"none"), L"none");
    // A null value deletes the entry, a null entry the section with its sub-keys.
    app.WriteProfileString(L"Settings", L"Text", nullptr);
    EXPECT_EQ(ReadRawText(sandbox.Path(L"Settings"), L"Text"), L"<missing>");
    EXPECT_TRUE(KeyExists(sandbox.Path(L"Settings\\Nested")));
    app.WriteProfileString(L"Settings", nullptr, nullptr);
    EXPECT_FALSE(KeyExists(sandbox.Path(L"Settings")));
    EXPECT_TRUE(KeyExists(sandbox.Root()));
}

namespace {

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}
    CString m_text = L"initial";
    std::vector<HWND> m_preTranslated;
    bool* m_pDeleted = nullptr;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_FIRST_EDIT, m_text); }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        m_preTranslated.push_back(pMsg->hwnd);
        return CDialog::PreTranslateMessage(pMsg);
    }
    void PostNcDestroy() override {
        *m_pDeleted = true;
        delete this;
    }
};

} // namespace

TEST(DialogTest, AModelessDialogWalksPreTranslationToItselfAndDeletesItselfWhenDestroyed) {
    bool deleted = false;
    auto* pDlg = new TestDialog;
    pDlg->m_pDeleted = &deleted;
    ASSERT_TRUE(pDlg->Create(IDD_TEST_DIALOG));
    HWND hWnd = pDlg->m_hWnd;
    EXPECT_EQ(pDlg->GetDlgItemText(IDC_FIRST_EDIT), L"initial");
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_FIRST_EDIT, pDlg));
    MSG msg{edit.m_hWnd, WM_MOUSEMOVE, 0, 0, 0, {}};
    CWinThread thread;
    EXPECT_FALSE(thread.PreTranslateMessage(&msg));
    // The edit's object had its turn (returned FALSE), then the dialog, and no further.
    EXPECT_EQ(pDlg->m_preTranslated, std::vector<HWND>{edit.m_hWnd});
    ::SendMessageW(hWnd, WM_CLOSE, 0, 0); // a dialog's default close does nothing
    EXPECT_FALSE(deleted);
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(edit.m_hWnd, nullptr); // detached when its window went
}

namespace {

// A top-level framework window with a command table, as the module's windows have.
class CommandWindow : public CWnd {
public:
    std::vector<UINT> m_commands;
    bool m_disableSecond = true;

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override {
        static const CommandMapEntry<CommandWindow> map[] = {
            {ID_TEST_HANDLED, ID_TEST_HANDLED, &CommandWindow::OnCommandId, nullptr},
            {ID_TEST_DISABLED, ID_TEST_DISABLED, &CommandWindow::OnCommandId,
             &CommandWindow::OnUpdateDisabled},
            {ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CommandWindow::OnCommandId, nullptr},
        };
        return DispatchCommand(this, map, nID, nCode, pCmdUI) || CWnd::OnCmdMsg(nID, nCode, pCmdUI);
    }
    void OnCommandId(UINT nID) { m_commands.push_back(nID); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_disableSecond); }
};

// A button that handles its own click before its parent sees it.
class SelfHandlingButton : public CButton {
public:
    int m_clicks = 0;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++m_clicks;
            return TRUE;
        }
        return FALSE;
    }
};

} // namespace

TEST(CommandRoutingTest, TableDispatchUpdateStateDisabledCommandsAndReflection) {
    CommandWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Commands", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                             nullptr));
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu file = menu.GetSubMenu(0);
    wnd.SendMessage(WM_COMMAND, ID_TEST_HANDLED);
    wnd.SendMessage(WM_COMMAND, 40011);
    wnd.SendMessage(WM_COMMAND, ID_TEST_DISABLED); // its update handler disables it
    wnd.SendMessage(WM_COMMAND, ID_TEST_UNHANDLED);
    EXPECT_EQ(wnd.m_commands, (std::vector<UINT>{ID_TEST_HANDLED, 40011}));

    for (int i = 0; i < file.GetMenuItemCount(); ++i) {
        CCmdUI state;
        state.m_hMenu = file;
        state.m_nIndex = i;
        state.m_nID = file.GetMenuItemID(i);
        if (state.m_nID != 0)
            state.DoUpdate(&wnd, TRUE);
    }
    // Disabled by its update handler, or because nobody handles it.
    EXPECT_EQ(kit::MenuText(kit::ReadMenu(file)),
              L"&Handled=40001 | &Disabled=40002* | &Unhandled=40003* | - | Range &1=40010 | "
              L"Range &2=40011 | Range &3=40012");

    wnd.m_disableSecond = false;
    wnd.SendMessage(WM_COMMAND, ID_TEST_DISABLED);
    EXPECT_EQ(wnd.m_commands.back(), static_cast<UINT>(ID_TEST_DISABLED));

    // A control's notification is reflected to the control first.
    SelfHandlingButton button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5,
                                80, 24, wnd.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TEST_HANDLED))));
    const size_t nCommands = wnd.m_commands.size();
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.m_clicks, 1);
    EXPECT_EQ(wnd.m_commands.size(), nCommands);
    wnd.DestroyWindow();
}

namespace {

CModuleState* g_pSeenState = nullptr;

UINT __cdecl RecordModuleState(LPVOID pDone) {
    g_pSeenState = AfxGetModuleState();
    ::SetEvent(static_cast<HANDLE>(pDone));
    return 0;
}

} // namespace

TEST(ThreadTest, WorkerRunsUnderTheStartersModuleState) {
    CModuleState moduleState;
    HANDLE hDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        AFX_MANAGE_STATE(&moduleState);
        ASSERT_NE(AfxBeginThread(RecordModuleState, hDone), nullptr);
        EXPECT_EQ(::WaitForSingleObject(hDone, 5000), WAIT_OBJECT_0);
    }
    ::CloseHandle(hDone);
    EXPECT_EQ(g_pSeenState, &moduleState);
    EXPECT_NE(AfxGetModuleState(), &moduleState); // the switch ended with its scope
}

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 1;
constexpr UINT WM_TEST_ANSWER = WM_APP + 2;

class RecordingWindow : public CWnd {
public:
    int m_nTexts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_THROW)
            throw std::runtime_error("handler failed");
        if (message == WM_TEST_ANSWER)
            return 7;
        m_nTexts += message == WM_SETTEXT;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LRESULT CALLBACK CountTexts(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR pCount) {
    *reinterpret_cast<int*>(pCount) += msg == WM_SETTEXT;
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

} // namespace

TEST(DispatchTest, AnExceptionStopsAtTheWindowProcedureAndDetachingKeepsTheWindowWorking) {
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Throws", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    LRESULT result = -1;
    try {
        result = ::SendMessageW(wnd, WM_TEST_THROW, 0, 0);
    } catch (...) {
        ADD_FAILURE() << "the exception reached the caller";
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(::SendMessageW(wnd, WM_TEST_ANSWER, 0, 0), 7); // the object goes on working

    // Detached below another subclass, the window keeps working.
    HWND hEdit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                   nullptr, nullptr);
    RecordingWindow first, second;
    ASSERT_TRUE(first.SubclassWindow(hEdit));
    int nLayered = 0;
    ASSERT_TRUE(SetWindowSubclass(hEdit, CountTexts, 1, reinterpret_cast<DWORD_PTR>(&nLayered)));

    EXPECT_EQ(first.UnsubclassWindow(), hEdit);
    ::SetWindowTextW(hEdit, L"one");
    EXPECT_EQ(first.m_nTexts, 0);
    EXPECT_EQ(nLayered, 1);
    EXPECT_EQ(::GetWindowTextLengthW(hEdit), 3);

    // Another object takes the place of the first, under the later subclass.
    ASSERT_TRUE(second.SubclassWindow(hEdit));
    ::SetWindowTextW(hEdit, L"two");
    EXPECT_EQ(second.m_nTexts, 1);
    EXPECT_EQ(nLayered, 2);
    RemoveWindowSubclass(hEdit, CountTexts, 1);
    second.DestroyWindow();
    EXPECT_EQ(second.m_hWnd, nullptr);
}
