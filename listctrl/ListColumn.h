// One column definition of an extended list: the field it shows, where it is
// shown and what the user may do with it.
#pragma once

#include "String.h"

// How a column sorts (CListColumn::m_nSortType). Other values sort by click but
// keep every pair of rows equal.
namespace ListSortType {
constexpr int None = 0; // header clicks are ignored
constexpr int Text = 2; // case-insensitive text
constexpr int Date = 3; // date and time in the user's format
} // namespace ListSortType

class CListColumn {
public:
    // The title loses every '&': it is a header caption, not a menu text.
    CListColumn(LPCTSTR pszName, LPCTSTR pszTitle, int nColumn, int nWidth, int nSortType,
                UINT nMask, int nFormat, BOOL bPhoneNumber, BOOL bRemove, BOOL bMove, BOOL bEdit);

    CString m_szName; // the field's key; look-ups by name are exact
    CString m_szTitle;
    int m_nColumn; // display position (= list-view column and subitem), -1 hidden
    int m_nWidth;  // pixels; 0 becomes the default width when shown
    int m_nSortType;
    UINT m_nMask; // LVCOLUMN mask and format used when the column is inserted
    int m_nFormat;
    BOOL m_bPhoneNumber;
    BOOL m_bRemove; // the user may remove the column
    BOOL m_bMove;   // the user may move the column
    BOOL m_bEdit;   // cells may be edited in place
};
