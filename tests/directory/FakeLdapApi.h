// A scripted LDAP library for the paths a real server cannot be made to take on
// demand: a failing init, connect or bind, a bind that hangs until released, a
// refused search request, a failing ldap_result, polls with nothing yet (code 85)
// and root DSE answers of any shape.
// It logs the calls it receives and keeps account of every object it hands out, so
// a test can see that the code under test gave everything back exactly once.
#pragma once

#include "LdapApi.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct FakeEntry {
    std::wstring dn;
    // Attribute name and values, in the order the server would send them.
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> attributes;
};

// One answer of Result.
struct FakeResult {
    ULONG nReturn; // LDAP_RES_SEARCH_ENTRY, LDAP_RES_SEARCH_RESULT, 0 (nothing yet), (ULONG)-1
    ULONG nResultCode = LDAP_SUCCESS; // what Result2Error reports for it
    std::vector<FakeEntry> entries;   // the entries of its message
};

class CFakeLdapApi : public ILdapApi {
public:
    CFakeLdapApi() : m_hRelease(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CFakeLdapApi() override { ::CloseHandle(m_hRelease); }

    // The script: set before the code under test runs.
    bool bInitFails = false;
    ULONG nConnectResult = LDAP_SUCCESS;
    ULONG nBindResult = LDAP_SUCCESS;
    // The first bind waits until ReleaseBind, then fails as a server that went away;
    // a simple bind is sent without waiting (Bind) and answered by the next Result.
    bool bHoldFirstBind = false;
    ULONG nSearchMessageId = 1; // (ULONG)-1: the request is refused
    ULONG nSearchExtResult = LDAP_SUCCESS;
    std::vector<FakeEntry> searchExtEntries;
    // Taken one per Result call; once empty every poll finds nothing yet (code 85).
    std::deque<FakeResult> results;

    // What happened: one line per call, such as "UnbindS" or "SetOption 8=0"; polls
    // (Result) left out.
    std::vector<std::wstring> Calls() const;
    bool BindHeld() const;
    void ReleaseBind() { ::SetEvent(m_hRelease); }
    // Objects handed out and not given back.
    int OpenObjects() const;
    // Objects given back that were not handed out, or given back the wrong way.
    std::vector<std::wstring> Misuses() const;

    LDAP* Init(const wchar_t* pszHost, ULONG nPort) override;
    ULONG SetOption(LDAP* pLdap, int nOption, const void* pValue) override;
    ULONG Connect(LDAP* pLdap, l_timeval* pTimeout) override;
    ULONG BindS(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
                ULONG nMethod) override;
    ULONG Bind(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
               ULONG nMethod) override;
    ULONG Search(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope, const wchar_t* pszFilter,
                 const wchar_t* const* ppszAttributes, ULONG nAttributesOnly) override;
    ULONG SearchExtS(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope, const wchar_t* pszFilter,
                     const wchar_t* const* ppszAttributes, ULONG nAttributesOnly,
                     l_timeval* pTimeout, ULONG nSizeLimit, LDAPMessage** ppResult) override;
    ULONG Result(LDAP* pLdap, ULONG nMessageId, ULONG nAll, l_timeval* pTimeout,
                 LDAPMessage** ppResult) override;
    ULONG Result2Error(LDAP* pLdap, LDAPMessage* pResult, ULONG nFreeIt) override;
    // No referral has URLs here.
    ULONG ParseReferrals(LDAP*, LDAPMessage*, wchar_t*** pppszUrls) override {
        return NoUrls(pppszUrls);
    }
    ULONG ParseReference(LDAP*, LDAPMessage*, wchar_t*** pppszUrls) override {
        return NoUrls(pppszUrls);
    }
    ULONG MsgFree(LDAPMessage* pMessage) override { return Free(pMessage, kMessage); }
    LDAPMessage* FirstEntry(LDAP* pLdap, LDAPMessage* pResult) override;
    LDAPMessage* NextEntry(LDAP* pLdap, LDAPMessage* pEntry) override;
    wchar_t* GetDn(LDAP* pLdap, LDAPMessage* pEntry) override;
    wchar_t* FirstAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement** ppCursor) override;
    wchar_t* NextAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement* pCursor) override;
    wchar_t** GetValues(LDAP* pLdap, LDAPMessage* pEntry, const wchar_t* pszAttribute) override;
    ULONG ValueFree(wchar_t** ppValues) override { return Free(ppValues, kValues); }
    void MemFree(wchar_t* pszBlock) override { Free(pszBlock, kText); }
    void BerFree(BerElement* pCursor, int) override { Free(pCursor, kCursor); }
    const wchar_t* Err2String(ULONG nError) override;
    ULONG Unbind(LDAP* pLdap) override { return Free(pLdap, kConnection, L"Unbind"); }
    ULONG UnbindS(LDAP* pLdap) override { return Free(pLdap, kConnection, L"UnbindS"); }

private:
    struct Message;
    struct Cursor;
    static constexpr wchar_t kConnection[] = L"connection", kMessage[] = L"message",
                             kText[] = L"text", kValues[] = L"values", kCursor[] = L"cursor";

    void Log(std::wstring line);
    static ULONG NoUrls(wchar_t*** pppszUrls) { return *pppszUrls = nullptr, LDAP_SUCCESS; }
    // Keeps the object until the fake goes and hands out pHandle as an object of kind.
    void Own(std::shared_ptr<void> object, const void* pHandle, const wchar_t* pszKind);
    LDAPMessage* NewMessage(ULONG nResultCode, std::vector<FakeEntry> entries);
    wchar_t* NewText(const std::wstring& text);
    // The entry a handle stands for, and the next entry's handle.
    const FakeEntry* EntryOf(LDAPMessage* pEntry, LDAPMessage** ppNext = nullptr);
    // Whether p is handed out as an object of kind; if not, a misuse ("<misuse><kind>").
    bool IsOpen(const void* p, const wchar_t* pszKind, const wchar_t* pszMisuse);
    // Forgets p as an object of kind; false (and a misuse) when it was not one.
    bool Release(const void* p, const wchar_t* pszKind);
    // A library call that gives p back (named in the log when pszCall is given).
    ULONG Free(const void* p, const wchar_t* pszKind, const wchar_t* pszCall = nullptr);

    mutable std::mutex m_mutex; // search workers call in from their own threads
    std::vector<std::wstring> m_calls;
    std::vector<std::wstring> m_misuses;
    std::map<const void*, std::wstring> m_open; // handed out, not given back: its kind
    std::vector<std::shared_ptr<void>> m_owned;
    ULONG m_nLastPollCode = 85;
    ULONG m_nBindId = 0; // the simple bind that the next Result for it answers
    bool m_bBindHeld = false;
    HANDLE m_hRelease; // set: held binds return
    std::map<ULONG, std::wstring> m_errorTexts;
};

// Puts a fake in place for the life of the object.
class CInstalledLdapApi {
public:
    explicit CInstalledLdapApi(ILdapApi& api) : m_pPrevious(SetLdapApi(&api)) {}
    ~CInstalledLdapApi() { SetLdapApi(m_pPrevious); }
    CInstalledLdapApi(const CInstalledLdapApi&) = delete;
    CInstalledLdapApi& operator=(const CInstalledLdapApi&) = delete;

private:
    ILdapApi* m_pPrevious;
};
