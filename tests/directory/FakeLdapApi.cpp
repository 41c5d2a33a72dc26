#include "FakeLdapApi.h"

#include <rpc.h>

#include <cwchar>

namespace {

std::wstring Show(const wchar_t* psz) {
    return psz ? psz : L"(null)";
}

std::wstring ShowList(const wchar_t* const* ppsz) {
    if (!ppsz)
        return L"(all)";
    std::wstring text;
    for (; *ppsz; ++ppsz)
        text += (text.empty() ? L"" : L",") + std::wstring(*ppsz);
    return text;
}

// A value list as the library hands it out: texts and a null-terminated array.
struct ValueList {
    std::vector<std::wstring> texts;
    std::vector<wchar_t*> pointers;
};

} // namespace

struct CFakeLdapApi::Message : LDAPMessage {
    Message(ULONG nCode, std::vector<FakeEntry> e)
        : LDAPMessage{}, nResultCode(nCode), entries(std::move(e)), handles(entries.size()) {}
    ULONG nResultCode;
    std::vector<FakeEntry> entries;
    std::vector<LDAPMessage> handles; // what FirstEntry and NextEntry hand out for each entry
};

struct CFakeLdapApi::Cursor : BerElement {
    explicit Cursor(const FakeEntry* p) : BerElement{}, pEntry(p) {}
    const FakeEntry* pEntry;
    size_t nNext = 1; // FirstAttribute has handed out attribute 0
};

std::vector<std::wstring> CFakeLdapApi::Calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

bool CFakeLdapApi::BindHeld() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bBindHeld;
}

int CFakeLdapApi::OpenObjects() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_open.size());
}

std::vector<std::wstring> CFakeLdapApi::Misuses() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_misuses;
}

void CFakeLdapApi::Log(std::wstring line) {
    m_calls.push_back(std::move(line));
}

bool CFakeLdapApi::IsOpen(const void* p, const wchar_t* pszKind, const wchar_t* pszMisuse) {
    auto it = m_open.find(p);
    if (it != m_open.end() && it->second == pszKind)
        return true;
    m_misuses.push_back(pszMisuse + std::wstring(pszKind));
    return false;
}

bool CFakeLdapApi::Release(const void* p, const wchar_t* pszKind) {
    return IsOpen(p, pszKind, L"freeing an unknown ") && m_open.erase(p);
}

ULONG CFakeLdapApi::Free(const void* p, const wchar_t* pszKind, const wchar_t* pszCall) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (pszCall)
        Log(pszCall);
    if (p || pszCall) // an unbind without a connection is a misuse too
        Release(p, pszKind);
    return LDAP_SUCCESS;
}

void CFakeLdapApi::Own(std::shared_ptr<void> object, const void* pHandle, const wchar_t* pszKind) {
    m_owned.push_back(std::move(object));
    m_open[pHandle] = pszKind;
}

LDAPMessage* CFakeLdapApi::NewMessage(ULONG nResultCode, std::vector<FakeEntry> entries) {
    auto message = std::make_shared<Message>(nResultCode, std::move(entries));
    Own(message, static_cast<LDAPMessage*>(message.get()), kMessage);
    return message.get();
}

wchar_t* CFakeLdapApi::NewText(const std::wstring& text) {
    auto owned = std::make_shared<std::wstring>(text);
    Own(owned, owned->data(), kText);
    return owned->data();
}

const FakeEntry* CFakeLdapApi::EntryOf(LDAPMessage* pEntry, LDAPMessage** ppNext) {
    // Entries live inside an open message; anything else is a misuse.
    for (const auto& [p, kind] : m_open) {
        auto* pMessage =
            kind == kMessage
                ? static_cast<Message*>(static_cast<LDAPMessage*>(const_cast<void*>(p)))
                : nullptr;
        for (size_t i = 0; pMessage && i < pMessage->handles.size(); ++i) {
            if (&pMessage->handles[i] != pEntry)
                continue;
            if (ppNext)
                *ppNext = i + 1 < pMessage->handles.size() ? &pMessage->handles[i + 1] : nullptr;
            return &pMessage->entries[i];
        }
    }
    m_misuses.push_back(L"using an entry of no open message");
    return nullptr;
}

