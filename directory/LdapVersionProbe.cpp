#include "LdapVersionProbe.h"

#include "LdapApi.h"
#include "LdapConnector.h"

namespace {

bool ListsVersion3(wchar_t* const* ppValues) {
    for (; *ppValues; ++ppValues) {
        if (wcscmp(*ppValues, L"3") == 0)
            return true;
    }
    return false;
}

// The version the root DSE entry of a successful search announces.
int VersionFromRootDse(ILdapApi& api, LDAP* pLdap, LDAPMessage* pResult) {
    LDAPMessage* pEntry = api.FirstEntry(pLdap, pResult);
    if (!pEntry)
        return 2;
    CLdapAttributeCursor cursor(api);
    CLdapText attribute(api, api.FirstAttribute(pLdap, pEntry, cursor.Receive()));
    if (!attribute)
        return 2;
    CLdapValues values(api, api.GetValues(pLdap, pEntry, attribute.Get()));
    return values && ListsVersion3(values.Get()) ? 3 : 2;
}

} // namespace

int ProbeLdapVersion(const CString& server, int nPort, int nEncryption, l_timeval* pTimeLimit) {
    ILdapApi& api = LdapApi();
    CLdapConnection connection(api, OpenLdapConnection(api, server, nPort, nEncryption));
    if (!connection) {
        ::OutputDebugStringW(L"ldapCheckVersion: ldap_init failed\n");
        return 2;
    }
    api.SetOption(connection.Get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    if (SecureLdapConnection(api, connection.Get(), nEncryption) != LDAP_SUCCESS) {
        ::OutputDebugStringW(L"ldapCheckVersion: no secure connection\n");
        return 2;
    }

    const wchar_t* const attributes[] = {L"supportedLDAPVersion", nullptr};
    CLdapMessageOwner result(api);
    ULONG nError = api.SearchExtS(connection.Get(), L"", LDAP_SCOPE_BASE, L"(objectClass=*)",
                                  attributes, 0, pTimeLimit, 0, result.Receive());
    switch (nError) {
    case LDAP_SUCCESS:
        return VersionFromRootDse(api, connection.Get(), result.Get());
    case LDAP_OPERATIONS_ERROR:
    case LDAP_PROTOCOL_ERROR:
    case LDAP_PARTIAL_RESULTS:
    case LDAP_NO_SUCH_OBJECT:
        // The server has no root DSE that we may read.
        ::OutputDebugStringW(L"ldapCheckVersion: root DSE not found\n");
        return 2;
    default:
        ::OutputDebugStringW(L"ldapCheckVersion: ldap_search_ext_s failed\n");
        return 2;
    }
}
