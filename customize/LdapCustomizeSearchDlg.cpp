#include "LdapCustomizeSearchDlg.h"

#include "AdvancedFilter.h"
#include "DirectorySearchDialog.h"
#include "EventLog.h"
#include "FieldCatalogue.h"
#include "Options.h"
#include "TranslatedText.h"
#include "Translation.h"
#include "resource.h"

#include <io.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kCriteriaRows = 5;
constexpr UINT kHelpContext = 142;
constexpr UINT kHelpContextCommand = 15; // HH_HELP_CONTEXT

CListColumn* Field(const CListCtrl& list, int nItem) {
    return reinterpret_cast<CListColumn*>(list.GetItemData(nItem));
}

// The lists show a field by its title and keep its definition, which they never own.
int InsertField(CListCtrl& list, int nIndex, CListColumn* pField) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nIndex;
    item.pszText = const_cast<wchar_t*>(pField->m_szTitle.GetString());
    item.lParam = reinterpret_cast<LPARAM>(pField);
    return list.InsertItem(&item);
}

int AppendField(CListCtrl& list, CListColumn* pField) {
    return InsertField(list, list.GetItemCount(), pField);
}

int FirstSelected(const CListCtrl& list) {
    return list.GetNextItem(-1, LVNI_SELECTED);
}

void Select(CListCtrl& list, int nItem, bool bSelect) {
    list.SetItemState(nItem, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void Enable(CButton& button, bool bEnable) {
    button.EnableWindow(bEnable ? TRUE : FALSE);
}

} // namespace

CLdapCustomizeSearchDlg* CLdapCustomizeSearchDlg::s_pOpen = nullptr;

CLdapCustomizeSearchDlg::CLdapCustomizeSearchDlg(CDirectorySearchDialog* pOwner,
                                                 HelpFunction pfnHelp)
    : CDialog(IDD_CUSTOMIZE_SEARCH, nullptr), m_pTranslation(pOwner->GetTranslation()),
      m_pEventLog(pOwner->GetEventLog()), m_pOwner(pOwner), m_pfnHelp(pfnHelp),
      m_pModuleState(AfxGetModuleState()) {}

void CLdapCustomizeSearchDlg::Open(CDirectorySearchDialog* pOwner, HelpFunction pfnHelp) {
    if (!s_pOpen) {
        auto* pDialog = new CLdapCustomizeSearchDlg(pOwner, pfnHelp);
        // A window of its own beside the search window, not owned by it.
        if (!pDialog->Create(IDD_CUSTOMIZE_SEARCH, nullptr)) {
            TRACE(L"Failed to create LDAPCustomizeSearchDlg\n");
            delete pDialog;
            return;
        }
        s_pOpen = pDialog;
        pOwner->SetCustomizeOpen(TRUE);
    }
    s_pOpen->ShowWindow(SW_SHOWNORMAL);
    ::SetForegroundWindow(s_pOpen->m_hWnd);
    s_pOpen->SetFocus();
}

void CLdapCustomizeSearchDlg::Release(CDirectorySearchDialog* pOwner) {
    if (!s_pOpen || s_pOpen->m_pOwner != pOwner)
        return;
    s_pOpen->m_pOwner = nullptr;
    s_pOpen->DestroyWindow();
}

void CLdapCustomizeSearchDlg::PostNcDestroy() {
    if (s_pOpen != this)
        return;
    if (m_pOwner)
        m_pOwner->SetCustomizeOpen(FALSE);
    s_pOpen = nullptr;
    delete this;
}

LRESULT CLdapCustomizeSearchDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The host dispatches this window's messages: its resources and settings are the
    // module's.
    AFX_MANAGE_STATE(m_pModuleState);
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CLdapCustomizeSearchDlg::PreTranslateMessage(MSG* pMsg) {
    // A title being edited takes its own Enter and Escape: they end the edit, not
    // the window.
    const HWND hEditor = reinterpret_cast<HWND>(m_shownList.SendMessage(LVM_GETEDITCONTROL));
    if (hEditor && pMsg->hwnd == hEditor) {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
            m_bRenameCancelled = true;
        return FALSE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

CString CLdapCustomizeSearchDlg::Text(UINT nID) const {
    return TranslatedText(m_pTranslation, nID);
}

void CLdapCustomizeSearchDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_APPLY_FIELDS, m_btnApply);
    DDX_Control(pDX, IDC_CRITERIA_SEARCH, m_btnSearch);
    DDX_Control(pDX, IDC_CRITERIA_GRID, m_criteriaGrid);
    DDX_Control(pDX, IDC_REMOVE_ALL_FIELDS, m_btnRemoveAll);
    DDX_Control(pDX, IDC_REMOVE_FIELD, m_btnRemove);
    DDX_Control(pDX, IDC_ADD_ALL_FIELDS, m_btnAddAll);
    DDX_Control(pDX, IDC_ADD_FIELD, m_btnAdd);
    DDX_Control(pDX, IDC_MOVE_UP, m_btnUp);
    DDX_Control(pDX, IDC_MOVE_DOWN, m_btnDown);
    DDX_Control(pDX, IDC_SHOWN_FIELDS, m_shownList);
    DDX_Control(pDX, IDC_AVAILABLE_FIELDS, m_availableList);
}

BOOL CLdapCustomizeSearchDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The column set as last stored for the current server, shown nowhere.
    m_fields.m_bSortColumns = TRUE;
    m_fields.m_bPersistColumns = TRUE;
    m_fields.m_pNotifyWnd = this;
    m_fields.m_pTranslation = m_pTranslation;
    m_fields.SetName(m_pOwner ? m_pOwner->GetCurrentListName() : CString());
    m_fields.ReadColumnsOnly();

    for (CListCtrl* pList : {&m_availableList, &m_shownList}) {
        // As wide as the list, room for its scroll bar left: no sideways scrolling.
        RECT rc;
        pList->GetClientRect(&rc);
        pList->InsertColumn(0, L"", LVCFMT_LEFT,
                            rc.right - rc.left - ::GetSystemMetrics(SM_CXVSCROLL));
        pList->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    }
    // The grid's header is taken over so that Apply can remove its columns.
    m_criteriaGrid.m_ctlHeader.SubclassDlgItem(0, &m_criteriaGrid);
    m_criteriaGrid.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_criteriaGrid.m_pTranslation = m_pTranslation;
    m_criteriaGrid.m_pNotifyWnd = this;
    FillFieldLists();
    AddCriteriaColumns();
    InsertEmptyRows();

    m_btnUp.m_nNormalBitmap = IDB_UP_ARROW;
    m_btnDown.m_nNormalBitmap = IDB_DOWN_ARROW;
    for (CWnd* pButton : {static_cast<CWnd*>(&m_btnAdd), static_cast<CWnd*>(&m_btnAddAll),
                          static_cast<CWnd*>(&m_btnRemove), static_cast<CWnd*>(&m_btnRemoveAll),
                          static_cast<CWnd*>(&m_btnUp), static_cast<CWnd*>(&m_btnDown),
                          static_cast<CWnd*>(&m_btnApply)})
        pButton->EnableWindow(FALSE);
    SetTexts();
    return TRUE;
}

