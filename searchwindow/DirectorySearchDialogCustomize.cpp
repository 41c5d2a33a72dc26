// The search window's side of customizing its fields: opening the Customize Search &
// Display window, the host's field organizer, a new column order stored and shown,
// a column shown again from the header menu, and the advanced search's filter.
#include "DirectorySearchDialog.h"

#include "ListColumnFields.h"
#include "Options.h"
#include "resource.h"

BOOL CDirectorySearchDialog::OnCustomizeCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CDirectorySearchDialog> map[] = {
        {ID_ADVANCE_SEARCH, ID_ADVANCE_SEARCH, &CDirectorySearchDialog::OnAdvanceSearch,
         &CDirectorySearchDialog::OnUpdateAdvanceSearch},
        {ID_FIELD_ORGANIZER, ID_FIELD_ORGANIZER, &CDirectorySearchDialog::OnFieldOrganizer,
         &CDirectorySearchDialog::OnUpdateFieldCommands},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI);
}

void CDirectorySearchDialog::SetCustomizeSearch(std::unique_ptr<ICustomizeSearch> pCustomize) {
    m_pCustomize = std::move(pCustomize);
}

void CDirectorySearchDialog::OnUpdateAdvanceSearch(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_bAdvancedSearch && m_pCustomize && m_listCtrl.GetColumnCount() > 0);
}

void CDirectorySearchDialog::OnUpdateFieldCommands(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_bCustomizeOpen && m_listCtrl.GetColumnCount() > 0);
}

void CDirectorySearchDialog::OnAdvanceSearch(UINT) {
    AFX_MANAGE_STATE(m_pModuleState);
    if (!m_pCustomize)
        return;
    // The customize window offers the stored column set: what the list shows now is
    // stored first, columns never stored for a new server included.
    if (!m_bCustomizeOpen)
        m_listCtrl.WriteControlSettings();
    m_pCustomize->Open();
}

void CDirectorySearchDialog::SetCustomizeOpen(BOOL bOpen) {
    m_bCustomizeOpen = bOpen;
    if (m_pServerManagement)
        m_pServerManagement->SetCustomizeOpen(bOpen);
}

void CDirectorySearchDialog::OnFieldOrganizer(UINT) {
    AFX_MANAGE_STATE(m_pModuleState);
    // The header menu asks too; while the customize window is open, the fields are
    // arranged there, in one place at a time.
    if (m_bCustomizeOpen) {
        if (m_pCustomize)
            m_pCustomize->Open();
        return;
    }
    if (m_listCtrl.GetColumnCount() == 0)
        return;
    CListColumnFields fields(m_listCtrl);
    // Not confirmed, or the window was closed meanwhile (this object is then gone).
    if (!m_pOptions->ShowFields(fields, this))
        return;
    RefreshColumns();
}

void CDirectorySearchDialog::ApplyColumnOrder(const std::vector<CShownField>& shown) {
    AFX_MANAGE_STATE(m_pModuleState);
    m_listCtrl.m_bColumnsChanged = TRUE;
    for (const auto& pColumn : m_listCtrl.m_columns) {
        // A shown column keeps the width the user gave it, under a new title too.
        if (pColumn->m_nColumn >= 0) {
            const int nWidth = m_listCtrl.GetColumnWidth(pColumn->m_nColumn);
            if (nWidth > 0)
                pColumn->m_nWidth = nWidth;
        }
        pColumn->m_nColumn = -1;
        for (size_t i = 0; i < shown.size(); ++i) {
            if (shown[i].strName != pColumn->m_szName)
                continue;
            pColumn->m_nColumn = static_cast<int>(i);
            if (!shown[i].strTitle.IsEmpty())
                pColumn->m_szTitle = shown[i].strTitle;
            break;
        }
    }
    RefreshColumns();
}

void CDirectorySearchDialog::RefreshColumns() {
    if (!m_listCtrl.m_bColumnsChanged)
        return;
    m_listCtrl.WriteControlSettings();
    SwitchListToCurrentServer();
    // The search-field button names the searched field by its (perhaps new) title.
    if (const CListColumn* pField = m_listCtrl.FindColumn(m_strSearchAttribute)) {
        m_strSearchFieldLabel = pField->m_szTitle;
        m_toolBar.SetButtonText(m_toolBar.CommandToIndex(ID_SEARCH_FIELD), m_strSearchFieldLabel);
        PlaceSearchBox();
    }
}

void CDirectorySearchDialog::FillColumn(const CString& name) {
    const int nColumn = m_listCtrl.GetColumnPosition(name);
    if (nColumn < 0)
        return;
    for (int nItem = 0; nItem < m_listCtrl.GetItemCount(); ++nItem) {
        const auto* pEntry = reinterpret_cast<CMapStringToString*>(m_listCtrl.GetItemData(nItem));
        CString value;
        if (pEntry && pEntry->Lookup(name, value) && !value.IsEmpty())
            m_listCtrl.SetItemText(nItem, nColumn, value);
    }
}

void CDirectorySearchDialog::SearchWithFilter(const CString& filter) {
    AFX_MANAGE_STATE(m_pModuleState);
    m_strAdvancedFilter = filter;
    if (!m_strAdvancedFilter.IsEmpty())
        StartSearch();
}
