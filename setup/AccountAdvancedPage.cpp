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
      m_pTranslation(pTranslation) {}

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
    UpdateData(FALSE); // now the list can show the selection
    return TRUE;
}

BOOL CAccountAdvancedPage::OnSetActive() {
    TRACE(L"CAccountAdvancedPage::OnSetActive()\n");
    return TRUE;
}
