#include "AccountGeneralPage.h"

#include "AccountAdvancedPage.h"
#include "LDapAccount.h"
#include "TranslatedText.h"
#include "resource.h"

CAccountGeneralPage::CAccountGeneralPage(const CLDapAccount& account,
                                         const CAccountAdvancedPage& advancedPage,
                                         CTranslation* pTranslation)
    : CPropertyPage(IDD_ACCOUNT_GENERAL), m_szAddress(account.address),
      m_szDescription(account.description), m_szLogon(account.logon),
      m_szPassword(account.password), m_szSearchRoot(account.searchRoot),
      m_pTranslation(pTranslation), m_advancedPage(advancedPage), m_account(account) {}

CString CAccountGeneralPage::Text(UINT nID) const {
    CString text = TranslatedText(m_pTranslation, nID);
    if (text.IsEmpty())
        text.LoadString(nID); // the module's own wording, for a host without it
    return text;
}

void CAccountGeneralPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DESCRIPTION, m_szDescription);
    DDX_Text(pDX, IDC_ADDRESS, m_szAddress);
    DDX_Text(pDX, IDC_LOGON, m_szLogon);
    DDX_Text(pDX, IDC_PASSWORD, m_szPassword);
    DDX_Text(pDX, IDC_SEARCH_ROOT, m_szSearchRoot);
}

BOOL CAccountGeneralPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    SetDlgItemText(IDC_DESCRIPTION_LABEL, Text(2919));
    SetDlgItemText(IDC_ADDRESS_LABEL, Text(2955));
    SetDlgItemText(IDC_LOGON_LABEL, Text(2926));
    SetDlgItemText(IDC_PASSWORD_LABEL, Text(2927));
    SetDlgItemText(IDC_SEARCH_ROOT_LABEL, Text(2956));
    // The Advanced page's tab shows its translated caption before that page exists.
    SetTabText(GetPageIndex(), Text(2961));
    SetTabText(GetPageIndex() + 1, Text(2962));
    return TRUE;
}

BOOL CAccountGeneralPage::OnSetActive() {
    // Back from choosing the negotiated bind for a server that bound simply: the
    // platform's own logon replaces the typed one.
    if (m_advancedPage.m_nBindIndex == CAccountAdvancedPage::kNegotiateBind &&
        m_account.bindSelection != 0) {
        m_szLogon.Empty();
        m_szPassword.Empty();
        SetDlgItemText(IDC_LOGON, L"");
        SetDlgItemText(IDC_PASSWORD, L"");
        m_nCredentialsCleared = 1;
    }
    return TRUE;
}

BOOL CAccountGeneralPage::OnKillActive() {
    if (!UpdateData(TRUE))
        return FALSE;
    m_szDescription.TrimRight();
    m_szAddress.TrimRight();
    if (m_szDescription.IsEmpty())
        return Refuse(2807, IDC_DESCRIPTION);
    // The description names the server's registry key: one that cannot would be
    // stored somewhere else, or not at all, and the server lost.
    if (m_szDescription.Find(L'\\') >= 0 || m_szDescription.GetLength() > kMaximumKeyName)
        return Refuse(IDS_DESCRIPTION_NOT_A_KEY, IDC_DESCRIPTION);
    if (m_szAddress.IsEmpty())
        return Refuse(2808, IDC_ADDRESS);
    return TRUE;
}

BOOL CAccountGeneralPage::Refuse(UINT nTextId, int nFieldId) {
    MessageBox(Text(nTextId), Text(3220), MB_ICONINFORMATION);
    ::SetFocus(GetDlgItem(nFieldId));
    return FALSE;
}
