// The modal property sheet that creates or changes one server account: a General
// and an Advanced page, OK and Cancel, help through the host.
#pragma once

#include "Framework.h"

class CDirectorySearchDialog;
class CTranslation;

class CLDapAccountPropertySheet : public CPropertySheet {
public:
    // DoModal's result when the sheet's window was destroyed from outside while it
    // was open: the search window that owned it may be gone too.
    static constexpr int kDestroyed = -2;

    CLDapAccountPropertySheet(CDirectorySearchDialog* pSearchWindow, CTranslation* pTranslation);

    // OK and Cancel, no Apply.
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString Text(UINT nID) const;

    HICON m_hIcon; // shared: loaded with LoadIcon, never destroyed
    CTranslation* m_pTranslation;
    CDirectorySearchDialog* m_pSearchWindow;
};
