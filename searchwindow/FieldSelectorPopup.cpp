#include "FieldSelectorPopup.h"

#include "DirectorySearchDialog.h"
#include "resource.h"

CFieldSelectorPopup::CFieldSelectorPopup(CDirectorySearchDialog* pSearchWindow,
                                         CListCtrlEx* pFieldSource, const RECT& buttonRect)
    : CDialog(IDD_FIELD_SELECTOR, pSearchWindow), m_pSearchWindow(pSearchWindow),
      m_pFieldSource(pFieldSource), m_buttonRect(buttonRect) {}

BOOL CFieldSelectorPopup::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_FIELD_LIST, this);
    // The item data is the definition's place in the catalogue, which only grows
    // while the popup is open.
    for (int i = 0; i < m_pFieldSource->GetColumnCount(); ++i) {
        const int nItem = m_list.AddString(m_pFieldSource->m_columns[i]->m_szTitle);
        m_list.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    }
    SetWindowPos(nullptr, m_buttonRect.left, m_buttonRect.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE; // the focus goes to the list
}

BOOL CFieldSelectorPopup::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_FIELD_LIST) {
        switch (HIWORD(wParam)) {
        case LBN_SELCHANGE:
            OnChoice();
            return TRUE;
        case LBN_KILLFOCUS:
            Close();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CFieldSelectorPopup::OnChoice() {
    if (m_bClosing)
        return;
    const int nItem = m_list.GetCurSel();
    const int nField = nItem >= 0 ? static_cast<int>(m_list.GetItemData(nItem)) : -1;
    if (nField >= 0 && nField < m_pFieldSource->GetColumnCount()) {
        const CListColumn& column = *m_pFieldSource->m_columns[nField];
        m_pSearchWindow->ApplyFieldChoice(column.m_szTitle, column.m_szName);
    }
    Close();
}

void CFieldSelectorPopup::Close() {
    if (m_bClosing)
        return;
    m_bClosing = true;
    PostMessage(WM_CLOSE);
}

LRESULT CFieldSelectorPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
