#include "LdapConnector.h"

LDAP* OpenLdapConnection(ILdapApi& api, const wchar_t* pszHost, int nPort, int nEncryption) {
    const ULONG nPortNumber = static_cast<ULONG>(nPort);
    return nEncryption == CLDapAccount::kEncryptionSsl ? api.SslInit(pszHost, nPortNumber)
                                                       : api.Init(pszHost, nPortNumber);
}

ULONG SecureLdapConnection(ILdapApi& api, LDAP* pLdap, int nEncryption) {
    if (nEncryption != CLDapAccount::kEncryptionStartTls)
        return LDAP_SUCCESS;
    ULONG nVersion = LDAP_VERSION3;
    api.SetOption(pLdap, LDAP_OPT_PROTOCOL_VERSION, &nVersion);
    ULONG nServerReturn = 0;
    CLdapMessageOwner result(api);
    return api.StartTlsS(pLdap, &nServerReturn, result.Receive());
}

bool IsTransportFailure(ULONG nError) {
    switch (nError) {
    case LDAP_SERVER_DOWN:
    case LDAP_LOCAL_ERROR:
    case LDAP_ENCODING_ERROR:
    case LDAP_DECODING_ERROR:
    case LDAP_TIMEOUT:
    case LDAP_CONNECT_ERROR:
        return true;
    default:
        return false;
    }
}

CBindCredentials::CBindCredentials(const CLDapAccount& account)
    : m_nMethod(static_cast<ULONG>(account.bindMethod)) {
    if (account.bindMethod != CLDapAccount::kNegotiateBind) {
        m_pszName = account.logon;
        m_pszCredential = account.password;
        return;
    }
    // Without both, the platform binds as the user who is logged on.
    if (account.logon.IsEmpty() || account.password.IsEmpty())
        return;
    m_identity.User =
        reinterpret_cast<unsigned short*>(const_cast<wchar_t*>(account.logon.GetString()));
    m_identity.UserLength = static_cast<unsigned long>(account.logon.GetLength());
    m_identity.Password =
        reinterpret_cast<unsigned short*>(const_cast<wchar_t*>(account.password.GetString()));
    m_identity.PasswordLength = static_cast<unsigned long>(account.password.GetLength());
    m_identity.Flags = SEC_WINNT_AUTH_IDENTITY_UNICODE;
    m_pszCredential = reinterpret_cast<const wchar_t*>(&m_identity);
}
