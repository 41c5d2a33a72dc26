#include "ListColumn.h"

CListColumn::CListColumn(LPCTSTR pszName, LPCTSTR pszTitle, int nColumn, int nWidth, int nSortType,
                         UINT nMask, int nFormat, BOOL bPhoneNumber, BOOL bRemove, BOOL bMove,
                         BOOL bEdit)
    : m_szName(pszName), m_szTitle(pszTitle), m_nColumn(nColumn), m_nWidth(nWidth),
      m_nSortType(nSortType), m_nMask(nMask), m_nFormat(nFormat), m_bPhoneNumber(bPhoneNumber),
      m_bRemove(bRemove), m_bMove(bMove), m_bEdit(bEdit) {
    m_szTitle.Remove(L'&');
}