LDAP* CFakeLdapApi::Init(const wchar_t* pszHost, ULONG nPort) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log(L"Init " + Show(pszHost) + L":" + std::to_wstring(nPort));
    if (bInitFails)
        return nullptr;
    auto connection = std::make_shared<LDAP>();
    Own(connection, connection.get(), kConnection);
    return connection.get();
}

ULONG CFakeLdapApi::SetOption(LDAP*, int nOption, const void* pValue) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Switch options take LDAP_OPT_ON/OFF; the others point at a ULONG.
    ULONG nValue = pValue == LDAP_OPT_OFF  ? 0
                   : pValue == LDAP_OPT_ON ? 1
                                           : *static_cast<const ULONG*>(pValue);
    Log(L"SetOption " + std::to_wstring(nOption) + L"=" + std::to_wstring(nValue));
    return LDAP_SUCCESS;
}

ULONG CFakeLdapApi::Connect(LDAP*, l_timeval*) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log(L"Connect");
    return nConnectResult;
}

ULONG CFakeLdapApi::BindS(LDAP*, const wchar_t* pszName, const wchar_t* pszCredential,
                          ULONG nMethod) {
    std::wstring credential = Show(pszCredential);
    if (nMethod == LDAP_AUTH_NEGOTIATE && pszCredential) {
        // The credential is an identity record, not text.
        const auto* pIdentity = reinterpret_cast<const SEC_WINNT_AUTH_IDENTITY_W*>(pszCredential);
        auto field = [](const unsigned short* psz, unsigned long nLength) {
            return psz ? std::wstring(reinterpret_cast<const wchar_t*>(psz), nLength) + L"/" +
                             std::to_wstring(nLength)
                       : std::wstring(L"(null)");
        };
        credential = L"user=" + field(pIdentity->User, pIdentity->UserLength) + L" domain=" +
                     field(pIdentity->Domain, pIdentity->DomainLength) + L" password=" +
                     field(pIdentity->Password, pIdentity->PasswordLength) + L" flags=" +
                     std::to_wstring(pIdentity->Flags);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Log(L"BindS " + Show(pszName) + L" " + credential + L" " + std::to_wstring(nMethod));
        if (!bHoldFirstBind || m_bBindHeld)
            return nBindResult;
        m_bBindHeld = true;
    }
    ::WaitForSingleObject(m_hRelease, INFINITE);
    return LDAP_SERVER_DOWN;
}

ULONG CFakeLdapApi::Bind(LDAP*, const wchar_t* pszName, const wchar_t* pszCredential,
                         ULONG nMethod) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Log(L"Bind " + Show(pszName) + L" " + Show(pszCredential) + L" " +
            std::to_wstring(nMethod));
        m_nBindId = 1000 + static_cast<ULONG>(m_calls.size());
        if (!bHoldFirstBind || m_bBindHeld)
            return m_nBindId;
        m_bBindHeld = true;
    }
    ::WaitForSingleObject(m_hRelease, INFINITE);
    return static_cast<ULONG>(-1); // as a server that went away
}

ULONG CFakeLdapApi::Search(LDAP*, const wchar_t* pszBase, ULONG nScope, const wchar_t* pszFilter,
                           const wchar_t* const* ppszAttributes, ULONG nAttributesOnly) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log(L"Search base=" + Show(pszBase) + L" scope=" + std::to_wstring(nScope) + L" filter=" +
        Show(pszFilter) + L" attributes=" + ShowList(ppszAttributes) + L" attributesOnly=" +
        std::to_wstring(nAttributesOnly));
    return nSearchMessageId;
}

ULONG CFakeLdapApi::SearchExtS(LDAP*, const wchar_t* pszBase, ULONG nScope,
                               const wchar_t* pszFilter, const wchar_t* const* ppszAttributes,
                               ULONG nAttributesOnly, l_timeval* pTimeout, ULONG nSizeLimit,
                               LDAPMessage** ppResult) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Log(L"SearchExtS base=" + Show(pszBase) + L" scope=" + std::to_wstring(nScope) + L" filter=" +
        Show(pszFilter) + L" attributes=" + ShowList(ppszAttributes) + L" attributesOnly=" +
        std::to_wstring(nAttributesOnly) + L" timeout=" + (pTimeout ? L"set" : L"none") +
        L" sizeLimit=" + std::to_wstring(nSizeLimit));
    // Like the real library, a result comes back whatever the outcome.
    *ppResult =
        NewMessage(nSearchExtResult,
                   nSearchExtResult == LDAP_SUCCESS ? searchExtEntries : std::vector<FakeEntry>());
    return nSearchExtResult;
}