void CLdapCustomizeSearchDlg::SetTexts() {
    SetWindowText(Text(3717));
    SetDlgItemText(IDC_AVAILABLE_LABEL, Text(3011) + L":");
    SetDlgItemText(IDC_SHOWN_LABEL, Text(3012) + L":");
    SetDlgItemText(IDOK, Text(2076));
    SetDlgItemText(IDCANCEL, Text(2004));
    SetDlgItemText(IDC_APPLY_FIELDS, Text(2054));
    SetDlgItemText(IDC_CRITERIA_SEARCH, Text(3187));
    SetDlgItemText(IDC_CRITERIA_LABEL, Text(3162));
    SetDlgItemText(IDC_CUSTOMIZE_HELP, Text(2742));
}

void CLdapCustomizeSearchDlg::FillFieldLists() {
    std::vector<std::pair<int, CListColumn*>> shown;
    for (const auto& pField : m_fields.m_columns) {
        const int nPosition = pField->m_nColumn;
        if (nPosition >= 0 && nPosition < FieldCatalogue::kMaxShownFields) {
            shown.emplace_back(nPosition, pField.get());
        } else {
            if (nPosition != -1)
                TRACE(L"Impossible thing happened, number of displayable field >= 30\n");
            // Still offered: hidden on Save unless the user shows it again.
            AppendField(m_availableList, pField.get());
        }
    }
    // In position order; a gap or a position held twice loses no field.
    std::stable_sort(shown.begin(), shown.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : shown)
        AppendField(m_shownList, entry.second);
}

