// The General page of the account property sheet: description, server address,
// logon, password and search root.
#pragma once

#include "Framework.h"

class CAccountAdvancedPage;
class CLDapAccount;
class CTranslation;

class CAccountGeneralPage : public CPropertyPage {
public:
    // The longest name of a registry key.
    static constexpr int kMaximumKeyName = 255;

    CAccountGeneralPage(const CLDapAccount& account, const CAccountAdvancedPage& advancedPage,
                        CTranslation* pTranslation);

    // Set once the page has blanked logon and password for the negotiated bind.
    int m_nCredentialsCleared = 0;
    CString m_szAddress;
    CString m_szDescription;
    CString m_szLogon;
    CString m_szPassword;
    CString m_szSearchRoot;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

private:
    CString Text(UINT nID) const;
    // Tells the user what is missing and puts the focus on that field.
    BOOL Refuse(UINT nTextId, int nFieldId);

    CTranslation* m_pTranslation;
    const CAccountAdvancedPage& m_advancedPage;
    const CLDapAccount& m_account;
};
