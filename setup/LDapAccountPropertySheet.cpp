#include "LDapAccountPropertySheet.h"

#include "DirectorySearchDialog.h"
#include "HostMessages.h"
#include "TranslatedText.h"
#include "resource.h"

CLDapAccountPropertySheet::CLDapAccountPropertySheet(CDirectorySearchDialog* pSearchWindow,
                                                     CTranslation* pTranslation)
    : CPropertySheet(TranslatedText(pTranslation, 3239), pSearchWindow, 0),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_DIRECTORY_SEARCH))),
      m_pTranslation(pTranslation), m_pSearchWindow(pSearchWindow) {}

CString CLDapAccountPropertySheet::Text(UINT nID) const {
    return TranslatedText(m_pTranslation, nID);
}

INT_PTR CLDapAccountPropertySheet::DoModal() {
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    return CPropertySheet::DoModal();
}

BOOL CLDapAccountPropertySheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetDlgItemText(IDOK, Text(2009));
    SetDlgItemText(IDCANCEL, Text(2004));
    return TRUE;
}

LRESULT CLDapAccountPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HELP: // F1 anywhere in the sheet
        m_pSearchWindow->SendHostMessage(HostMessage::kHelp, 0);
        return TRUE;
    case WM_DESTROY: {
        LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
        if (IsModal())
            EndModalLoop(kDestroyed);
        return result;
    }
    default:
        return CPropertySheet::WindowProc(message, wParam, lParam);
    }
}
