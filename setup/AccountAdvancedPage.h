// The Advanced page of the account property sheet: port, search time-out, maximum
// entries returned, the bind option and the encryption of the connection.
#pragma once

#include "Framework.h"

class CLDapAccount;
class CTranslation;

class CAccountAdvancedPage : public CPropertyPage {
public:
    // The bind option items in their fixed order; an item's index is the stored
    // bindSelection.
    static constexpr int kNegotiateBind = 0;
    static constexpr int kSimpleBind = 1;
    // The highest TCP port: a larger number would reach another port.
    static constexpr int kMaximumPort = 65535;
    // The usual ports of LDAP in clear text (or StartTLS) and of LDAP over SSL/TLS.
    static constexpr int kLdapPort = 389;
    static constexpr int kLdapsPort = 636;

    CAccountAdvancedPage(const CLDapAccount& account, CTranslation* pTranslation);

    CComboBox m_bindOption;
    int m_nPort;
    int m_nTimeout;
    int m_nMaximumHits;
    int m_nBindIndex;
    // The encryption items in their fixed order; an item's index is the stored
    // "Encryption" value (CLDapAccount::kEncryption...).
    CComboBox m_encryption;
    int m_nEncryption;

    // What the page holds now, read from its controls when it has been shown (values
    // that do not parse stay as they were); for testing a connection before OK.
    void ReadTypedValues(CLDapAccount& account) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // SSL/TLS chosen with the clear-text port proposes the SSL/TLS port, and back.
    void OnEncryptionChanged();

    CTranslation* m_pTranslation;
};
