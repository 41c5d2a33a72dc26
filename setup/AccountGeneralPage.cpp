#include "AccountGeneralPage.h"

#include "AccountAdvancedPage.h"
#include "LDapAccount.h"
#include "LdapApi.h"
#include "TranslatedText.h"
#include "resource.h"

#include <algorithm>

namespace {

// Texts of the connection test.
constexpr UINT kTestButtonText = 3920;
constexpr UINT kTestingText = 3921;
constexpr UINT kConnectedText = 3922;     // version, entries, search root
constexpr UINT kConnectedMoreText = 3923; // version, counting limit, search root
constexpr UINT kUnreachableText = 3924;   // the library's reason
constexpr UINT kLogonRefusedText = 3925;
constexpr UINT kSecureFailedText = 3926;
constexpr UINT kNoAnswerText = 3927;    // seconds
constexpr UINT kNotReadableText = 3928; // search root, the library's reason
constexpr UINT kNoSearchRootText = 3929;

// The time-out of a running test, and where its result is announced.
constexpr UINT_PTR kTestTimer = 0x7E57;
UINT ConnectionTestedMessage() {
    static const UINT nMessage = ::RegisterWindowMessageW(L"DirectorySearch.ConnectionTested");
    return nMessage;
}

} // namespace

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
    SetDlgItemText(IDC_TEST_CONNECTION, Text(kTestButtonText));
    m_pTester = std::make_unique<CConnectionTester>(m_hWnd, ConnectionTestedMessage());
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

// ---------------------------------------------------------------- connection test

BOOL CAccountGeneralPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_TEST_CONNECTION) {
        StartConnectionTest();
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_SEARCH_ROOT_CHOICES) {
        ChooseSearchRoot();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT CAccountGeneralPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ConnectionTestedMessage()) {
        OnConnectionTested();
        return 0;
    }
    if (message == WM_TIMER && wParam == kTestTimer) {
        OnConnectionTestTimeout();
        return 0;
    }
    if (message == WM_DESTROY)
        m_pTester.reset(); // a test still running reports to nobody
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

void CAccountGeneralPage::StartConnectionTest() {
    if (!m_pTester)
        return;
    CLDapAccount account(m_account);
    account.address = GetDlgItemText(IDC_ADDRESS).TrimRight();
    account.logon = GetDlgItemText(IDC_LOGON);
    account.password = GetDlgItemText(IDC_PASSWORD);
    account.searchRoot = GetDlgItemText(IDC_SEARCH_ROOT);
    m_advancedPage.ReadTypedValues(account);
    if (account.address.IsEmpty()) {
        SetDlgItemText(IDC_TEST_RESULT, Text(2808));
        return;
    }
    m_strTestedRoot = account.searchRoot.IsEmpty() ? Text(kNoSearchRootText) : account.searchRoot;
    m_nTestSeconds = std::clamp(account.timeout, 1, kConnectionTestMaxSeconds);
    SetDlgItemText(IDC_TEST_RESULT, Text(kTestingText));
    if (!m_pTester->Start(account)) {
        EndConnectionTest(CString());
        return;
    }
    ::EnableWindow(GetDlgItem(IDC_TEST_CONNECTION), FALSE);
    SetTimer(kTestTimer, static_cast<UINT>(m_nTestSeconds) * 1000);
}

void CAccountGeneralPage::OnConnectionTested() {
    CConnectionTestResult result;
    if (!m_pTester || !m_pTester->TakeResult(result))
        return;
    if (result.outcome == CConnectionTestResult::Outcome::Connected ||
        result.outcome == CConnectionTestResult::Outcome::NotReadable) {
        m_namingContexts = result.namingContexts;
        ::EnableWindow(GetDlgItem(IDC_SEARCH_ROOT_CHOICES), !m_namingContexts.empty());
    }
    EndConnectionTest(Report(result));
}

void CAccountGeneralPage::OnConnectionTestTimeout() {
    if (!m_pTester || !m_pTester->IsRunning())
        return;
    m_pTester->Abandon();
    CString report;
    report.Format(Text(kNoAnswerText), m_nTestSeconds);
    EndConnectionTest(report);
}

void CAccountGeneralPage::EndConnectionTest(const CString& report) {
    KillTimer(kTestTimer);
    SetDlgItemText(IDC_TEST_RESULT, report);
    ::EnableWindow(GetDlgItem(IDC_TEST_CONNECTION), TRUE);
}

CString CAccountGeneralPage::Report(const CConnectionTestResult& result) const {
    using Outcome = CConnectionTestResult::Outcome;
    CString report;
    const CString reason = LdapApi().Err2String(result.nError);
    switch (result.outcome) {
    case Outcome::Connected:
        report.Format(Text(result.bMore ? kConnectedMoreText : kConnectedText), result.nVersion,
                      result.nEntries, m_strTestedRoot.GetString());
        break;
    case Outcome::Unreachable:
        report.Format(Text(kUnreachableText), reason.GetString());
        break;
    case Outcome::Secure:
        report = Text(kSecureFailedText);
        break;
    case Outcome::LogonRefused:
        report = Text(kLogonRefusedText);
        break;
    case Outcome::NotReadable:
        report.Format(Text(kNotReadableText), m_strTestedRoot.GetString(), reason.GetString());
        break;
    }
    return report;
}

void CAccountGeneralPage::ChooseSearchRoot() {
    CMenu menu;
    if (m_namingContexts.empty() || !menu.CreatePopupMenu())
        return;
    for (size_t i = 0; i < m_namingContexts.size(); ++i) {
        menu.AppendMenu(MF_STRING, i + 1, CMenu::LiteralText(m_namingContexts[i]));
    }
    RECT button;
    ::GetWindowRect(GetDlgItem(IDC_SEARCH_ROOT_CHOICES), &button);
    const UINT nChoice = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD | TPM_RIGHTALIGN,
                         button.right, button.bottom, 0, m_hWnd, nullptr));
    if (nChoice >= 1 && nChoice <= m_namingContexts.size())
        SetDlgItemText(IDC_SEARCH_ROOT, m_namingContexts[nChoice - 1]);
}
