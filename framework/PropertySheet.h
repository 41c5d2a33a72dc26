// CPropertySheet and CPropertyPage: tabbed dialogs over the common-control
// property sheet. The sheet runs its own modal loop so that it can end with a
// result of its own choosing (EndModalLoop), for instance when its window is
// destroyed from outside.
#pragma once

#include "Dialog.h"

#include <vector>

class CPropertySheet;

class FW_API CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // The page is about to be shown; FALSE keeps the sheet where it is.
    virtual BOOL OnSetActive();
    // The page is about to be left (another tab, or OK); FALSE keeps it. The base
    // moves the controls into the members and validates them.
    virtual BOOL OnKillActive();
    // The sheet does the keyboard handling of its pages and owns OK and Cancel.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;

    // This page's place on the sheet's tabs.
    int GetPageIndex() const { return m_nPageIndex; }
    // Sets the caption of the tab at nIndex.
    void SetTabText(int nIndex, const wchar_t* pszText);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    PROPSHEETPAGEW m_psp{};
    int m_nPageIndex = -1;
};

class FW_API CPropertySheet : public CWnd {
public:
    CPropertySheet(const wchar_t* pszCaption, CWnd* pParent, UINT nSelectPage = 0);

    // Pages are shown in the order they are added; they are not owned.
    void AddPage(CPropertyPage* pPage);
    // Shows the sheet modally: IDOK or IDCANCEL as the user closed it, the value
    // given to EndModalLoop, or -1 when the sheet could not be created.
    virtual INT_PTR DoModal();
    // Ends the modal loop with nResult (the sheet is destroyed when it ends).
    void EndModalLoop(int nResult);
    BOOL IsModal() const { return m_bModal; }
    // Called once the sheet and its first page exist.
    virtual BOOL OnInitDialog();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Flags and settings of the sheet; DoModal adds what it needs.
    PROPSHEETHEADERW m_psh{};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The user closed the sheet with OK or Cancel.
    bool Closed() const;

    CString m_strCaption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    BOOL m_bModal = FALSE;
    int m_nModalResult = IDCANCEL;
};
