// Opening a connection as an account asks for it: clear text, SSL/TLS from the first
// byte, or StartTLS before the bind; and the bind's name and credential. The search,
// the version probe and the account sheet's connection test all connect this way.
//
// The server's certificate is checked by the platform's LDAP library against the
// system's certificate store; the module never installs a check of its own that
// could accept what the system refuses.
#pragma once

#include "LDapAccount.h"
#include "LdapApi.h"

#include <rpc.h>

// ldap_initW, or ldap_sslinitW for kEncryptionSsl; null when the library gives no
// connection.
LDAP* OpenLdapConnection(ILdapApi& api, const wchar_t* pszHost, int nPort, int nEncryption);

// For kEncryptionStartTls: protocol version 3 (the only one with StartTLS), then
// TLS. LDAP_SUCCESS at once for the other kinds. Any other result: the connection is
// not encrypted and must not be used, so that nothing goes out in clear text.
ULONG SecureLdapConnection(ILdapApi& api, LDAP* pLdap, int nEncryption);

// The connection itself failed (no server, no answer, no TLS handshake), as opposed
// to the server answering with a refusal.
bool IsTransportFailure(ULONG nError);

// The name, credential and method of the account's bind: for a negotiate bind with
// logon and password an identity record that points into the account's texts, so
// the account must outlive the object.
class CBindCredentials {
public:
    explicit CBindCredentials(const CLDapAccount& account);
    CBindCredentials(const CBindCredentials&) = delete;
    CBindCredentials& operator=(const CBindCredentials&) = delete;

    const wchar_t* Name() const { return m_pszName; }
    const wchar_t* Credential() const { return m_pszCredential; }
    ULONG Method() const { return m_nMethod; }

private:
    SEC_WINNT_AUTH_IDENTITY_W m_identity{};
    const wchar_t* m_pszName = nullptr;
    const wchar_t* m_pszCredential = nullptr;
    ULONG m_nMethod;
};
