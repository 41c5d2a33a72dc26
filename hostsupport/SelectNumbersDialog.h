// The host's Select Phone Numbers dialog: one row per field of a list, with a check
// box that says whether the field holds telephone numbers.
#pragma once

#include "FieldList.h"

#include "Dialog.h"
#include "Controls.h"

class CTranslation;

class CSelectNumbersDialog : public CDialog {
public:
    CSelectNumbersDialog(IFieldList& fields, const CTranslation& texts, CWnd* pOwner);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    IFieldList& m_fields;
    const CTranslation& m_texts;
    CListCtrl m_list;
};