void CLdapCustomizeSearchDlg::AddCriteriaColumns() {
    for (int i = 0; i < m_shownList.GetItemCount(); ++i)
        FieldCatalogue::AddCriteriaColumn(m_criteriaGrid, *Field(m_shownList, i));
}

void CLdapCustomizeSearchDlg::InsertEmptyRows() {
    for (int i = 0; i < kCriteriaRows; ++i)
        m_criteriaGrid.InsertItem(i, L"");
}

// ---------------------------------------------------------------- commands and notifications

BOOL CLdapCustomizeSearchDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_ADD_FIELD:
            OnAddField();
            return TRUE;
        case IDC_ADD_ALL_FIELDS:
            OnAddAllFields();
            return TRUE;
        case IDC_REMOVE_FIELD:
            OnRemoveField();
            return TRUE;
        case IDC_REMOVE_ALL_FIELDS:
            OnRemoveAllFields();
            return TRUE;
        case IDC_MOVE_UP:
            OnMoveUp();
            return TRUE;
        case IDC_MOVE_DOWN:
            OnMoveDown();
            return TRUE;
        case IDC_APPLY_FIELDS:
            OnApply();
            return TRUE;
        case IDC_CRITERIA_SEARCH:
            OnSearch();
            return TRUE;
        case IDC_CUSTOMIZE_HELP:
            OnHelp();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CLdapCustomizeSearchDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->hwndFrom == m_shownList.m_hWnd) {
        switch (pHdr->code) {
        case NM_SETFOCUS:
            OnShownFocus();
            *pResult = 0;
            return TRUE;
        case LVN_ENDLABELEDITW:
            *pResult = OnEndRename(*reinterpret_cast<const NMLVDISPINFOW*>(lParam));
            return TRUE;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F2 &&
                m_shownList.GetSelectedCount() == 1)
                m_shownList.SendMessage(LVM_EDITLABELW, FirstSelected(m_shownList));
            *pResult = 0;
            return TRUE;
        default:
            break;
        }
    } else if (pHdr->hwndFrom == m_availableList.m_hWnd && pHdr->code == NM_SETFOCUS) {
        OnAvailableFocus();
        *pResult = 0;
        return TRUE;
    } else if (pHdr->hwndFrom == m_criteriaGrid.m_hWnd && pHdr->code == LVN_ENDLABELEDITW) {
        // An edit ended without text (Escape) leaves the cell empty.
        const auto& info = *reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        m_criteriaGrid.SetItemText(info.item.iItem, info.item.iSubItem,
                                   info.item.pszText ? info.item.pszText : L"");
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CLdapCustomizeSearchDlg::OnShownFocus() {
    Enable(m_btnAdd, false);
    Enable(m_btnAddAll, false);
    Enable(m_btnRemove, true);
    Enable(m_btnUp, true);
    Enable(m_btnDown, true);
    Enable(m_btnRemoveAll, m_shownList.GetItemCount() > 0);
}

void CLdapCustomizeSearchDlg::OnAvailableFocus() {
    UpdateData(TRUE);
    Enable(m_btnRemove, false);
    Enable(m_btnRemoveAll, false);
    Enable(m_btnUp, false);
    Enable(m_btnDown, false);
    Enable(m_btnAdd, !ShownFull());
    Enable(m_btnAddAll, m_availableList.GetItemCount() > 0 && !ShownFull());
}

bool CLdapCustomizeSearchDlg::ShownFull() const {
    return m_shownList.GetItemCount() >= FieldCatalogue::kMaxShownFields;
}

void CLdapCustomizeSearchDlg::FieldsChanged() {
    // The grid's columns no longer match the shown fields until Apply rebuilds it.
    Enable(m_btnSearch, false);
    Enable(m_btnApply, true);
    m_fields.m_bColumnsChanged = TRUE;
}

void CLdapCustomizeSearchDlg::OnAddField() {
    for (int nItem = FirstSelected(m_availableList); nItem >= 0 && !ShownFull();
         nItem = FirstSelected(m_availableList)) {
        // Just after the selected shown field, so that several land one after another.
        const int nAfter = FirstSelected(m_shownList);
        const int nNew =
            InsertField(m_shownList, nAfter >= 0 ? nAfter + 1 : m_shownList.GetItemCount(),
                        Field(m_availableList, nItem));
        if (nAfter >= 0)
            Select(m_shownList, nAfter, false);
        Select(m_shownList, nNew, true);
        m_availableList.DeleteItem(nItem);
    }
    const int nFocused = m_availableList.GetNextItem(-1, LVNI_FOCUSED);
    if (nFocused >= 0)
        Select(m_availableList, nFocused, true);
    const bool bMore = m_availableList.GetItemCount() > 0 && !ShownFull();
    Enable(m_btnAdd, bMore);
    Enable(m_btnAddAll, bMore);
    if (!bMore)
        m_shownList.SetFocus(); // not left on a button that no longer works
    FieldsChanged();
}

void CLdapCustomizeSearchDlg::OnAddAllFields() {
    while (m_availableList.GetItemCount() > 0 && !ShownFull()) {
        AppendField(m_shownList, Field(m_availableList, 0));
        m_availableList.DeleteItem(0);
    }
    Enable(m_btnRemove, m_shownList.GetItemCount() > 0);
    Enable(m_btnRemoveAll, m_shownList.GetItemCount() > 0);
    Enable(m_btnAdd, false);
    Enable(m_btnAddAll, false);
    m_shownList.SetFocus();
    FieldsChanged();
}

void CLdapCustomizeSearchDlg::OnRemoveField() {
    for (int nItem = FirstSelected(m_shownList); nItem >= 0;) {
        CListColumn* pField = Field(m_shownList, nItem);
        if (pField->m_bRemove) {
            AppendField(m_availableList, pField);
            m_shownList.DeleteItem(nItem);
        } else {
            Select(m_shownList, nItem, false); // this one stays shown
        }
        nItem = FirstSelected(m_shownList);
    }
    const int nFocused = m_shownList.GetNextItem(-1, LVNI_FOCUSED);
    if (nFocused >= 0)
        Select(m_shownList, nFocused, true);
    Enable(m_btnRemove, m_shownList.GetItemCount() > 0);
    Enable(m_btnRemoveAll, m_shownList.GetItemCount() > 0);
    if (m_shownList.GetItemCount() == 0)
        m_availableList.SetFocus();
    FieldsChanged();
}

void CLdapCustomizeSearchDlg::OnRemoveAllFields() {
    // Fields that may not be removed stay shown, in their order.
    for (int nItem = 0; nItem < m_shownList.GetItemCount();) {
        CListColumn* pField = Field(m_shownList, nItem);
        if (pField->m_bRemove) {
            AppendField(m_availableList, pField);
            m_shownList.DeleteItem(nItem);
        } else {
            Select(m_shownList, nItem++, false);
        }
    }
    m_availableList.SetFocus();
    Enable(m_btnRemove, false);
    Enable(m_btnRemoveAll, false);
    FieldsChanged();
}

void CLdapCustomizeSearchDlg::OnMoveUp() {
    const int s = FirstSelected(m_shownList);
    if (s <= 0 || !Field(m_shownList, s)->m_bMove)
        return;
    // Past the fields above that may not move, to the nearest one that may.
    int k = s - 1;
    while (k >= 0 && !Field(m_shownList, k)->m_bMove)
        --k;
    if (k < 0)
        return;
    CListColumn* pField = Field(m_shownList, s);
    m_shownList.DeleteItem(s);
    const int nNew = InsertField(m_shownList, k, pField);
    Select(m_shownList, s, false);
    Select(m_shownList, nNew, true);
    FieldsChanged();
}

void CLdapCustomizeSearchDlg::OnMoveDown() {
    const int s = FirstSelected(m_shownList);
    if (s < 0 || s >= m_shownList.GetItemCount() - 1 || !Field(m_shownList, s)->m_bMove)
        return;
    int j = s + 1;
    while (j < m_shownList.GetItemCount() && !Field(m_shownList, j)->m_bMove)
        ++j;
    if (j >= m_shownList.GetItemCount())
        return;
    CListColumn* pField = Field(m_shownList, s);
    m_shownList.DeleteItem(s);
    // At j of the shortened list: just below the field that was at j.
    const int nNew = InsertField(m_shownList, j, pField);
    Select(m_shownList, s, false);
    Select(m_shownList, nNew, true);
    FieldsChanged();
}

LRESULT CLdapCustomizeSearchDlg::OnEndRename(const NMLVDISPINFOW& info) {
    // Escape keeps the title. An erased title may come without text as a cancelled
    // edit does, as some list controls report it, so Escape is told by the key.
    const bool bCancelled = std::exchange(m_bRenameCancelled, false);
    CListColumn* pField = Field(m_shownList, info.item.iItem);
    if (bCancelled || !pField)
        return 0;
    m_fields.m_bColumnsChanged = TRUE;
    Enable(m_btnApply, true);
    if (info.item.pszText && *info.item.pszText) {
        pField->m_szTitle = info.item.pszText;
        return 1;
    }
    // Erased: the field's own title comes back.
    pField->m_szTitle = FieldCatalogue::DefaultTitle(pField->m_szName, m_pTranslation);
    m_shownList.SetItemText(info.item.iItem, 0, pField->m_szTitle);
    return 0;
}

// ---------------------------------------------------------------- saving and searching

void CLdapCustomizeSearchDlg::Save() {
    UpdateData(TRUE);
    if (!m_fields.m_bColumnsChanged)
        return;
    for (const auto& pField : m_fields.m_columns)
        pField->m_nColumn = -1;
    std::vector<CShownField> shown;
    for (int i = 0; i < m_shownList.GetItemCount(); ++i) {
        CListColumn* pField = Field(m_shownList, i);
        pField->m_nColumn = i;
        pField->m_szTitle = m_shownList.GetItemText(i, 0);
        shown.push_back({pField->m_szName, pField->m_szTitle});
    }
    // Stored with the new order here, under the server's present name (it may have
    // been renamed meanwhile); the search window stores its own list over it, with
    // the same order and titles.
    if (m_pOwner)
        m_fields.SetName(m_pOwner->GetCurrentListName());
    m_fields.WriteControlSettings();
    if (m_pOwner)
        m_pOwner->ApplyColumnOrder(shown);
}

void CLdapCustomizeSearchDlg::OnOK() {
    Save();
    DestroyWindow();
}

void CLdapCustomizeSearchDlg::OnCancel() {
    DestroyWindow(); // what Apply saved stays saved
}

void CLdapCustomizeSearchDlg::OnApply() {
    Save();
    m_criteriaGrid.DeleteAllItems();
    m_criteriaGrid.RemoveAllColumns();
    UpdateData(FALSE);
    AddCriteriaColumns();
    InsertEmptyRows();
    Enable(m_btnSearch, true);
    Enable(m_btnApply, false);
}

void CLdapCustomizeSearchDlg::OnSearch() {
    Save(); // a pending change of the order comes first
    const int nColumns = m_shownList.GetItemCount();
    std::vector<CString> keys;
    for (int c = 0; c < nColumns; ++c)
        keys.push_back(m_criteriaGrid.GetColumnName(c));
    std::vector<std::vector<CString>> cells(m_criteriaGrid.GetItemCount());
    for (size_t r = 0; r < cells.size(); ++r) {
        for (int c = 0; c < nColumns; ++c)
            cells[r].push_back(m_criteriaGrid.GetItemText(static_cast<int>(r), c));
    }
    const CString filter = BuildAdvancedFilter(cells, keys);
    if (!m_pOwner)
        return; // the search window has gone: nothing to search in
    if (m_pEventLog)
        m_pEventLog->Trace(L"CLdapCustomizeSearchDlg::OnLdapSearch: criteria: '%s'\n",
                           filter.GetString());
    m_pOwner->SearchWithFilter(filter);
}

void CLdapCustomizeSearchDlg::OnHelp() {
    COptions* pOptions = COptions::GetOptions();
    const CString path = pOptions->GetProgramPath() + L"\\" + pOptions->GetLanguagePrefix() +
                         pOptions->GetString(HostOption::HelpFileName) + L".chm";
    if (_waccess(path, 0) != 0)
        AfxMessageBox(Text(2840) + L"\n\n" + path + L"\n\n" + Text(2841), MB_ICONEXCLAMATION);
    if (m_pfnHelp)
        m_pfnHelp(nullptr, path, kHelpContextCommand, kHelpContext);
}
