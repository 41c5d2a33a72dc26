// The Directory Search window: search box and field button on a toolbar, the
// result list below, the current server's column layout, and the asynchronous
// search that fills the list.
#pragma once

#include "CustomizeSearch.h"
#include "DialogEx.h"
#include "LDapAccount.h"
#include "ListCtrlEx.h"
#include "SearchBox.h"
#include "SearchStatusPane.h"
#include "SearchWindowHost.h"
#include "SearchWorker.h"
#include "ServerManagement.h"

#include <deque>
#include <memory>
#include <vector>

class CDirectorySearchDialog : public CDialogEx {
public:
    // Kind code of this window in the host's "window destroyed" message.
    static constexpr int kWindowKind = 7;
    // Collects the results of a running search, one message per tick.
    static constexpr UINT_PTR kResultTimer = 1;
    // Ends a search that has run out of time.
    static constexpr UINT_PTR kDeadlineTimer = 2;

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

    // Enter in the search box: the Search command with its own checks, even while
    // the command is disabled (no server: the user is told; empty box: the list
    // is cleared).
    void SearchFromSearchBox();
    // ------------------------------------------------ servers
    // The server commands go to pServers; plugged in before the window is created.
    void SetServerManagement(std::unique_ptr<IServerManagement> pServers);
    CLDapAccountArray& GetServers() { return m_servers; }
    // The current server's place in the server list, -1 when there is none.
    int GetCurrentServerIndex() const;
    const CString& GetCurrentServerName() const { return m_strCurrentServer; }
    // Makes element nIndex of the server list the current server; -1: none.
    void SetCurrentServer(int nIndex);
    // The Search In button: its text, and where it is on the screen.
    void SetServerButtonText(const CString& text);
    RECT GetServerButtonRect() const;
    // "DirectorySearch\<current server>", or "" when there is no current server.
    CString GetCurrentListName() const;
    // Stores the result list's layout under the list's present name.
    void SaveListSettings();
    // Empties the result list and gives it the columns stored for the server that
    // the profile value "Current" names.
    void SwitchListToCurrentServer();
    // The current server was renamed from strFormer: its column layout follows it.
    void MoveListSettings(const CString& strFormer);
    BOOL MayModifyPublicSearch() const { return m_bMayModify; }
    BOOL IsCustomizeOpen() const { return m_bCustomizeOpen; }
    CTranslation* GetTranslation() const { return m_pTranslation; }
    LRESULT SendHostMessage(WPARAM nCode, LPARAM lParam);
    // ------------------------------------------------ customizing
    // The Customize Search & Display window; plugged in before the window is created.
    void SetCustomizeSearch(std::unique_ptr<ICustomizeSearch> pCustomize);
    // The customize window opened or closed: the server menu and the field commands
    // follow.
    void SetCustomizeOpen(BOOL bOpen);
    // The customize window's new order: these fields shown in this order with these
    // titles, every other field hidden; the list stores it and shows it.
    void ApplyColumnOrder(const std::vector<CShownField>& shown);
    // The advanced search's filter: searched for at once unless it is empty.
    void SearchWithFilter(const CString& filter);
    CEventLog* GetEventLog() const { return m_pEventLog; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

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
    void OnServerCommand(UINT nID);
    void OnUpdateAddServer(CCmdUI* pCmdUI);
    static UINT ServerCommandMessage();
    void RunServerCommand(UINT nID);

    // The search.
    void BeginSearch();
    void OnSearchStarted();
    void OnSearchFailed(UINT nSearchId, SearchFailure failure);
    void OnDeadline();
    // Shows the failure's box (one at a time), logs it and restores the title.
    void ReportSearchFailure(SearchFailure failure);
    // False when the window was closed while the box was shown: nothing of it may
    // be touched then.
    bool ShowSearchBox(const CString& text, const CString& caption, UINT nType);
    // Referrals: the library follows none (it would block this thread); the window
    // follows them on a worker, within the search's time.
    bool FollowsReferrals() const;
    void TakeReferral(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage, bool bResult);
    void FollowNextReferral();
    void OnTimer();
    void FinishSearch(LDAPMessage* pMessage, ULONG nError);
    void CloseConnection();
    void AddEntryRow(CMapStringToString* pEntry);
    // A hidden column for an entry's attribute, titled from the attribute titles;
    // beyond the catalogue's limit only for a default column.
    void DefineEntryColumn(const CString& key, bool bDefault = false);
    void ShowDefaultColumns();
    // Whether the current server has a stored column layout: read once per search
    // and again when the list has written its settings.
    bool IsLayoutStored();
    CString ResultCaption() const;
    // The wait cursor shows over the window while a search connects and binds.
    void SetSearchStarting(bool bStarting);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest);

    // Entry actions (DirectorySearchDialogActions.cpp).
    BOOL OnActionCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);
    void OnSearchField(UINT);
    void Dial();
    void OnDialNumber(UINT) { Dial(); }
    void OnUpdateDialNumber(CCmdUI* pCmdUI);
    void OnSendEmail(UINT);
    void OnUpdateSendEmail(CCmdUI* pCmdUI);
    void OnAddToDirectory(UINT);
    void OnEditProperties(UINT);
    void OnUpdateEntrySelected(CCmdUI* pCmdUI);
    void OnSelectPhoneNumbers(UINT);
    void OnUpdateSelectPhoneNumbers(CCmdUI* pCmdUI);
    void ShowRowMenu(NMITEMACTIVATE* pItem);
    // The row an action works on: the one selected row, or -1.
    int SelectedRow() const;
    CMapStringToString* SelectedEntry() const;
    CString SelectedEmail() const;
    bool HasNumberToDial(const CMapStringToString& entry) const;
    CString DialText(const CMapStringToString& entry) const;
    // The menu bar shows states refreshed only when a menu opens; the row menu
    // copies them, so they are brought up to date first.
    void UpdateMenuBarStates();

    // Customizing (DirectorySearchDialogCustomize.cpp).
    BOOL OnCustomizeCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);
    void OnAdvanceSearch(UINT);
    void OnUpdateAdvanceSearch(CCmdUI* pCmdUI);
    void OnFieldOrganizer(UINT);
    void OnUpdateFieldCommands(CCmdUI* pCmdUI);
    // Stores a changed column set and reads it back, so the list shows it.
    void RefreshColumns();
    // A column shown again from the header menu gets each row's value.
    void FillColumn(const CString& name);

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

    // The module's state, for resources looked up while handling the user's commands.
    CModuleState* m_pModuleState = AfxGetModuleState();

    std::shared_ptr<CSearchHandOff> m_pHandOff;
    ULONG m_nSearchMessageId = 0;
    bool m_bSearchStarting = false;
    ULONGLONG m_nSearchDeadline = 0; // GetTickCount64 time
    // For an encrypted account, when its connection must be up (0: no such limit).
    ULONGLONG m_nSecureStartDeadline = 0;
    std::deque<CString> m_pendingReferrals;
    int m_nReferralsFollowed = 0;
    bool m_bFollowingReferral = false;
    bool m_bSearchBoxShown = false;
    // False once the window object is gone, for code that ran a box's modal loop.
    std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);

    std::unique_ptr<IServerManagement> m_pServerManagement;
    BOOL m_bCustomizeOpen = FALSE;
    int m_nLayoutStored = -1; // -1: not read in this search yet
    UINT m_nLayoutReadAtWrite = 0;
    BOOL m_bAdvancedSearch; // host option 196, read when the window is made
    std::unique_ptr<ICustomizeSearch> m_pCustomize;
    // What the running or the last search did, beside the prompts.
    CSearchStatusPane m_searchStatus;
};
