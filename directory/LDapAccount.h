// CLDapAccount: one LDAP directory server the user can search, with its stored
// settings and the runtime state of its connection; CLDapAccountArray: the
// servers of the search window in the store's order.
//
// An account is stored in the key
//   HKCU\Software\Tovana\<product key>\Config\LDapServers\<description>
// with the text values "searchRoot", "address", "logon", "password" and the
// integer values "maximumHits", "port", "timeout", "ldapVersion", "ldapReferral",
// "bindSelection", and "Encryption" for a server reached over an encrypted
// connection. "ldapVersion" and "ldapReferral" are only ever set by an
// administrator: Save leaves them alone.
#pragma once

#include "Options.h"

#include <winldap.h>

class CWinApp;

// Sub-key of the options root that holds one key per account.
extern const wchar_t kLDapServersKey[];

class CLDapAccount : public CObject {
public:
    static constexpr int kSimpleBind = 0x80;
    static constexpr int kNegotiateBind = 0x486;
    // How the connection is protected: the stored "Encryption" value.
    static constexpr int kEncryptionNone = 0;     // clear text, also when the value is absent
    static constexpr int kEncryptionSsl = 1;      // SSL/TLS from the first byte (ldaps)
    static constexpr int kEncryptionStartTls = 2; // StartTLS before the bind

    CLDapAccount() = default;
    // An account with the settings stored under description in pOptions' store.
    explicit CLDapAccount(const CString& strDescription,
                          COptions* pOptions = COptions::GetOptions());
    // A copy uses the same store as its source.
    CLDapAccount(const CLDapAccount& other);
    // Takes every member of other except the store.
    CLDapAccount& operator=(const CLDapAccount& other);

    // Reads the stored settings; what is missing or unreadable takes its default.
    void Load();
    // Writes searchRoot, address, logon, password, maximumHits, port, timeout and
    // bindSelection, creating the account key when it is missing; then "Encryption"
    // when there is one, else removes that value, so that a clear-text server's key
    // holds what it always held. A value stored in a form that reads as its default
    // is kept while the account holds that default.
    void Save();
    // Removes the account key with its values.
    void Delete();
    // The account key, relative to HKEY_CURRENT_USER.
    CString GetKeyPath() const;
    // Keeps bindMethod in step with bindSelection.
    void UpdateBindMethod();

    CString description;
    COptions* options = COptions::GetOptions();
    int maximumHits = 200;
    bool bound = false;
    LDAP* connection = nullptr; // not owned: the search that opened it closes it
    int scope = LDAP_SCOPE_SUBTREE;
    CString filter;
    CString searchRoot;
    int port = LDAP_PORT;
    CString address;
    int timeout = 200;
    CString logon;
    CString password;
    int ldapVersion = 3; // 0: ask the server at each search
    int ldapReferral = 1;
    int bindSelection = 1; // 0: negotiate bind, else simple bind
    int bindMethod = kSimpleBind;
    // A stored value that is none of the three kinds reads as kEncryptionSsl: a
    // server meant to be encrypted is never reached in clear text.
    int encryption = kEncryptionNone;
};

class CLDapAccountArray : public CArray<CLDapAccount> {
public:
    // Replaces the contents with every account of pOptions' store, in the order the
    // store lists them.
    void LoadAll(COptions* pOptions = COptions::GetOptions());
    // Saves every account, then empties the array.
    void SaveAll();
    // The account named by the "Current" value of app's profile section
    // "Config\LDAPServers": the last one whose description equals it exactly, else
    // (empty or stale) the first account; null when there is none.
    CLDapAccount* ChooseCurrent(const CWinApp& app);
    // That "Current" value as stored, and stored anew.
    static CString CurrentName(const CWinApp& app);
    static void WriteCurrentName(CWinApp& app, const CString& description);
};
