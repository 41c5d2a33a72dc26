#include "PropertySheet.h"

// ---------------------------------------------------------------- CPropertyPage

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate) {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE; // everything else reaches the object through its subclass
    // The sheet passes its own copy of the page description; it carries the object.
    auto* pPage =
        reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    return pPage->AttachAndInit(hWnd);
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::SetTabText(int nIndex, const wchar_t* pszText) {
    HWND hTab = reinterpret_cast<HWND>(::SendMessageW(GetParent(), PSM_GETTABCONTROL, 0, 0));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(pszText);
    ::SendMessageW(hTab, TCM_SETITEMW, nIndex, reinterpret_cast<LPARAM>(&item));
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The sheet asks through notifications and reads the answer from SendMessage.
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (message == WM_NOTIFY && pHdr->hwndFrom == GetParent()) {
        switch (pHdr->code) {
        case PSN_SETACTIVE:
            return OnSetActive() ? 0 : -1;
        case PSN_KILLACTIVE:
            return OnKillActive() ? FALSE : TRUE;
        case PSN_APPLY:
            return PSNRET_NOERROR;
        case PSN_QUERYCANCEL:
        case PSN_RESET:
            return FALSE;
        default:
            break;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------- CPropertySheet

CPropertySheet::CPropertySheet(const wchar_t* pszCaption, CWnd* pParent, UINT nSelectPage)
    : m_strCaption(pszCaption), m_pParentWnd(pParent) {
    m_psh.dwSize = sizeof(m_psh);
    m_psh.nStartPage = nSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    pPage->m_nPageIndex = static_cast<int>(m_pages.size());
    m_pages.push_back(pPage);
}

BOOL CPropertySheet::OnInitDialog() {
    return TRUE;
}

bool CPropertySheet::Closed() const {
    // After OK or Cancel a modeless sheet has no current page.
    return ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

void CPropertySheet::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    m_bModal = FALSE;
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_psp.hInstance = pPage->TemplateInstance();
        pages.push_back(pPage->m_psp);
    }
    HWND hParent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    // Created modeless and run by the loop below, which can be ended from inside.
    PROPSHEETHEADERW psh = m_psh;
    psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    psh.hwndParent = hParent;
    psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = static_cast<UINT>(pages.size());
    psh.ppsp = pages.data();
    HWND hSheet = reinterpret_cast<HWND>(::PropertySheetW(&psh));
    if (!hSheet || hSheet == reinterpret_cast<HWND>(-1))
        return -1;
    Attach(hSheet);
    OnInitDialog();
    ShowWindow(SW_SHOW);

    m_bModal = TRUE;
    m_nModalResult = IDCANCEL;
    // An owner already disabled (by a modal window of its own) stays so afterwards.
    const bool bOwnerDisabledHere = hParent && ::IsWindowEnabled(hParent);
    if (bOwnerDisabledHere)
        ::EnableWindow(hParent, FALSE);
    MSG msg;
    while (m_bModal && m_hWnd && !Closed()) {
        BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            if (bGot == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            m_nModalResult = -1;
            break;
        }
        CWinApp* pApp = AfxGetApp();
        if (!(pApp ? pApp->PreTranslateMessage(&msg) : PreTranslateMessage(&msg))) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bModal = FALSE;
    // The owner comes back before the sheet goes, so that it is activated again.
    if (bOwnerDisabledHere && ::IsWindow(hParent))
        ::EnableWindow(hParent, TRUE);
    if (m_hWnd)
        DestroyWindow();
    return m_nModalResult;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        // The sheet closes only when every page accepted.
        LRESULT result = Default();
        if (m_hWnd && Closed())
            m_nModalResult = IDOK;
        return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
