// The search-field button's list: every column definition of the result list, shown
// and hidden alike, in a small popup under the button. A choice sets the search
// mode of the search window; the popup goes after a choice or when it loses the
// focus, and deletes itself.
#pragma once

#include "ListCtrlEx.h"

#include "Framework.h"

class CDirectorySearchDialog;

class CFieldSelectorPopup : public CDialog {
public:
    // buttonRect: the search-field button in screen coordinates.
    CFieldSelectorPopup(CDirectorySearchDialog* pSearchWindow, CListCtrlEx* pFieldSource,
                        const RECT& buttonRect);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { Close(); }
    void OnCancel() override { Close(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    void OnChoice();
    // The list box is still inside its own notification: the popup goes once that
    // has returned.
    void Close();

    CListBox m_list;
    CDirectorySearchDialog* m_pSearchWindow;
    CListCtrlEx* m_pFieldSource;
    RECT m_buttonRect;
    bool m_bClosing = false;
};
