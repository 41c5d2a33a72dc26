#include "FieldOrganizerDialog.h"

#include "HostSupportResource.h"
#include "Translation.h"

#include <algorithm>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr int kMaxText = 512;
constexpr UINT kStateUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kStateChecked = INDEXTOSTATEIMAGEMASK(2);

CString WithoutMnemonic(CString text) {
    text.Remove(L'&');
    return text;
}

} // namespace

CFieldOrganizerDialog::CFieldOrganizerDialog(IFieldList& fields, const CTranslation& texts,
                                             CWnd* pOwner)
    : CDialog(IDD_FIELD_ORGANIZER, pOwner), m_fields(fields), m_texts(texts) {
    // The template is this library's, whichever module asks for the dialog.
    m_hTemplateInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
}

BOOL CFieldOrganizerDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(WithoutMnemonic(m_texts.LoadStringW(3712, kMaxText)));
    SetDlgItemText(IDC_FIELD_ORGANIZER_PROMPT, m_texts.LoadStringW(3713, kMaxText));
    SetDlgItemText(IDC_FIELD_ORGANIZER_UP, m_texts.LoadStringW(3718, kMaxText));
    SetDlgItemText(IDC_FIELD_ORGANIZER_DOWN, m_texts.LoadStringW(3719, kMaxText));
    SetDlgItemText(IDOK, m_texts.LoadStringW(2009, kMaxText));
    SetDlgItemText(IDCANCEL, m_texts.LoadStringW(2004, kMaxText));

    m_list.SubclassDlgItem(IDC_FIELD_ORGANIZER_FIELDS, this);
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT,
                        client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL));
    // The shown fields in their order, then the hidden ones as the list keeps them.
    std::vector<int> order;
    for (int i = 0; i < m_fields.GetFieldCount(); ++i)
        order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const int pa = m_fields.GetFieldPosition(a), pb = m_fields.GetFieldPosition(b);
        return pa >= 0 && (pb < 0 || pa < pb);
    });
    m_bFilling = true;
    for (int nField : order)
        InsertRow(m_list.GetItemCount(), nField, m_fields.GetFieldTitle(nField),
                  m_fields.IsFieldShown(nField));
    m_bFilling = false;
    if (m_list.GetItemCount() > 0)
        m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    UpdateButtons();
    m_list.SetFocus();
    return FALSE; // the focus is in the list
}

int CFieldOrganizerDialog::InsertRow(int nAt, int nField, const CString& title, bool bTicked) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nAt;
    item.pszText = const_cast<wchar_t*>(title.GetString());
    item.lParam = nField;
    const int nRow = m_list.InsertItem(&item);
    m_list.SetCheck(nRow, bTicked);
    return nRow;
}

bool CFieldOrganizerDialog::IsTicked(int nRow) const {
    return m_list.GetCheck(nRow) != FALSE;
}

void CFieldOrganizerDialog::MoveSelected(int nStep) {
    const int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    const int nOther = nRow + nStep;
    if (nRow < 0 || nOther < 0 || nOther >= m_list.GetItemCount() ||
        !m_fields.MayMoveField(FieldOf(nRow)) || !m_fields.MayMoveField(FieldOf(nOther)))
        return;
    const int nField = FieldOf(nRow);
    const bool bTicked = IsTicked(nRow);
    const CString title = m_list.GetItemText(nRow, 0); // perhaps renamed already
    m_bFilling = true;
    m_list.DeleteItem(nRow);
    const int nNew = InsertRow(nOther, nField, title, bTicked);
    m_bFilling = false;
    m_list.SetItemState(nNew, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_list.EnsureVisible(nNew, FALSE);
    UpdateButtons();
}

void CFieldOrganizerDialog::UpdateButtons() {
    const int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    const bool bMovable = nRow >= 0 && m_fields.MayMoveField(FieldOf(nRow));
    ::EnableWindow(GetDlgItem(IDC_FIELD_ORGANIZER_UP),
                   bMovable && nRow > 0 && m_fields.MayMoveField(FieldOf(nRow - 1)));
    ::EnableWindow(GetDlgItem(IDC_FIELD_ORGANIZER_DOWN),
                   bMovable && nRow + 1 < m_list.GetItemCount() &&
                       m_fields.MayMoveField(FieldOf(nRow + 1)));
    // A list needs at least one column to show its rows in.
    bool bAnyTicked = false;
    for (int i = 0; i < m_list.GetItemCount() && !bAnyTicked; ++i)
        bAnyTicked = IsTicked(i);
    ::EnableWindow(GetDlgItem(IDOK), bAnyTicked);
}

BOOL CFieldOrganizerDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_FIELD_ORGANIZER_UP) {
        MoveSelected(-1);
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_FIELD_ORGANIZER_DOWN) {
        MoveSelected(+1);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CFieldOrganizerDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->hwndFrom != m_list.m_hWnd)
        return CDialog::OnNotify(wParam, lParam, pResult);
    *pResult = 0;
    switch (pHdr->code) {
    case LVN_ITEMCHANGING: {
        // A field that must stay shown keeps its tick.
        const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (!m_bFilling && (pChange->uChanged & LVIF_STATE) &&
            (pChange->uOldState & LVIS_STATEIMAGEMASK) == kStateChecked &&
            (pChange->uNewState & LVIS_STATEIMAGEMASK) == kStateUnchecked &&
            !m_fields.MayHideField(FieldOf(pChange->iItem)))
            *pResult = TRUE;
        return TRUE;
    }
    case LVN_ITEMCHANGED:
        if (!m_bFilling)
            UpdateButtons();
        return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F2 &&
            m_list.GetNextItem(-1, LVNI_SELECTED) >= 0)
            m_list.SendMessage(LVM_EDITLABELW, m_list.GetNextItem(-1, LVNI_SELECTED));
        return TRUE;
    case LVN_ENDLABELEDITW: {
        // A title cannot be empty; the list takes a new one itself.
        const auto* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        *pResult = pInfo->item.pszText && *pInfo->item.pszText;
        return TRUE;
    }
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
}

void CFieldOrganizerDialog::OnOK() {
    int nPosition = 0;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_fields.SetFieldLayout(FieldOf(i), IsTicked(i) ? nPosition++ : -1,
                                m_list.GetItemText(i, 0));
    CDialog::OnOK();
}
