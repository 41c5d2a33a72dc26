#include "HostSession.h"

#include "FilterDllMsg.h"
#include "LdapApi.h"

#include <cstdlib>

namespace host {

const wchar_t kServer[] = L"Test Directory";

LRESULT ControlWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HostMessage::kId) {
        m_messages.emplace_back(wParam, lParam);
        if (wParam == HostMessage::kDial)
            m_dialled.push_back(reinterpret_cast<const wchar_t*>(lParam));
        if (wParam == HostMessage::kAddToDirectory || wParam == HostMessage::kDialConfirm)
            m_records.push_back(*reinterpret_cast<HostEntryRecord*>(lParam));
        if (wParam == HostMessage::kDialConfirm)
            delete reinterpret_cast<HostEntryRecord*>(lParam);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int FaultPort(const std::wstring& name) {
    const std::string ports = std::string(",") + (std::getenv("LDAP_FAULT_PORTS") ?: "");
    const size_t at = ports.find("," + CString(name.c_str()).ToUtf8() + "=");
    EXPECT_NE(at, std::string::npos) << "no fault server: run the tests through scripts/test";
    return at == std::string::npos ? 0 : std::atoi(ports.c_str() + at + name.size() + 2);
}

int SearchWindowTest::DirectoryPort() {
    const char* port = std::getenv("LDAP_TEST_PORT");
    return port ? std::atoi(port) : 0;
}

void SearchWindowTest::SetUp() {
    ASSERT_NE(DirectoryPort(), 0)
        << "LDAP_TEST_PORT is not set: run the tests through scripts/test";
    RegDeleteTreeW(HKEY_CURRENT_USER, Root().c_str());
    // The pointer away from the windows, so that no toolbar prompt shows by chance.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, L"Host", WS_OVERLAPPEDWINDOW, 0, 600, 500, 200, nullptr,
                                nullptr));
    m_pSearch = new CDirectorySearch(m_host.m_hWnd);
    m_pSearch->SetEventLog(&m_eventLog);
    m_pSearch->SetTranslation(&m_translation);
    m_pSearch->SetManager(&m_manager);
    m_pSearch->EnableCalls(TRUE);
    kit::SetMessageFilter(FilterDllMsg);
}

void SearchWindowTest::TearDown() {
    m_pSearch->CloseDialogs();
    delete m_pSearch;
    m_host.DestroyWindow();
    kit::SetMessageFilter(nullptr);
    SetLdapApi(nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, Root().c_str());
}

void SearchWindowTest::AddAccount(const std::wstring& name, int port, const wchar_t* pszLogon,
                                  const wchar_t* pszPassword, int maximumHits, int ldapVersion) {
    COptions& options = *COptions::GetOptions();
    CString key = options.GetRootKey() + L"\\Config\\LDapServers\\" + name.c_str();
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"address", L"127.0.0.1", 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", port);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", L"dc=quillet,dc=test", 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"logon", pszLogon, 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"password", pszPassword, 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"maximumHits", maximumHits);
    if (ldapVersion)
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"ldapVersion", ldapVersion);
    CRegKey servers;
    ASSERT_EQ(servers.Create(HKEY_CURRENT_USER, (Root() + L"\\Config\\LDAPServers").c_str()),
              ERROR_SUCCESS);
    servers.SetString(L"Current", name.c_str());
}

void SearchWindowTest::SetOption(int nOption, DWORD value) {
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, (Root() + L"\\Config\\Options").c_str()),
              ERROR_SUCCESS);
    CString name;
    name.Format(L"Option%d", nOption);
    key.SetDword(name, value);
}

HWND SearchWindowTest::Open() {
    CWnd* pWindow = m_pSearch->DisplaySearchDialog();
    m_hWnd = pWindow ? pWindow->m_hWnd : nullptr;
    kit::PumpPending();
    return m_hWnd;
}

