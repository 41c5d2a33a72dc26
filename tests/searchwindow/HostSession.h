// The test as the host application: a control window that records the module's
// host messages, the host's services, one directory component, and a server
// account for the test directory.
#pragma once

#include "DirectorySearch.h"
#include "EventLog.h"
#include "Framework.h"
#include "LdapApi.h"
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

// Records every host message it receives.
class ControlWindow : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_messages;
    // Copies of the payloads: numbers of message 11, records of 12 and 36 (freed).
    std::vector<std::wstring> m_dialled;
    std::vector<HostEntryRecord> m_records;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Passes every call to the platform library; can send the first connection to
// another port and remembers the filters it was asked to search with.
class RecordingLdapApi : public ILdapApi {
public:
    std::vector<std::wstring> Filters() const;
    ULONG nRedirectFirstInitTo = 0;

    LDAP* Init(const wchar_t* pszHost, ULONG nPort) override;
    ULONG SetOption(LDAP* p, int o, const void* v) override { return Real().SetOption(p, o, v); }
    ULONG Connect(LDAP* p, l_timeval* t) override { return Real().Connect(p, t); }
    ULONG BindS(LDAP* p, const wchar_t* n, const wchar_t* c, ULONG m) override {
        return Real().BindS(p, n, c, m);
    }
    ULONG Search(LDAP* p, const wchar_t* b, ULONG s, const wchar_t* f, const wchar_t* const* a,
                 ULONG o) override;
    ULONG SearchExtS(LDAP* p, const wchar_t* b, ULONG s, const wchar_t* f, const wchar_t* const* a,
                     ULONG o, l_timeval* t, ULONG z, LDAPMessage** r) override {
        return Real().SearchExtS(p, b, s, f, a, o, t, z, r);
    }
    ULONG Result(LDAP* p, ULONG i, ULONG a, l_timeval* t, LDAPMessage** r) override {
        return Real().Result(p, i, a, t, r);
    }
    ULONG Result2Error(LDAP* p, LDAPMessage* r, ULONG f) override {
        return Real().Result2Error(p, r, f);
    }
    ULONG MsgFree(LDAPMessage* m) override { return Real().MsgFree(m); }
    LDAPMessage* FirstEntry(LDAP* p, LDAPMessage* r) override { return Real().FirstEntry(p, r); }
    LDAPMessage* NextEntry(LDAP* p, LDAPMessage* e) override { return Real().NextEntry(p, e); }
    wchar_t* GetDn(LDAP* p, LDAPMessage* e) override { return Real().GetDn(p, e); }
    wchar_t* FirstAttribute(LDAP* p, LDAPMessage* e, BerElement** c) override {
        return Real().FirstAttribute(p, e, c);
    }
    wchar_t* NextAttribute(LDAP* p, LDAPMessage* e, BerElement* c) override {
        return Real().NextAttribute(p, e, c);
    }
    wchar_t** GetValues(LDAP* p, LDAPMessage* e, const wchar_t* a) override {
        return Real().GetValues(p, e, a);
    }
    ULONG ValueFree(wchar_t** v) override { return Real().ValueFree(v); }
    void MemFree(wchar_t* b) override { Real().MemFree(b); }
    void BerFree(BerElement* c, int f) override { Real().BerFree(c, f); }
    const wchar_t* Err2String(ULONG e) override { return Real().Err2String(e); }
    ULONG Unbind(LDAP* p) override { return Real().Unbind(p); }
    ULONG UnbindS(LDAP* p) override { return Real().UnbindS(p); }

private:
    static ILdapApi& Real() { return PlatformLdapApi(); }
    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_filters;
    bool m_bRedirected = false;
};

// A fresh options root with one account for the test directory, the host's
// services, and the component; everything is taken down again at the end.
class SearchWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::wstring Root() { return L"Software\\Tovana\\Tovana Quillet"; }
    static int DirectoryPort();
    // Writes the test directory's account (and makes it current).
    void AddAccount(const std::wstring& name, int port, const wchar_t* pszLogon = L"",
                    const wchar_t* pszPassword = L"", int maximumHits = 200);
    void SetOption(int nOption, DWORD value);
    std::wstring Text(UINT nID) const { return m_translation.LoadStringW(nID, 512).str(); }

    // Opens the window through the component.
    HWND Open();
    HWND SearchEdit() const;
    HWND List() const { return kit::FindChild(m_hWnd, 1013); }
    HWND ToolBar() const { return kit::FindChild(m_hWnd, 59392); }
    bool ToolbarEnabled(int nCommand) const;
    // The toolbar above the list and the status bar below it, neither covered.
    void ExpectBarsBesideTheList() const;
    // Types the text into the search box and presses Enter, as a user does.
    void TypeSearch(const std::wstring& text);
    testing::AssertionResult WaitForCaption(const std::wstring& caption, DWORD timeoutMs = 15000);
    // The event-log texts with code 1224.
    std::vector<std::wstring> SearchFailures() const;

    ControlWindow m_host;
    CEventLog m_eventLog;
    CTranslation m_translation{COptions::GetOptions()};
    CManager m_manager;
    CDirectorySearch* m_pSearch = nullptr;
    HWND m_hWnd = nullptr;
};

} // namespace host
