#include "ListColumnFields.h"

CListColumn* CListColumnFields::Column(int nField) const {
    if (nField < 0 || nField >= m_list.GetColumnCount())
        return nullptr;
    return m_list.m_columns[static_cast<size_t>(nField)].get();
}

CString CListColumnFields::GetFieldName(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn ? pColumn->m_szName : CString();
}

CString CListColumnFields::GetFieldTitle(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn ? pColumn->m_szTitle : CString();
}

BOOL CListColumnFields::IsFieldShown(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn && pColumn->m_nColumn != -1;
}

BOOL CListColumnFields::IsPhoneNumberField(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn && pColumn->m_bPhoneNumber;
}

void CListColumnFields::SetPhoneNumberField(int nField, BOOL bPhoneNumber) {
    if (CListColumn* pColumn = Column(nField))
        pColumn->m_bPhoneNumber = bPhoneNumber ? TRUE : FALSE;
}

int CListColumnFields::GetFieldPosition(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn ? pColumn->m_nColumn : -1;
}

BOOL CListColumnFields::MayHideField(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn && pColumn->m_bRemove;
}

BOOL CListColumnFields::MayMoveField(int nField) const {
    const CListColumn* pColumn = Column(nField);
    return pColumn && pColumn->m_bMove;
}

void CListColumnFields::SetFieldLayout(int nField, int nPosition, const CString& strTitle) {
    CListColumn* pColumn = Column(nField);
    if (!pColumn)
        return;
    CString title = strTitle;
    title.Remove(L'&'); // a header caption, as every column title
    if (title.IsEmpty())
        title = pColumn->m_szTitle;
    if (pColumn->m_nColumn == nPosition && pColumn->m_szTitle == title)
        return;
    // A shown column keeps the width the user gave it, under a new title too.
    if (pColumn->m_nColumn >= 0 && m_list.m_hWnd) {
        const int nWidth = m_list.GetColumnWidth(pColumn->m_nColumn);
        if (nWidth > 0)
            pColumn->m_nWidth = nWidth;
    }
    pColumn->m_nColumn = nPosition;
    pColumn->m_szTitle = title;
    m_list.m_bColumnsChanged = TRUE;
}