HWND SearchWindowTest::SearchEdit() const {
    HWND combo = kit::FindChild(m_hWnd, 105);
    return combo ? kit::FindChildByClass(combo, L"Edit") : nullptr;
}

bool SearchWindowTest::ToolbarEnabled(int nCommand) const {
    const int state = kit::ToolbarButtonState(ToolBar(), nCommand);
    return state >= 0 && (state & TBSTATE_ENABLED);
}

void SearchWindowTest::TypeSearch(const std::wstring& text) {
    HWND edit = SearchEdit();
    ::SetFocus(edit);
    kit::TypeText(edit, text);
    kit::PressKey(edit, VK_RETURN);
    kit::PumpUntilInputDone();
}

testing::AssertionResult SearchWindowTest::Search(const std::wstring& text) {
    if ((!m_hWnd || !::IsWindow(m_hWnd)) && !Open())
        return testing::AssertionFailure() << "the window did not open";
    kit::SetEditText(SearchEdit(), L"");
    TypeSearch(text);
    return WaitForCaption(std::wstring(kServer) + L" - " + text);
}

testing::AssertionResult SearchWindowTest::WaitForCaption(const std::wstring& caption,
                                                          DWORD timeoutMs) {
    if (kit::PumpUntil([&] { return kit::WindowText(m_hWnd) == caption; }, timeoutMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the caption is still \""
                                       << CString(kit::WindowText(m_hWnd).c_str()).ToUtf8() << "\"";
}

std::vector<std::wstring> SearchWindowTest::SearchFailures() const {
    std::vector<std::wstring> texts;
    CArray<CEventRecord> records = m_eventLog.GetRecentRecords();
    for (int i = 0; i < records.GetSize(); ++i) {
        if (records[i].kind == EventKind::Event && records[i].nCode == 1224)
            texts.push_back(records[i].strText.str());
    }
    return texts;
}

CRegKey SearchWindowTest::AccountKey() {
    CRegKey key;
    key.Create(HKEY_CURRENT_USER, (Root() + L"\\Config\\LDapServers\\" + kServer).c_str());
    return key;
}

std::wstring SearchWindowTest::ButtonText(int nCommand) const {
    wchar_t text[256] = L"";
    ::SendMessageW(ToolBar(), TB_GETBUTTONTEXTW, nCommand, reinterpret_cast<LPARAM>(text));
    return text;
}

POINT SearchWindowTest::ButtonMiddle(int nCommand) const {
    RECT rc{};
    ::SendMessageW(ToolBar(), TB_GETRECT, nCommand, reinterpret_cast<LPARAM>(&rc));
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool SearchWindowTest::ClickToolbarButton(int nCommand) const {
    return kit::ClickAt(ToolBar(), ButtonMiddle(nCommand)) && kit::PumpUntilInputDone();
}

bool SearchWindowTest::ClickHeader(int nItem, bool bRight) const {
    HWND header = ListView_GetHeader(List());
    RECT rc{};
    Header_GetItemRect(header, nItem, &rc);
    return kit::ClickAt(header, {(rc.left + rc.right) / 2, rc.bottom / 2}, bRight);
}

std::vector<kit::MenuItem> SearchWindowTest::OpenedMenus() const {
    HMENU bar = ::GetMenu(m_hWnd);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i)
        ::SendMessageW(m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(bar, i)), i);
    return kit::ReadMenu(bar);
}

testing::AssertionResult SearchWindowTest::RunModal(UINT nCommand,
                                                    std::vector<kit::ModalSteps::Step> steps,
                                                    DWORD timeoutMs) {
    kit::ModalSteps modal(m_hWnd, std::move(steps));
    ::PostMessageW(m_hWnd, WM_COMMAND, nCommand, 0);
    if (kit::PumpUntil([&] { return modal.Finished() && ::IsWindowEnabled(m_hWnd); }, timeoutMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the modal window was not worked through";
}

} // namespace host
