#include "ConnectionTest.h"

#include "LdapApi.h"
#include "LdapConnector.h"

#include <algorithm>

namespace {

using Outcome = CConnectionTestResult::Outcome;

// The values of one attribute of the first entry of a result.
std::vector<CString> FirstEntryValues(ILdapApi& api, LDAP* pLdap, LDAPMessage* pResult,
                                      const wchar_t* pszAttribute) {
    std::vector<CString> values;
    LDAPMessage* pEntry = pResult ? api.FirstEntry(pLdap, pResult) : nullptr;
    if (!pEntry)
        return values;
    CLdapValues list(api, api.GetValues(pLdap, pEntry, pszAttribute));
    for (wchar_t** ppValue = list.Get(); ppValue && *ppValue; ++ppValue)
        values.emplace_back(*ppValue);
    return values;
}

void ReadRootDse(ILdapApi& api, LDAP* pLdap, l_timeval* pTimeout, CConnectionTestResult& result) {
    const wchar_t* const attributes[] = {L"supportedLDAPVersion", L"namingContexts", nullptr};
    CLdapMessageOwner answer(api);
    if (api.SearchExtS(pLdap, L"", LDAP_SCOPE_BASE, L"(objectClass=*)", attributes, 0, pTimeout, 0,
                       answer.Receive()) != LDAP_SUCCESS)
        return; // a server without a readable root DSE can still be searched
    const std::vector<CString> versions =
        FirstEntryValues(api, pLdap, answer.Get(), L"supportedLDAPVersion");
    if (std::find(versions.begin(), versions.end(), CString(L"3")) != versions.end())
        result.nVersion = 3;
    result.namingContexts = FirstEntryValues(api, pLdap, answer.Get(), L"namingContexts");
}

void CountEntries(ILdapApi& api, LDAP* pLdap, const CString& searchRoot, l_timeval* pTimeout,
                  CConnectionTestResult& result) {
    const wchar_t* const noAttributes[] = {L"1.1", nullptr};
    CLdapMessageOwner answer(api);
    const ULONG nError =
        api.SearchExtS(pLdap, searchRoot, LDAP_SCOPE_SUBTREE, L"(objectClass=*)", noAttributes, 1,
                       pTimeout, kConnectionTestCountLimit, answer.Receive());
    if (nError != LDAP_SUCCESS && nError != LDAP_SIZELIMIT_EXCEEDED) {
        result.outcome = Outcome::NotReadable;
        result.nError = nError;
        return;
    }
    result.outcome = Outcome::Connected;
    for (LDAPMessage* pEntry = answer ? api.FirstEntry(pLdap, answer.Get()) : nullptr; pEntry;
         pEntry = api.NextEntry(pLdap, pEntry))
        ++result.nEntries;
    result.bMore = nError == LDAP_SIZELIMIT_EXCEEDED;
    if (result.bMore)
        result.nEntries = std::max(result.nEntries, kConnectionTestCountLimit);
}

} // namespace

CConnectionTestResult TestConnection(const CLDapAccount& account) {
    CConnectionTestResult result;
    const bool bEncrypted = account.encryption != CLDapAccount::kEncryptionNone;
    // A failure before the server has answered is, over an encrypted connection,
    // the encryption's: wrong port, no TLS there, or a certificate not trusted.
    auto fail = [&](ULONG nError, bool bTransport) {
        result.nError = nError;
        result.outcome = bEncrypted && bTransport ? Outcome::Secure
                         : bTransport             ? Outcome::Unreachable
                                                  : Outcome::LogonRefused;
        return result;
    };

    ILdapApi& api = LdapApi();
    CLdapConnection connection(
        api, OpenLdapConnection(api, account.address, account.port, account.encryption));
    if (!connection)
        return fail(LDAP_CONNECT_ERROR, true); // the library gave no connection
    ULONG nVersion = LDAP_VERSION3;
    api.SetOption(connection.Get(), LDAP_OPT_PROTOCOL_VERSION, &nVersion);
    api.SetOption(connection.Get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    l_timeval timeout{std::clamp(account.timeout, 1, kConnectionTestMaxSeconds), 0};

    ULONG nError = api.Connect(connection.Get(), &timeout);
    if (nError != LDAP_SUCCESS)
        return fail(nError, true);
    nError = SecureLdapConnection(api, connection.Get(), account.encryption);
    if (nError != LDAP_SUCCESS) {
        result.nError = nError;
        result.outcome = Outcome::Secure;
        return result;
    }
    const CBindCredentials credentials(account);
    nError = api.BindS(connection.Get(), credentials.Name(), credentials.Credential(),
                       credentials.Method());
    if (nError != LDAP_SUCCESS)
        return fail(nError, IsTransportFailure(nError));

    ReadRootDse(api, connection.Get(), &timeout, result);
    CountEntries(api, connection.Get(), account.searchRoot, &timeout, result);
    return result;
}
