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
