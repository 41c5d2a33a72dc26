// The fields the Directory Search window can show, as the Customize Search & Display
// window sees them: their default titles, the columns of the criteria grid, and how
// many can be shown.
#pragma once

#include "ListCtrlEx.h"

class CTranslation;

namespace FieldCatalogue {

// Display positions 0 to 29: at most 30 fields are shown.
constexpr int kMaxShownFields = 30;

// The title a field gets back when the user erases its own: the directory
// attribute's title, else the host field's, else the key itself.
CString DefaultTitle(const CString& key, const CTranslation* pTranslation);

// Adds a column of the criteria grid for a shown field, after the last one: values
// are typed into it in place; it neither sorts, moves nor goes.
void AddCriteriaColumn(CListCtrlEx& grid, const CListColumn& field);

} // namespace FieldCatalogue
