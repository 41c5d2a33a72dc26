#include "LdapApi.h"

#include <atomic>

namespace {

// WLDAP32 declares its text parameters without const although it never writes
// through them.
PWCHAR Text(const wchar_t* psz) {
    return const_cast<PWCHAR>(psz);
}
PWCHAR* TextList(const wchar_t* const* ppsz) {
    return const_cast<PWCHAR*>(ppsz);
}

// Wine's library crashes on a negotiate bind without credentials (its callback for
// the credentials reads through the missing record); Wine says who it is through
// an export of its ntdll.
bool RunsOnWine() {
    static const bool bWine = [] {
        HMODULE hNtdll = ::GetModuleHandleW(L"ntdll.dll");
        return hNtdll && ::GetProcAddress(hNtdll, "wine_get_version");
    }();
    return bWine;
}

class CPlatformLdapApi : public ILdapApi {
public:
    LDAP* Init(const wchar_t* pszHost, ULONG nPort) override {
        return ::ldap_initW(Text(pszHost), nPort);
    }
    ULONG SetOption(LDAP* pLdap, int nOption, const void* pValue) override {
        return ::ldap_set_optionW(pLdap, nOption, pValue);
    }
    ULONG Connect(LDAP* pLdap, l_timeval* pTimeout) override {
        return ::ldap_connect(pLdap, pTimeout);
    }
    ULONG BindS(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
                ULONG nMethod) override {
        // As the logged-on user: Windows knows who that is; under Wine the bind
        // fails as one the server refused, instead of taking the host down.
        if (nMethod == LDAP_AUTH_NEGOTIATE && !pszCredential && RunsOnWine())
            return LDAP_AUTH_METHOD_NOT_SUPPORTED;
        return ::ldap_bind_sW(pLdap, Text(pszName), Text(pszCredential), nMethod);
    }
    ULONG Bind(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
               ULONG nMethod) override {
        return ::ldap_bindW(pLdap, Text(pszName), Text(pszCredential), nMethod);
    }
    ULONG Search(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope, const wchar_t* pszFilter,
                 const wchar_t* const* ppszAttributes, ULONG nAttributesOnly) override {
        return ::ldap_searchW(pLdap, Text(pszBase), nScope, Text(pszFilter),
                              TextList(ppszAttributes), nAttributesOnly);
    }
    ULONG SearchExtS(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope, const wchar_t* pszFilter,
                     const wchar_t* const* ppszAttributes, ULONG nAttributesOnly,
                     l_timeval* pTimeout, ULONG nSizeLimit, LDAPMessage** ppResult) override {
        return ::ldap_search_ext_sW(pLdap, Text(pszBase), nScope, Text(pszFilter),
                                    TextList(ppszAttributes), nAttributesOnly, nullptr, nullptr,
                                    pTimeout, nSizeLimit, ppResult);
    }
    ULONG Result(LDAP* pLdap, ULONG nMessageId, ULONG nAll, l_timeval* pTimeout,
                 LDAPMessage** ppResult) override {
        return ::ldap_result(pLdap, nMessageId, nAll, pTimeout, ppResult);
    }
    ULONG Result2Error(LDAP* pLdap, LDAPMessage* pResult, ULONG nFreeIt) override {
        return ::ldap_result2error(pLdap, pResult, nFreeIt);
    }
    ULONG ParseReferrals(LDAP* pLdap, LDAPMessage* pResult, wchar_t*** pppszUrls) override {
        ULONG nCode = 0;
        return ::ldap_parse_resultW(pLdap, pResult, &nCode, nullptr, nullptr, pppszUrls, nullptr,
                                    FALSE);
    }
    ULONG ParseReference(LDAP* pLdap, LDAPMessage* pReference, wchar_t*** pppszUrls) override {
        return ::ldap_parse_referenceW(pLdap, pReference, pppszUrls);
    }
    ULONG MsgFree(LDAPMessage* pMessage) override { return ::ldap_msgfree(pMessage); }
    LDAPMessage* FirstEntry(LDAP* pLdap, LDAPMessage* pResult) override {
        return ::ldap_first_entry(pLdap, pResult);
    }
    LDAPMessage* NextEntry(LDAP* pLdap, LDAPMessage* pEntry) override {
        return ::ldap_next_entry(pLdap, pEntry);
    }
    wchar_t* GetDn(LDAP* pLdap, LDAPMessage* pEntry) override {
        return ::ldap_get_dnW(pLdap, pEntry);
    }
    wchar_t* FirstAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement** ppCursor) override {
        return ::ldap_first_attributeW(pLdap, pEntry, ppCursor);
    }
    wchar_t* NextAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement* pCursor) override {
        return ::ldap_next_attributeW(pLdap, pEntry, pCursor);
    }
    wchar_t** GetValues(LDAP* pLdap, LDAPMessage* pEntry, const wchar_t* pszAttribute) override {
        return ::ldap_get_valuesW(pLdap, pEntry, Text(pszAttribute));
    }
    ULONG ValueFree(wchar_t** ppValues) override { return ::ldap_value_freeW(ppValues); }
    void MemFree(wchar_t* pszBlock) override { ::ldap_memfreeW(pszBlock); }
    void BerFree(BerElement* pCursor, int nFreeBuffer) override {
        ::ber_free(pCursor, nFreeBuffer);
    }
    const wchar_t* Err2String(ULONG nError) override { return ::ldap_err2stringW(nError); }
    ULONG Unbind(LDAP* pLdap) override { return ::ldap_unbind(pLdap); }
    ULONG UnbindS(LDAP* pLdap) override { return ::ldap_unbind_s(pLdap); }
    LDAP* SslInit(const wchar_t* pszHost, ULONG nPort) override {
        return ::ldap_sslinitW(Text(pszHost), nPort, 1);
    }
    ULONG StartTlsS(LDAP* pLdap, ULONG* pServerReturn, LDAPMessage** ppResult) override {
        return ::ldap_start_tls_sW(pLdap, pServerReturn, ppResult, nullptr, nullptr);
    }
};

CPlatformLdapApi s_platformApi;
std::atomic<ILdapApi*> s_pReplacement{nullptr};

} // namespace

ILdapApi& LdapApi() {
    ILdapApi* pApi = s_pReplacement.load();
    return pApi ? *pApi : s_platformApi;
}

ILdapApi& PlatformLdapApi() {
    return s_platformApi;
}

ILdapApi* SetLdapApi(ILdapApi* pApi) {
    return s_pReplacement.exchange(pApi);
}
