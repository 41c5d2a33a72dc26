// CLdapCustomizeSearchDlg: the Customize Search & Display window of the Directory
// Search window. Above, the user chooses which fields of the current server's result
// list are shown, in which order and under which titles; below, values typed into a
// grid of the shown fields make an advanced search. There is at most one per process;
// it deletes itself when its window is gone.
#pragma once

#include "ImageButton.h"
#include "ListCtrlEx.h"

#include "Framework.h"

class CDirectorySearchDialog;
class CEventLog;
class CTranslation;

class CLdapCustomizeSearchDlg : public CDialog {
public:
    // The platform's HTML Help entry point (HtmlHelpW).
    using HelpFunction = HWND (*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    // Advance Search in pOwner: opens the window, or brings the open one forward.
    static void Open(CDirectorySearchDialog* pOwner, HelpFunction pfnHelp);
    // pOwner is going: its window forgets it and closes.
    static void Release(CDirectorySearchDialog* pOwner);
    // The open window, or null.
    static CLdapCustomizeSearchDlg* GetOpen() { return s_pOpen; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    CLdapCustomizeSearchDlg(CDirectorySearchDialog* pOwner, HelpFunction pfnHelp);

    CString Text(UINT nID) const;
    void SetTexts();
    void FillFieldLists();
    void AddCriteriaColumns();
    void InsertEmptyRows();

    // The user's changes to the shown fields.
    void OnAddField();
    void OnAddAllFields();
    void OnRemoveField();
    void OnRemoveAllFields();
    void OnMoveUp();
    void OnMoveDown();
    LRESULT OnEndRename(const NMLVDISPINFOW& info);
    void OnShownFocus();
    void OnAvailableFocus();
    void FieldsChanged();
    // The Shown list takes no more fields than can be shown.
    bool ShownFull() const;

    // Hands the new order to the search window; nothing when nothing changed.
    void Save();
    void OnApply();
    void OnSearch();
    void OnHelp();

    CButton m_btnApply;
    CButton m_btnSearch;
    CListCtrlEx m_criteriaGrid;
    CButton m_btnRemoveAll;
    CButton m_btnRemove;
    CButton m_btnAddAll;
    CButton m_btnAdd;
    CImageButton m_btnUp;
    CImageButton m_btnDown;
    CListCtrl m_shownList;
    CListCtrl m_availableList;
    // The current server's stored column set, attached to no window; its
    // m_bColumnsChanged says whether the user changed anything.
    CListCtrlEx m_fields;
    CTranslation* m_pTranslation;
    CEventLog* m_pEventLog;
    CDirectorySearchDialog* m_pOwner; // null once the search window has let go
    HelpFunction m_pfnHelp;
    CModuleState* m_pModuleState;
    bool m_bRenameCancelled = false; // Escape ended the edit of a title

    static CLdapCustomizeSearchDlg* s_pOpen;
};
