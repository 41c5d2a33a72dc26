// The in-place editor of one list cell: an edit box over the cell that reports
// its text to the list's owner when it loses the focus, then destroys itself.
#pragma once

#include "Controls.h"

class CSubItemEdit : public CEdit {
public:
    CSubItemEdit(int item, int subItem, CString initText);

    // Creates the box as a child of the list and gives it the focus with all its
    // text selected. On failure nothing is left: the caller still owns the object.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID);

    // Enter, Delete, Escape and keys pressed with Ctrl held go straight to the box,
    // ahead of the dialog's keyboard handling and accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_nItem;
    int m_nSubItem;
    CString m_szInitText;
    BOOL m_bCancelled = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The object goes with its window.
    void PostNcDestroy() override { delete this; }

private:
    void OnCreate();
    void OnChar(UINT nChar);
    void OnKillFocus();
    // Widens the box to the text, up to the list's right edge; it never narrows.
    void GrowToText();
    HWND List() const { return GetParent(); }
};
