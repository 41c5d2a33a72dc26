// The Directory Search window: search box and field button on a toolbar, the
// result list below, the current server's column layout, and the asynchronous
// search that fills the list.
#pragma once

#include "DialogEx.h"
#include "LDapAccount.h"
#include "ListCtrlEx.h"
#include "SearchBox.h"
#include "SearchWorker.h"

#include <memory>

class CDirectorySearch;
class CEventLog;
class CManager;
class CTranslation;

class CDirectorySearchDialog : public CDialogEx {
public:
    // Kind code of this window in the host's "window destroyed" message.
    static constexpr int kWindowKind = 7;
    // Collects the results of a running search, one message per tick.
    static constexpr UINT_PTR kResultTimer = 1;

    explicit CDirectorySearchDialog(CWnd* pParent);
    ~CDirectorySearchDialog() override;

    BOOL GetMessageString(UINT nID, CString& tip, CString& prompt) override;

    // Stores the flag and enables or disables the Dial button at once.
    void EnableCalls(BOOL bEnable);

    // Searches with a complete filter (the advanced search's); nothing when empty.
    void StartSearch();
    // Stops the running search, if any, before the current server changes.
    void AbandonSearch();

    // Built-in search modes of the search box.
    void SelectNameMode();
    void SelectTelephoneMode();
    void SelectEmailMode();
    // A field chosen from the field list: the built-in modes for their attributes,
    // otherwise a search on attribute without recent texts.
    void ApplyFieldChoice(const CString& label, const CString& attribute);

    // Deletes the entry maps of all rows (the rows stay).
    void ClearRowData();

    CListCtrlEx m_listCtrl;
    CFont* m_pNativeFont = nullptr;
    CLDapAccount* m_pCurrentAccount = nullptr;
    CLDapAccountArray m_servers;
    CDirectorySearch* m_pDirectorySearch = nullptr;
    CEventLog* m_pEventLog = nullptr;
    CTranslation* m_pTranslation = nullptr;
    COptions* m_pOptions = nullptr;
    CManager* m_pManager = nullptr;
    CString m_strNameModeLabel;
    CString m_strTelephoneModeLabel;
    CString m_strEmailModeLabel;
    CString m_strSearchFieldLabel;
    CString m_strSearchAttribute;
    CString m_strCurrentServer;
    CString m_strBaseTitle;
    CString m_strSearchText;
    std::unique_ptr<CSearchBox> m_pSearchBox;
    CMenu m_serverMenu;
    BOOL m_bCallsEnabled = FALSE;
    BOOL m_bMayModify = FALSE;
    BOOL m_bMayModifyPhoneDirectory = FALSE;
    int m_nEntriesReceived = 0;
    CString m_strAdvancedFilter;
    BOOL m_bOption196 = FALSE;
    BOOL m_bCustomizeOpen = FALSE;

    // The search worker whose results count; 0 when none.
    DWORD GetSearchWorkerId() const { return m_pHandOff ? m_pHandOff->GetCurrentWorker() : 0; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    CString Text(UINT nID) const;
    void LocalizeMenus();
    void CreateSearchBox();
    void PlaceSearchBox();
    void SelectMode(const CString& label, const wchar_t* pszAttribute);
    void ChooseCurrentAccount();

    // Commands.
    void OnFileSearch(UINT);
    void OnUpdateFileSearch(CCmdUI* pCmdUI);
    void OnCloseWindow(UINT);
    void OnHelp(UINT);
    void OnClose();

    // The search.
    void BeginSearch();
    void OnSearchStarted();
    void OnSearchFailed(DWORD nWorkerId);
    void OnTimer();
    void FinishSearch(LDAPMessage* pMessage, ULONG nError);
    void CloseConnection();
    void AddEntryRow(CMapStringToString* pEntry);
    void ShowDefaultColumns();
    CString ResultCaption() const;

    std::shared_ptr<CSearchHandOff> m_pHandOff;
    ULONG m_nSearchMessageId = 0;
};