ULONG CFakeLdapApi::Result(LDAP*, ULONG nMessageId, ULONG, l_timeval*, LDAPMessage** ppResult) {
    std::lock_guard<std::mutex> lock(m_mutex);
    *ppResult = nullptr;
    if (nMessageId == m_nBindId) {
        m_nBindId = 0;
        *ppResult = NewMessage(nBindResult, {});
        return LDAP_RES_BIND;
    }
    if (results.empty()) {
        m_nLastPollCode = LDAP_TIMEOUT;
        return 0;
    }
    FakeResult next = std::move(results.front());
    results.pop_front();
    m_nLastPollCode = next.nResultCode;
    if (next.nReturn != 0 && next.nReturn != static_cast<ULONG>(-1))
        *ppResult = NewMessage(next.nResultCode, std::move(next.entries));
    return next.nReturn;
}

ULONG CFakeLdapApi::Result2Error(LDAP*, LDAPMessage* pResult, ULONG nFreeIt) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!pResult)
        return m_nLastPollCode;
    if (!IsOpen(pResult, kMessage, L"reading an unknown "))
        return LDAP_PARAM_ERROR;
    ULONG nCode = static_cast<Message*>(pResult)->nResultCode;
    if (nFreeIt)
        Release(pResult, kMessage);
    return nCode;
}

LDAPMessage* CFakeLdapApi::FirstEntry(LDAP*, LDAPMessage* pResult) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!IsOpen(pResult, kMessage, L"reading an unknown "))
        return nullptr;
    auto& handles = static_cast<Message*>(pResult)->handles;
    return handles.empty() ? nullptr : &handles.front();
}

LDAPMessage* CFakeLdapApi::NextEntry(LDAP*, LDAPMessage* pEntry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    LDAPMessage* pNext = nullptr;
    EntryOf(pEntry, &pNext);
    return pNext;
}

wchar_t* CFakeLdapApi::GetDn(LDAP*, LDAPMessage* pEntry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const FakeEntry* pFake = EntryOf(pEntry);
    return pFake ? NewText(pFake->dn) : nullptr;
}

wchar_t* CFakeLdapApi::FirstAttribute(LDAP*, LDAPMessage* pEntry, BerElement** ppCursor) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const FakeEntry* pFake = EntryOf(pEntry);
    *ppCursor = nullptr;
    if (!pFake)
        return nullptr;
    // The real library hands out a cursor even for an entry without attributes.
    auto cursor = std::make_shared<Cursor>(pFake);
    Own(cursor, static_cast<BerElement*>(cursor.get()), kCursor);
    *ppCursor = cursor.get();
    return pFake->attributes.empty() ? nullptr : NewText(pFake->attributes.front().first);
}

wchar_t* CFakeLdapApi::NextAttribute(LDAP*, LDAPMessage*, BerElement* pCursor) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!IsOpen(pCursor, kCursor, L"using an unknown "))
        return nullptr;
    auto* pFakeCursor = static_cast<Cursor*>(pCursor);
    const auto& attributes = pFakeCursor->pEntry->attributes;
    if (pFakeCursor->nNext >= attributes.size())
        return nullptr;
    return NewText(attributes[pFakeCursor->nNext++].first);
}

wchar_t** CFakeLdapApi::GetValues(LDAP*, LDAPMessage* pEntry, const wchar_t* pszAttribute) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const FakeEntry* pFake = EntryOf(pEntry);
    if (!pFake || !pszAttribute)
        return nullptr;
    for (const auto& [name, values] : pFake->attributes) {
        if (_wcsicmp(name.c_str(), pszAttribute) != 0)
            continue;
        if (values.empty())
            return nullptr; // an attribute without values has no value list
        auto list = std::make_shared<ValueList>(ValueList{values, {}});
        for (auto& text : list->texts)
            list->pointers.push_back(text.data());
        list->pointers.push_back(nullptr);
        Own(list, list->pointers.data(), kValues);
        return list->pointers.data();
    }
    return nullptr;
}

const wchar_t* CFakeLdapApi::Err2String(ULONG nError) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::wstring& text = m_errorTexts[nError];
    text = L"fake error " + std::to_wstring(nError);
    return text.c_str();
}
