// The test as the host application: a control window that records the module's
// host messages, the host's services, one directory component, and a server
// account for the test directory.
#pragma once

#include "DirectorySearch.h"
#include "EventLog.h"
#include "Framework.h"
#include "Manager.h"
#include "Options.h"
#include "Translation.h"
#include "UiKit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace host {

extern const wchar_t kServer[]; // the account's description

// The port of one of the misbehaving servers (fault_servers.py), by its name ("hang",
// "dead", ...).
int FaultPort(const std::wstring& name);

// Records every host message it receives.
class ControlWindow : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_messages;
    // Copies of the payloads: numbers of message 11, records of 12 and 36 (freed).
    std::vector<std::wstring> m_dialled;
    std::vector<HostEntryRecord> m_records;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A fresh options root with one account for the test directory, the host's
// services, and the component; everything is taken down again at the end.
class SearchWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::wstring Root() { return L"Software\\Tovana\\Tovana Quillet"; }
    static int DirectoryPort();
    // Writes the test directory's account (and makes it current); ldapVersion 0
    // writes none, as the module saves its accounts.
    void AddAccount(const std::wstring& name, int port, const wchar_t* pszLogon = L"",
                    const wchar_t* pszPassword = L"", int maximumHits = 200, int ldapVersion = 0);
    void SetOption(int nOption, DWORD value);
    // The test account's key (kServer's), for values of its own.
    static CRegKey AccountKey();
    std::wstring Text(UINT nID) const { return m_translation.LoadStringW(nID, 512).str(); }

    // Opens the window through the component.
    HWND Open();
    HWND SearchEdit() const;
    HWND List() const { return kit::FindChild(m_hWnd, 1013); }
    HWND ToolBar() const { return kit::FindChild(m_hWnd, 59392); }
    bool ToolbarEnabled(int nCommand) const;
    // Types the text into the search box and presses Enter, as a user does.
    void TypeSearch(const std::wstring& text);
    // Opens the window if need be, types a search into the emptied box and waits until
    // its results are in (the caption names them).
    testing::AssertionResult Search(const std::wstring& text);
    testing::AssertionResult WaitForCaption(const std::wstring& caption, DWORD timeoutMs = 15000);
    // The event-log texts with code 1224.
    std::vector<std::wstring> SearchFailures() const;
    // What the status bar's search pane says.
    std::wstring StatusPane() const { return kit::StatusText(kit::FindChild(m_hWnd, 59393), 1); }
    // A toolbar button's text and middle; a click on it, waited for (Search In: 35002).
    std::wstring ButtonText(int nCommand) const;
    POINT ButtonMiddle(int nCommand) const;
    bool ClickToolbarButton(int nCommand) const;
    // Clicks the middle of a header item of the list (right: for the header menu).
    bool ClickHeader(int nItem, bool bRight = false) const;
    // The menu bar as it shows when each menu is opened.
    std::vector<kit::MenuItem> OpenedMenus() const;
    // Posts the command to the window and works through the modal window it opens.
    testing::AssertionResult RunModal(UINT nCommand, std::vector<kit::ModalSteps::Step> steps,
                                      DWORD timeoutMs = 15000);

    ControlWindow m_host;
    CEventLog m_eventLog;
    CTranslation m_translation{COptions::GetOptions()};
    CManager m_manager;
    CDirectorySearch* m_pSearch = nullptr;
    HWND m_hWnd = nullptr;
};

} // namespace host
