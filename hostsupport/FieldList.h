// IFieldList: the fields of one of the module's lists as the host's own dialogs
// see them. The host support library sits below the module's list control, so the
// list is handed over through this interface; fields are numbered in the list's
// catalogue order, shown and hidden alike.
#pragma once

#include "String.h"

class IFieldList {
public:
    virtual ~IFieldList() = default;

    virtual int GetFieldCount() const = 0;
    // The field's key (a directory attribute, for the search results).
    virtual CString GetFieldName(int nField) const = 0;
    // Its column title.
    virtual CString GetFieldTitle(int nField) const = 0;
    virtual BOOL IsFieldShown(int nField) const = 0;
    // Whether the field holds telephone numbers that can be dialled.
    virtual BOOL IsPhoneNumberField(int nField) const = 0;
    virtual void SetPhoneNumberField(int nField, BOOL bPhoneNumber) = 0;
    // The field's place among the shown fields, from 0; -1 when it is hidden.
    virtual int GetFieldPosition(int nField) const = 0;
    // Whether the user may hide the field, and move it among the others.
    virtual BOOL MayHideField(int nField) const = 0;
    virtual BOOL MayMoveField(int nField) const = 0;
    // Shows the field at nPosition (-1 hides it) under strTitle.
    virtual void SetFieldLayout(int nField, int nPosition, const CString& strTitle) = 0;
};
