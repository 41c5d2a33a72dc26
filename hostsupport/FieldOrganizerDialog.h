// The host's Field Organizer: one row per field of a list, ticked when the field is
// shown, in the order the list shows them (hidden fields after the shown ones); the
// user ticks, moves and renames fields, and OK writes the layout back.
#pragma once

#include "FieldList.h"

#include "Controls.h"
#include "Dialog.h"

class CTranslation;

class CFieldOrganizerDialog : public CDialog {
public:
    CFieldOrganizerDialog(IFieldList& fields, const CTranslation& texts, CWnd* pOwner);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    int FieldOf(int nRow) const { return static_cast<int>(m_list.GetItemData(nRow)); }
    bool IsTicked(int nRow) const;
    int InsertRow(int nAt, int nField, const CString& title, bool bTicked);
    // Moves the selected row one place up (-1) or down (+1).
    void MoveSelected(int nStep);
    void UpdateButtons();

    IFieldList& m_fields;
    const CTranslation& m_texts;
    CListCtrl m_list;
    bool m_bFilling = false;
};
