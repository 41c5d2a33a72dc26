#include "FieldCatalogue.h"

#include "ColumnTitles.h"
#include "EntryMap.h"
#include "Translation.h"

namespace FieldCatalogue {

CString DefaultTitle(const CString& key, const CTranslation* pTranslation) {
    // Looked up afresh each time, so the title follows the user's language.
    UINT nID = AttributeTitleId(key);
    if (nID == 0)
        nID = ColumnTitles::DefaultTitleId(key, false);
    if (nID == 0 || !pTranslation)
        return key;
    return pTranslation->LoadStringW(nID, 512);
}

void AddCriteriaColumn(CListCtrlEx& grid, const CListColumn& field) {
    grid.AddColumn(field.m_szName, field.m_szTitle, field.m_nWidth, ListSortType::None, FALSE,
                   FALSE, FALSE, TRUE, -1, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM,
                   LVCFMT_LEFT);
}

} // namespace FieldCatalogue
