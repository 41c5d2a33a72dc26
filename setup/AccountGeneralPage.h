// The General page of the account property sheet: description, server address,
// logon, password and search root; and a test of the connection with what has been
// typed so far, which also offers the search roots the server names.
#pragma once

#include "ConnectionTester.h"

#include "Framework.h"

#include <memory>
#include <vector>

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
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString Text(UINT nID) const;
    // Tells the user what is missing and puts the focus on that field.
    BOOL Refuse(UINT nTextId, int nFieldId);

    // The Test button: the account as typed on both pages, tried on a worker thread.
    void StartConnectionTest();
    void OnConnectionTested();
    void OnConnectionTestTimeout();
    void EndConnectionTest(const CString& report);
    CString Report(const CConnectionTestResult& result) const;
    // The "..." button: a menu of the search roots the server named.
    void ChooseSearchRoot();

    CTranslation* m_pTranslation;
    const CAccountAdvancedPage& m_advancedPage;
    const CLDapAccount& m_account;
    std::unique_ptr<CConnectionTester> m_pTester;
    int m_nTestSeconds = 0;                // the running test's time-out
    CString m_strTestedRoot;               // the search root it counts under
    std::vector<CString> m_namingContexts; // from the last test that connected
};
