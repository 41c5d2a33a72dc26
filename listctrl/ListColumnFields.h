// The column catalogue of an extended list as the host's field dialogs see it
// (IFieldList): field i is the list's i-th column definition.
#pragma once

#include "ListCtrlEx.h"

#include "FieldList.h"

class CListColumnFields : public IFieldList {
public:
    explicit CListColumnFields(CListCtrlEx& list) : m_list(list) {}

    int GetFieldCount() const override { return m_list.GetColumnCount(); }
    CString GetFieldName(int nField) const override;
    CString GetFieldTitle(int nField) const override;
    BOOL IsFieldShown(int nField) const override;
    BOOL IsPhoneNumberField(int nField) const override;
    void SetPhoneNumberField(int nField, BOOL bPhoneNumber) override;
    int GetFieldPosition(int nField) const override;
    BOOL MayHideField(int nField) const override;
    BOOL MayMoveField(int nField) const override;
    // A layout that differs marks the list's columns as changed (m_bColumnsChanged).
    void SetFieldLayout(int nField, int nPosition, const CString& strTitle) override;

private:
    CListColumn* Column(int nField) const;

    CListCtrlEx& m_list;
};
