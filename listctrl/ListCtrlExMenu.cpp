// The header's column menu: remove the clicked column, show a hidden one after
// it, or ask the owner for its field organizer.
#include "ListCtrlEx.h"

#include "Menu.h"
#include "Translation.h"

namespace {

enum : UINT {
    kRemoveCommand = 1,
    kFieldOrganizerCommand = 2,
    kFirstHiddenColumn = 3,
    kHiddenColumnLimit = 50, // ids 3 to 49: at most 47 hidden columns are offered
};

constexpr UINT kShowColumnText = 3711;
constexpr UINT kRemoveText = 3177;
constexpr UINT kFieldOrganizerText = 3712;

} // namespace

void CListCtrlEx::ShowColumnMenu(int column, int x, int y) {
    if (!m_bColumnMenu || column == -1)
        return;
    CMenu menu;
    menu.CreatePopupMenu();
    if (!m_pTranslation)
        return;
    const CString szShowColumn = m_pTranslation->LoadStringW(kShowColumnText, 512);
    const CString szRemove = m_pTranslation->LoadStringW(kRemoveText, 512);
    const CString szFieldOrganizer = m_pTranslation->LoadStringW(kFieldOrganizerText, 512);

    // A column without a definition is not the list's to remove.
    const CListColumn* pClicked = GetColumnAt(column);
    const BOOL bRemovable = pClicked && pClicked->m_bRemove && m_ctlHeader.GetItemCount() != 1;
    menu.AppendMenu(MF_STRING | (bRemovable ? MF_ENABLED : MF_GRAYED), kRemoveCommand, szRemove);

    std::vector<CString> hiddenNames; // by command id - kFirstHiddenColumn
    if (HasHiddenColumns()) {
        CMenu submenu;
        submenu.CreatePopupMenu();
        UINT nID = kFirstHiddenColumn;
        for (const auto& p : m_columns) {
            if (nID >= kHiddenColumnLimit)
                break;
            if (p->m_nColumn == -1) {
                submenu.AppendMenu(MF_STRING, nID++, p->m_szTitle);
                hiddenNames.push_back(p->m_szName);
            }
        }
        // From here the menu owns its submenu and destroys it with itself.
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Detach()), szShowColumn);
    }
    if (!m_columns.empty()) {
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, kFieldOrganizerCommand, szFieldOrganizer);
    }

    const UINT nChoice = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, x, y, m_hWnd));
    if (nChoice == kRemoveCommand) {
        DeleteColumn(column);
    } else if (nChoice == kFieldOrganizerCommand) {
        if (m_pNotifyWnd)
            m_pNotifyWnd->SendMessage(WM_LIST_FIELD_ORGANIZER);
    } else if (nChoice >= kFirstHiddenColumn && nChoice - kFirstHiddenColumn < hiddenNames.size()) {
        DisplayColumn(hiddenNames[nChoice - kFirstHiddenColumn], column + 1, TRUE);
    }
}
