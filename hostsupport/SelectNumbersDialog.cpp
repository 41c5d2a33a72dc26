#include "SelectNumbersDialog.h"

#include "HostSupportResource.h"
#include "Translation.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr int kMaxText = 512;

} // namespace

CSelectNumbersDialog::CSelectNumbersDialog(IFieldList& fields, const CTranslation& texts,
                                           CWnd* pOwner)
    : CDialog(IDD_SELECT_NUMBERS, pOwner), m_fields(fields), m_texts(texts) {
    // The template is this library's, whichever module asks for the dialog.
    m_hTemplateInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
}

BOOL CSelectNumbersDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_texts.LoadStringW(3714, kMaxText));
    SetDlgItemText(IDC_SELECT_NUMBERS_PROMPT, m_texts.LoadStringW(3715, kMaxText));
    SetDlgItemText(IDOK, m_texts.LoadStringW(2009, kMaxText));
    SetDlgItemText(IDCANCEL, m_texts.LoadStringW(2004, kMaxText));

    m_list.SubclassDlgItem(IDC_SELECT_NUMBERS_FIELDS, this);
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, m_texts.LoadStringW(3112, kMaxText), LVCFMT_LEFT,
                        client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL));
    for (int i = 0; i < m_fields.GetFieldCount(); ++i) {
        m_list.InsertItem(i, m_fields.GetFieldTitle(i));
        m_list.SetCheck(i, m_fields.IsPhoneNumberField(i));
    }
    if (m_list.GetItemCount() > 0)
        m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_list.SetFocus();
    return FALSE; // the focus is in the list
}

void CSelectNumbersDialog::OnOK() {
    for (int i = 0; i < m_fields.GetFieldCount() && i < m_list.GetItemCount(); ++i)
        m_fields.SetPhoneNumberField(i, m_list.GetCheck(i));
    CDialog::OnOK();
}
