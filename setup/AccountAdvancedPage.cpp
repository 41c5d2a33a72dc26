#include "AccountAdvancedPage.h"

#include "LDapAccount.h"
#include "TranslatedText.h"
#include "resource.h"

#include <climits>

CAccountAdvancedPage::CAccountAdvancedPage(const CLDapAccount& account, CTranslation* pTranslation)
    : CPropertyPage(IDD_ACCOUNT_ADVANCED), m_nPort(account.port), m_nTimeout(account.timeout),
      m_nMaximumHits(account.maximumHits),
      // Every non-zero selection binds simply; the list shows it as such.
      m_nBindIndex(account.bindSelection == 0 ? kNegotiateBind : kSimpleBind),
      m_nEncryption(account.encryption), m_pTranslation(pTranslation) {}

void CAccountAdvancedPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BIND_OPTION, m_bindOption);
    DDX_Text(pDX, IDC_PORT, m_nPort);
    DDV_MinMaxInt(pDX, m_nPort, 1, kMaximumPort);
    DDX_Text(pDX, IDC_TIMEOUT, m_nTimeout);
    DDV_MinMaxInt(pDX, m_nTimeout, 1, INT_MAX);
    DDX_Text(pDX, IDC_MAXIMUM_HITS, m_nMaximumHits);
    DDV_MinMaxInt(pDX, m_nMaximumHits, 1, INT_MAX);
    DDX_CBIndex(pDX, IDC_BIND_OPTION, m_nBindIndex);
    DDX_Control(pDX, IDC_ENCRYPTION, m_encryption);
    DDX_CBIndex(pDX, IDC_ENCRYPTION, m_nEncryption);
}

BOOL CAccountAdvancedPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    auto text = [this](UINT nID) { return TranslatedText(m_pTranslation, nID); };
    SetDlgItemText(IDC_PORT_LABEL, text(2957));
    SetDlgItemText(IDC_TIMEOUT_LABEL, text(2958));
    SetDlgItemText(IDC_MAXIMUM_HITS_LABEL, text(2959));
    SetDlgItemText(IDC_BIND_OPTION_LABEL, text(2057));
    SetTabText(GetPageIndex(), text(2962));
    // Inserted at their places: the list sorts what is added, not what is inserted.
    m_bindOption.InsertString(kNegotiateBind, text(3068));
    m_bindOption.InsertString(kSimpleBind, text(3067));
    SetDlgItemText(IDC_ENCRYPTION_LABEL, text(3915));
    m_encryption.InsertString(CLDapAccount::kEncryptionNone, text(3916));
    m_encryption.InsertString(CLDapAccount::kEncryptionSsl, text(3917));
    m_encryption.InsertString(CLDapAccount::kEncryptionStartTls, text(3918));
    UpdateData(FALSE); // now the lists can show their selections
    return TRUE;
}

BOOL CAccountAdvancedPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_ENCRYPTION && HIWORD(wParam) == CBN_SELCHANGE) {
        OnEncryptionChanged();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CAccountAdvancedPage::OnEncryptionChanged() {
    const int nChosen = m_encryption.GetCurSel();
    BOOL bNumber = FALSE;
    const UINT nPort = ::GetDlgItemInt(m_hWnd, IDC_PORT, &bNumber, FALSE);
    if (!bNumber)
        return;
    if (nChosen == CLDapAccount::kEncryptionSsl && nPort == kLdapPort)
        ::SetDlgItemInt(m_hWnd, IDC_PORT, kLdapsPort, FALSE);
    else if (nChosen != CLDapAccount::kEncryptionSsl && nPort == kLdapsPort)
        ::SetDlgItemInt(m_hWnd, IDC_PORT, kLdapPort, FALSE);
}

void CAccountAdvancedPage::ReadTypedValues(CLDapAccount& account) const {
    account.port = m_nPort;
    account.timeout = m_nTimeout;
    account.bindSelection = m_nBindIndex;
    account.encryption = m_nEncryption;
    if (m_hWnd) {
        BOOL bNumber = FALSE;
        const UINT nPort = ::GetDlgItemInt(m_hWnd, IDC_PORT, &bNumber, FALSE);
        if (bNumber && nPort >= 1 && nPort <= kMaximumPort)
            account.port = static_cast<int>(nPort);
        const UINT nTimeout = ::GetDlgItemInt(m_hWnd, IDC_TIMEOUT, &bNumber, FALSE);
        if (bNumber && nTimeout >= 1)
            account.timeout = static_cast<int>(nTimeout);
        if (m_bindOption.GetCurSel() >= 0)
            account.bindSelection = m_bindOption.GetCurSel();
        if (m_encryption.GetCurSel() >= 0)
            account.encryption = m_encryption.GetCurSel();
    }
    account.UpdateBindMethod();
}

BOOL CAccountAdvancedPage::OnSetActive() {
    TRACE(L"CAccountAdvancedPage::OnSetActive()\n");
    return TRUE;
}
