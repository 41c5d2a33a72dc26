// The Directory Search window: search box and field button on a toolbar, the
// result list below, the current server's column layout, and the asynchronous
// search that fills the list.
#pragma once

#include "DialogEx.h"
#include "LDapAccount.h"
#include "ListCtrlEx.h"
#include "SearchBox.h"
#include "SearchWindowHost.h"
#include "SearchWorker.h"

#include <memory>

class CDirectorySearchDialog : public CDialogEx {
public:
    // Kind code of this window in the host's "window destroyed" message.
    static constexpr int kWindowKind = 7;
    // Collects the results of a running search, one message per tick.
    static constexpr UINT_PTR kResultTimer = 1;

    // A top-level window that reports back through pHost and borrows the services.
    CDirectorySearchDialog(std::unique_ptr<ISearchWindowHost> pHost,
                           const CSearchWindowServices& services);
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
    void OnSearchFailed(UINT nSearchId);
    void OnTimer();
    void FinishSearch(LDAPMessage* pMessage, ULONG nError);
    void CloseConnection();
    void AddEntryRow(CMapStringToString* pEntry);
    void ShowDefaultColumns();
    // Whether the current server has a stored column layout: read once per search
    // and again when the list has written its settings.
    bool IsLayoutStored();
    CString ResultCaption() const;
    // The wait cursor shows over the window while a search connects and binds.
    void SetSearchStarting(bool bStarting);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest);

    std::unique_ptr<ISearchWindowHost> m_pHost;
    CListCtrlEx m_listCtrl;
    CFont* m_pNativeFont;
    CLDapAccount* m_pCurrentAccount = nullptr;
    CLDapAccountArray m_servers;
    CEventLog* m_pEventLog;
    CTranslation* m_pTranslation;
    COptions* m_pOptions;
    CManager* m_pManager; // the host's; only kept
    CString m_strNameModeLabel;
    CString m_strTelephoneModeLabel;
    CString m_strEmailModeLabel;
    CString m_strSearchFieldLabel;
    CString m_strSearchAttribute;
    CString m_strCurrentServer;
    CString m_strBaseTitle;
    CString m_strSearchText;
    std::unique_ptr<CSearchBox> m_pSearchBox;
    BOOL m_bCallsEnabled = FALSE;
    BOOL m_bMayModify;
    BOOL m_bMayModifyPhoneDirectory;
    int m_nEntriesReceived = 0;
    CString m_strAdvancedFilter;

    std::shared_ptr<CSearchHandOff> m_pHandOff;
    ULONG m_nSearchMessageId = 0;
    bool m_bSearchStarting = false;
    int m_nLayoutStored = -1; // -1: not read in this search yet
    UINT m_nLayoutReadAtWrite = 0;
};
