// The seam between the module and the platform LDAP library: one interface over
// exactly the WLDAP32 calls the module makes, the process-wide implementation in
// use, and owners for what the library hands out.
//
// The module reaches the library only through LdapApi(). Normally that is the
// platform library; a test can put a scripted implementation in place with
// SetLdapApi to produce what a real server cannot be made to do on demand. The
// pointer is atomic because search workers read it on their own threads.
#pragma once

#include <windows.h>

// The module DLL exports the switch, so that a test that drives the module
// through the DLL can put its own implementation in place there.
#ifdef LDAP_SEAM_EXPORT
#define LDAP_SEAM_API __declspec(dllexport)
#else
#define LDAP_SEAM_API
#endif

// winber.h needs the types of winldap.h.
#include <winldap.h>
#include <winber.h>

class ILdapApi {
public:
    virtual ~ILdapApi() = default;

    virtual LDAP* Init(const wchar_t* pszHost, ULONG nPort) = 0;               // ldap_initW
    virtual ULONG SetOption(LDAP* pLdap, int nOption, const void* pValue) = 0; // ldap_set_optionW
    virtual ULONG Connect(LDAP* pLdap, l_timeval* pTimeout) = 0;               // ldap_connect
    virtual ULONG BindS(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
                        ULONG nMethod) = 0; // ldap_bind_sW
    // ldap_bindW, a simple bind sent without waiting for its answer, which Result
    // brings: the message id of the request, or (ULONG)-1 when it was not sent.
    virtual ULONG Bind(LDAP* pLdap, const wchar_t* pszName, const wchar_t* pszCredential,
                       ULONG nMethod) = 0;
    // ldap_searchW: the message id of the request, or (ULONG)-1 when it was not sent.
    virtual ULONG Search(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope,
                         const wchar_t* pszFilter, const wchar_t* const* ppszAttributes,
                         ULONG nAttributesOnly) = 0;
    virtual ULONG SearchExtS(LDAP* pLdap, const wchar_t* pszBase, ULONG nScope,
                             const wchar_t* pszFilter, const wchar_t* const* ppszAttributes,
                             ULONG nAttributesOnly, l_timeval* pTimeout, ULONG nSizeLimit,
                             LDAPMessage** ppResult) = 0; // ldap_search_ext_sW, no controls
    virtual ULONG Result(LDAP* pLdap, ULONG nMessageId, ULONG nAll, l_timeval* pTimeout,
                         LDAPMessage** ppResult) = 0; // ldap_result
    virtual ULONG Result2Error(LDAP* pLdap, LDAPMessage* pResult, ULONG nFreeIt) = 0;
    // The referral URLs of a result (ldap_parse_resultW, the result kept) or of a
    // continuation reference (ldap_parse_referenceW), as a value list for ValueFree.
    virtual ULONG ParseReferrals(LDAP* pLdap, LDAPMessage* pResult, wchar_t*** pppszUrls) = 0;
    virtual ULONG ParseReference(LDAP* pLdap, LDAPMessage* pReference, wchar_t*** pppszUrls) = 0;
    virtual ULONG MsgFree(LDAPMessage* pMessage) = 0;
    virtual LDAPMessage* FirstEntry(LDAP* pLdap, LDAPMessage* pResult) = 0;
    virtual LDAPMessage* NextEntry(LDAP* pLdap, LDAPMessage* pEntry) = 0;
    virtual wchar_t* GetDn(LDAP* pLdap, LDAPMessage* pEntry) = 0; // ldap_get_dnW
    virtual wchar_t* FirstAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement** ppCursor) = 0;
    virtual wchar_t* NextAttribute(LDAP* pLdap, LDAPMessage* pEntry, BerElement* pCursor) = 0;
    virtual wchar_t** GetValues(LDAP* pLdap, LDAPMessage* pEntry,
                                const wchar_t* pszAttribute) = 0; // ldap_get_valuesW
    virtual ULONG ValueFree(wchar_t** ppValues) = 0;              // ldap_value_freeW
    virtual void MemFree(wchar_t* pszBlock) = 0;                  // ldap_memfreeW
    // ber_free: the attribute cursor that FirstAttribute handed out.
    virtual void BerFree(BerElement* pCursor, int nFreeBuffer) = 0;
    virtual const wchar_t* Err2String(ULONG nError) = 0; // ldap_err2stringW
    virtual ULONG Unbind(LDAP* pLdap) = 0;
    virtual ULONG UnbindS(LDAP* pLdap) = 0;

    // Encrypted connections. An implementation without them refuses them: no
    // connection, or LDAP_NOT_SUPPORTED.
    // ldap_sslinitW with secure 1: a connection that speaks SSL/TLS from its first byte.
    virtual LDAP* SslInit(const wchar_t* /*pszHost*/, ULONG /*nPort*/) { return nullptr; }
    // ldap_start_tls_sW without controls: TLS on an open connection, before the bind.
    // The library may hand out a result message (ppResult), which the caller frees.
    virtual ULONG StartTlsS(LDAP* /*pLdap*/, ULONG* /*pServerReturn*/, LDAPMessage** /*ppResult*/) {
        return LDAP_NOT_SUPPORTED;
    }
};

// The implementation in use.
LDAP_SEAM_API ILdapApi& LdapApi();
// Puts pApi in place (null: the platform library again); returns the one replaced,
// or null when that was the platform library.
LDAP_SEAM_API ILdapApi* SetLdapApi(ILdapApi* pApi);
// The platform library itself, for a replacement that passes calls on to it.
LDAP_SEAM_API ILdapApi& PlatformLdapApi();

// How each kind of library-owned object is given back.
template <class T> struct LdapRelease;
template <> struct LdapRelease<LDAP> {
    static void Free(ILdapApi& api, LDAP* p) { api.UnbindS(p); }
};
template <> struct LdapRelease<LDAPMessage> {
    static void Free(ILdapApi& api, LDAPMessage* p) { api.MsgFree(p); }
};
template <> struct LdapRelease<wchar_t> { // a DN or an attribute name
    static void Free(ILdapApi& api, wchar_t* p) { api.MemFree(p); }
};
template <> struct LdapRelease<wchar_t*> { // a value list
    static void Free(ILdapApi& api, wchar_t** p) { api.ValueFree(p); }
};
template <> struct LdapRelease<BerElement> {
    static void Free(ILdapApi& api, BerElement* p) { api.BerFree(p, 0); }
};

// Owns one object that the library handed out and gives it back through the same
// implementation that produced it.
template <class T> class CLdapOwner {
public:
    explicit CLdapOwner(ILdapApi& api, T* p = nullptr) : m_api(api), m_p(p) {}
    ~CLdapOwner() { Reset(); }
    CLdapOwner(const CLdapOwner&) = delete;
    CLdapOwner& operator=(const CLdapOwner&) = delete;

    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Releases the current object and takes p.
    void Reset(T* p = nullptr) {
        if (m_p)
            LdapRelease<T>::Free(m_api, m_p);
        m_p = p;
    }
    // For a call that hands the object out through a pointer argument.
    T** Receive() {
        Reset();
        return &m_p;
    }
    // Gives the object up without releasing it: someone else owns it now.
    T* Release() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

private:
    ILdapApi& m_api;
    T* m_p;
};

using CLdapConnection = CLdapOwner<LDAP>; // closed with ldap_unbind_s
using CLdapMessageOwner = CLdapOwner<LDAPMessage>;
using CLdapText = CLdapOwner<wchar_t>;
using CLdapValues = CLdapOwner<wchar_t*>;
using CLdapAttributeCursor = CLdapOwner<BerElement>;
