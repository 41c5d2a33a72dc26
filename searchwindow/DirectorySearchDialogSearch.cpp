// The search of the Directory Search window: turning the search text into a
// filter, starting the worker, and collecting the results on the window's thread.
#include "DirectorySearchDialog.h"

#include "EntryMap.h"
#include "LdapUrl.h"
#include "Options.h"
#include "RecentSearches.h"
#include "SearchFilter.h"
#include "Translation.h"
#include "resource.h"

#include <algorithm>

namespace {

constexpr UINT kResultTimerPeriod = 10;
// The longest an encrypted connection may take to come up, whatever the account's
// time-out says; see BeginSearch.
constexpr int kSecureConnectMaxSeconds = 30;
constexpr int kEntryColumnWidth = 85;
// Entries add columns to the list's catalogue only while it holds fewer than this.
// A person has a few dozen attributes in any common schema; far more come only from
// a broken or hostile server, and each column costs every row a cell, the header
// menu an item and the stored layout a key. The entry itself keeps every attribute.
constexpr int kMostEntryColumns = 256;
// Referrals followed by one search at most, so that servers referring to each
// other end it.
constexpr int kMostReferrals = 10;
// A worker held in a library call that takes no time limit is given this long
// beyond the deadline to report for itself.
constexpr ULONGLONG kWorkerGraceMs = 1000;

const wchar_t* const kDefaultColumns[] = {L"cn", L"telephonenumber", L"mail", L"o", L"l"};

} // namespace

void CDirectorySearchDialog::OnFileSearch(UINT) {
    TRACE(L"in CDirectorySearchDialog::OnFileSearch()\n");
    if (!m_pCurrentAccount) {
        AfxMessageBox(Text(3848), MB_OK);
        return;
    }
    ClearRowData();
    m_listCtrl.DeleteAllItems();
    m_strSearchText = m_pSearchBox ? m_pSearchBox->GetWindowText() : CString();
    if (m_strSearchText.IsEmpty()) {
        m_searchStatus.Clear(); // nothing searched: no outcome to show
        return;
    }
    SetWindowText(m_pCurrentAccount->description + L" - " + Text(3195) + L" " + m_strSearchText);

    CStringList stored;
    if (RecordRecentSearch(*m_pOptions, m_strSearchAttribute, m_strSearchText, stored) &&
        m_pSearchBox) {
        m_pSearchBox->ResetContent();
        for (POSITION pos = stored.GetHeadPosition(); pos;)
            m_pSearchBox->AddString(stored.GetNext(pos));
    }
    m_pCurrentAccount->filter = BuildSearchFilter(m_strSearchAttribute, m_strSearchText);
    if (m_pSearchBox)
        m_pSearchBox->SetWindowText(m_strSearchText);
    BeginSearch();
}

void CDirectorySearchDialog::SearchFromSearchBox() {
    OnFileSearch(ID_FILE_SEARCH);
}

void CDirectorySearchDialog::StartSearch() {
    if (!m_pCurrentAccount) {
        AfxMessageBox(Text(3848), MB_OK);
        return;
    }
    ClearRowData();
    if (m_pSearchBox) {
        m_pSearchBox->ResetContent();
        m_pSearchBox->SetWindowText(L"");
    }
    m_listCtrl.DeleteAllItems();
    if (m_strAdvancedFilter.IsEmpty()) {
        m_searchStatus.Clear();
        return;
    }
    SetWindowText(m_pCurrentAccount->description + L" - " + Text(3195) + L" " +
                  m_strAdvancedFilter);
    // The caption that the results bring names this search, not the last typed one.
    m_strSearchText = m_strAdvancedFilter;
    m_pCurrentAccount->filter = CompactFilterComponents(m_strAdvancedFilter);
    BeginSearch();
}

void CDirectorySearchDialog::BeginSearch() {
    m_nLayoutStored = -1;
    CloseConnection();
    m_pHandOff->AbandonSearch();
    KillTimer(kResultTimer);
    m_nEntriesReceived = 0;
    m_pendingReferrals.clear();
    m_nReferralsFollowed = 0;
    m_bFollowingReferral = false;
    const ULONGLONG nAllowed = SearchTimeAllowed(m_pCurrentAccount->timeout);
    m_nSearchDeadline = ::GetTickCount64() + nAllowed;
    // The worker gets its own copy: the servers may be edited while it runs.
    CSearchRequest request{*m_pCurrentAccount, m_pEventLog, m_pTranslation, m_nSearchDeadline};
    request.account.connection = nullptr;
    request.account.bound = false;
    m_searchStatus.Started();
    // Some LDAP libraries (Wine's) wait for ever when the port does not speak the
    // encryption chosen: an encrypted connection that is not up in time fails as
    // one whose encryption was refused, at most kSecureConnectMaxSeconds on.
    const bool bEncrypted = request.account.encryption != CLDapAccount::kEncryptionNone;
    const ULONGLONG nSecureWait =
        static_cast<ULONGLONG>(std::clamp(request.account.timeout, 1, kSecureConnectMaxSeconds)) *
        1000;
    m_nSecureStartDeadline = bEncrypted ? ::GetTickCount64() + nSecureWait : 0;
    SetSearchStarting(StartSearchWorker(m_pHandOff, std::move(request)) != 0);
    if (!m_bSearchStarting)
        return ReportSearchFailure(SearchFailure::Init);
    SetTimer(kDeadlineTimer, static_cast<UINT>(bEncrypted ? std::min(nAllowed, nSecureWait)
                                                          : nAllowed));
}

void CDirectorySearchDialog::AbandonSearch() {
    if (m_pHandOff)
        m_pHandOff->AbandonSearch();
    SetSearchStarting(false);
    KillTimer(kResultTimer);
    KillTimer(kDeadlineTimer);
    SetWindowText(m_strBaseTitle);
    CloseConnection();
    m_searchStatus.Clear();
}

void CDirectorySearchDialog::SetSearchStarting(bool bStarting) {
    if (m_bSearchStarting == bStarting)
        return;
    m_bSearchStarting = bStarting;
    // Show the change at once when the mouse is over the window.
    POINT pt;
    ::GetCursorPos(&pt);
    HWND hUnder = ::WindowFromPoint(pt);
    if (hUnder && (hUnder == m_hWnd || ::IsChild(m_hWnd, hUnder)))
        SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(hUnder),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

BOOL CDirectorySearchDialog::OnSetCursor(HWND, UINT nHitTest) {
    // The window stays usable while a search connects: the arrow keeps its
    // hourglass only as a sign that something is on its way.
    if (!m_bSearchStarting || nHitTest != HTCLIENT)
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
    return TRUE;
}

void CDirectorySearchDialog::CloseConnection() {
    if (m_pCurrentAccount && m_pCurrentAccount->bound) {
        LdapApi().Unbind(m_pCurrentAccount->connection);
        m_pCurrentAccount->connection = nullptr;
        m_pCurrentAccount->bound = false;
    }
}

void CDirectorySearchDialog::OnSearchStarted() {
    CStartedSearch started;
    if (!m_pHandOff->TakeStarted(started))
        return;
    if (!m_pCurrentAccount) {
        LdapApi().Unbind(started.pConnection);
        return;
    }
    SetSearchStarting(false);
    CloseConnection();
    m_pCurrentAccount->connection = started.pConnection;
    m_pCurrentAccount->bound = true;
    m_nSearchMessageId = started.nMessageId;
    SetTimer(kResultTimer, kResultTimerPeriod);
}

void CDirectorySearchDialog::OnSearchFailed(UINT nSearchId, SearchFailure failure) {
    if (nSearchId != m_pHandOff->GetCurrentSearch() || !m_bSearchStarting)
        return;
    ReportSearchFailure(failure);
}

void CDirectorySearchDialog::OnDeadline() {
    const ULONGLONG now = ::GetTickCount64();
    ULONGLONG end = m_nSearchDeadline + (m_bSearchStarting ? kWorkerGraceMs : 0);
    const bool bSecureStart = m_bSearchStarting && m_nSecureStartDeadline;
    if (bSecureStart)
        end = std::min(end, m_nSecureStartDeadline);
    if (now < end) {
        SetTimer(kDeadlineTimer, static_cast<UINT>(end - now));
        return;
    }
    KillTimer(kDeadlineTimer);
    if (m_bSearchStarting) {
        // The worker is held in the library: it fails as the step it is at, and
        // shows nothing when it returns.
        const SearchStage stage = m_pHandOff->GetStage();
        m_pHandOff->AbandonSearch();
        if (bSecureStart && stage != SearchStage::Sending)
            return ReportSearchFailure(SearchFailure::Secure);
        ReportSearchFailure(stage == SearchStage::Connecting ? SearchFailure::Connect
                            : stage == SearchStage::Binding  ? SearchFailure::NoAnswer
                                                             : SearchFailure::Search);
        return;
    }
    // Results are still due: the connection goes, with its socket.
    KillTimer(kResultTimer);
    CloseConnection();
    ReportSearchFailure(SearchFailure::Receive);
}

void CDirectorySearchDialog::ReportSearchFailure(SearchFailure failure) {
    KillTimer(kDeadlineTimer);
    SetSearchStarting(false);
    // A referral that cannot be followed ends the search as results that could not
    // be received do.
    if (m_bFollowingReferral)
        failure = SearchFailure::Receive;
    m_searchStatus.Failed(failure);
    const CString appName = AfxGetApp() ? AfxGetApp()->GetAppName() : CString();
    struct Report {
        UINT nText;
        CString caption;
        UINT nType;
        const wchar_t* pszEvent;
    };
    Report report{2816, Text(3232) + L"...", MB_ICONINFORMATION, L"Error on ldap_result"};
    switch (failure) {
    case SearchFailure::Init:
        report = {2815, appName, MB_OK, L"Error connecting"};
        break;
    case SearchFailure::Connect:
        report = {2814, appName, MB_OK, L"Error Connecting"};
        break;
    case SearchFailure::Bind:
    case SearchFailure::NoAnswer:
        report = {2814, appName, MB_OK, L"Error binding"};
        break;
    case SearchFailure::Secure:
        report = {kSecureConnectionFailedText, appName, MB_OK, L"Error securing the connection"};
        break;
    case SearchFailure::Search:
        report = {2817, L"", MB_ICONINFORMATION, L"Error searching"};
        break;
    case SearchFailure::Receive:
        break;
    }
    LogSearchFailure(m_pEventLog, __FILE__, __LINE__, report.pszEvent);
    if (ShowSearchBox(Text(report.nText), report.caption, report.nType))
        SetWindowText(m_strBaseTitle);
}

bool CDirectorySearchDialog::ShowSearchBox(const CString& text, const CString& caption,
                                           UINT nType) {
    // One box at a time: what ends a search while one is shown is logged and shows
    // nothing more. The box is the window's own, so the window waits for it.
    if (m_bSearchBoxShown)
        return true;
    const std::shared_ptr<bool> pAlive = m_pAlive;
    m_bSearchBoxShown = true;
    ::MessageBoxW(m_hWnd, text, caption, nType);
    if (!*pAlive)
        return false;
    m_bSearchBoxShown = false;
    return true;
}

bool CDirectorySearchDialog::FollowsReferrals() const {
    return m_pCurrentAccount && m_pCurrentAccount->ldapReferral != 0;
}

void CDirectorySearchDialog::TakeReferral(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage,
                                          bool bResult) {
    if (!FollowsReferrals())
        return;
    CLdapValues urls(api);
    if (bResult)
        api.ParseReferrals(pConnection, pMessage, urls.Receive());
    else
        api.ParseReference(pConnection, pMessage, urls.Receive());
    // The URLs of one referral are alternatives: the first is followed. One that
    // cannot be read (Wine's library reads no continuation reference) is kept as
    // empty: it cannot be followed, which ends the search when its turn comes.
    if (m_pendingReferrals.size() <= kMostReferrals)
        m_pendingReferrals.emplace_back(urls && *urls.Get() ? *urls.Get() : L"");
}

void CDirectorySearchDialog::FollowNextReferral() {
    KillTimer(kResultTimer);
    CloseConnection();
    m_bFollowingReferral = true;
    CLdapUrl url;
    const bool bFollowable = !m_pendingReferrals.empty() &&
                             ++m_nReferralsFollowed <= kMostReferrals &&
                             ParseLdapUrl(m_pendingReferrals.front(), url);
    if (!m_pendingReferrals.empty())
        m_pendingReferrals.pop_front();
    if (!bFollowable)
        return ReportSearchFailure(SearchFailure::Receive);
    CSearchRequest request{*m_pCurrentAccount, m_pEventLog, m_pTranslation, m_nSearchDeadline};
    request.account.connection = nullptr;
    request.account.bound = false;
    if (!url.host.IsEmpty()) {
        request.account.address = url.host;
        request.account.port = url.port;
    }
    if (!url.dn.IsEmpty())
        request.account.searchRoot = url.dn;
    request.account.ldapVersion = 3; // referrals are a version 3 answer
    SetSearchStarting(StartSearchWorker(m_pHandOff, std::move(request),
                                        m_pHandOff->GetCurrentSearch()) != 0);
    if (!m_bSearchStarting)
        ReportSearchFailure(SearchFailure::Receive);
}

CString CDirectorySearchDialog::ResultCaption() const {
    return m_pCurrentAccount->description + L" - " + m_strSearchText;
}

void CDirectorySearchDialog::OnTimer() {
    // Only an account with a bound connection is polled.
    if (!m_pCurrentAccount || !m_pCurrentAccount->bound) {
        KillTimer(kResultTimer);
        return;
    }
    ILdapApi& api = LdapApi();
    LDAP* pConnection = m_pCurrentAccount->connection;
    l_timeval poll{0, 0};
    LDAPMessage* pMessage = nullptr;
    ULONG nType = api.Result(pConnection, m_nSearchMessageId, 0, &poll, &pMessage);
    if (nType == LDAP_RES_SEARCH_ENTRY) {
        ++m_nEntriesReceived;
        // Taking one entry per tick is this window's pace, not the server's: it does
        // not count against the search's time.
        m_nSearchDeadline += kResultTimerPeriod;
        auto* pEntry = new CEntryMap; // keeps every value of multi-valued fields
        BuildEntryMap(api, pConnection, pMessage, *pEntry);
        api.MsgFree(pMessage);
        AddEntryRow(pEntry);
        m_searchStatus.Progress(m_nEntriesReceived);
        // The size limit is the server's to apply, but not every LDAP library passes
        // it on with the request; a limit reached here ends the search as the
        // server's would.
        if (m_pCurrentAccount->maximumHits > 0 &&
            m_nEntriesReceived >= m_pCurrentAccount->maximumHits) {
            KillTimer(kResultTimer);
            FinishSearch(nullptr, LDAP_SIZELIMIT_EXCEEDED);
        }
        return;
    }
    if (nType == 0)
        return; // nothing has arrived yet
    if (nType == LDAP_RES_REFERRAL) {
        // A continuation reference: more entries elsewhere, and more to come here.
        TakeReferral(api, pConnection, pMessage, false);
        api.MsgFree(pMessage);
        return;
    }
    if (nType != static_cast<ULONG>(-1) &&
        api.Result2Error(pConnection, pMessage, 0) == LDAP_TIMEOUT) {
        if (pMessage)
            api.MsgFree(pMessage);
        return;
    }
    KillTimer(kResultTimer);
    if (nType == static_cast<ULONG>(-1))
        return ReportSearchFailure(SearchFailure::Receive);
    const ULONG nError = api.Result2Error(pConnection, pMessage, 0);
    if (nError == LDAP_REFERRAL && FollowsReferrals()) {
        TakeReferral(api, pConnection, pMessage, true);
        api.MsgFree(pMessage);
        return FollowNextReferral();
    }
    if (nError == LDAP_SUCCESS && !m_pendingReferrals.empty()) {
        api.MsgFree(pMessage);
        return FollowNextReferral();
    }
    FinishSearch(pMessage, nError);
}

void CDirectorySearchDialog::FinishSearch(LDAPMessage* pMessage, ULONG nError) {
    ILdapApi& api = LdapApi();
    KillTimer(kDeadlineTimer);
    // The pane first: it is what the user reads while a message box waits.
    if (nError == LDAP_SUCCESS || nError == LDAP_SIZELIMIT_EXCEEDED)
        m_searchStatus.Finished(m_nEntriesReceived, nError);
    else
        m_searchStatus.ServerError(api.Err2String(nError));
    bool bWindowStays = true;
    if (nError == LDAP_SUCCESS && m_nEntriesReceived == 0) {
        bWindowStays = ShowSearchBox(Text(2822) + L"...", Text(3232) + L"...", MB_ICONINFORMATION);
        if (bWindowStays)
            SetWindowText(m_strBaseTitle);
    } else if (nError == LDAP_SUCCESS || nError == LDAP_SIZELIMIT_EXCEEDED) {
        SetWindowText(ResultCaption());
    } else {
        bWindowStays = ShowSearchBox(Text(2847) + L"\n\n" + api.Err2String(nError),
                                     Text(3232) + L"...", MB_ICONINFORMATION);
        if (bWindowStays)
            SetWindowText(ResultCaption());
    }
    if (pMessage)
        api.MsgFree(pMessage);
    if (!bWindowStays)
        return; // closed under the box: its connection went with it
    int nNameColumn = m_listCtrl.GetColumnPosition(L"cn");
    if (nNameColumn >= 0) {
        // The rows came in unsorted: sort them by name in the direction the list
        // already has (the user's last choice), whichever column it was sorted by.
        m_listCtrl.m_nSortedColumn = -1;
        m_listCtrl.SortColumn(nNameColumn, FALSE, TRUE);
    }
    CloseConnection();
    if (m_listCtrl.GetItemCount() == 1)
        m_listCtrl.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
}

// ---------------------------------------------------------------- rows

void CDirectorySearchDialog::DefineEntryColumn(const CString& key, bool bDefault) {
    if ((!bDefault && m_listCtrl.GetColumnCount() >= kMostEntryColumns) ||
        m_listCtrl.FindColumn(key))
        return;
    const UINT nTitleId = AttributeTitleId(key);
    const CString title = nTitleId ? Text(nTitleId) : key;
    m_listCtrl.AddColumn(key, title, kEntryColumnWidth, 2, key == L"telephonenumber", TRUE, TRUE,
                         TRUE, -1, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, LVCFMT_LEFT);
}

void CDirectorySearchDialog::AddEntryRow(CMapStringToString* pEntry) {
    // The default columns are always defined, so that a first entry without a
    // name or an address cannot leave them out of the layout for good.
    for (const wchar_t* pszName : kDefaultColumns)
        DefineEntryColumn(pszName, true);
    // Every key is looked at: equal counts of keys and columns do not mean that
    // the columns cover the keys.
    CString key, value;
    for (POSITION pos = pEntry->GetStartPosition(); pos;) {
        pEntry->GetNextAssoc(pos, key, value);
        DefineEntryColumn(key);
    }
    ShowDefaultColumns();

    const std::vector<CListColumn*> shown = m_listCtrl.GetShownColumns();
    if (shown.empty()) {
        delete pEntry; // no column to show it in
        return;
    }
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        CString value;
        pEntry->Lookup(shown[i]->m_szName, value);
        if (i == 0) {
            m_listCtrl.InsertItem(0, value);
            m_listCtrl.SetItemData(0, reinterpret_cast<DWORD_PTR>(pEntry));
        } else {
            m_listCtrl.SetItemText(0, i, value);
        }
    }
}

bool CDirectorySearchDialog::IsLayoutStored() {
    if (m_nLayoutStored == -1 || m_nLayoutReadAtWrite != m_listCtrl.m_nSettingsWrites) {
        CString layoutKey;
        layoutKey.Format(L"ListControl\\%s\\%s\\Column 0", L"DirectorySearch",
                         m_strCurrentServer.GetString());
        m_nLayoutStored = m_pOptions->IsSubKeyPresent(layoutKey) ? 1 : 0;
        m_nLayoutReadAtWrite = m_listCtrl.m_nSettingsWrites;
    }
    return m_nLayoutStored == 1;
}

void CDirectorySearchDialog::ShowDefaultColumns() {
    if (IsLayoutStored())
        return;
    for (const wchar_t* pszName : kDefaultColumns) {
        if (m_listCtrl.FindColumn(pszName) && m_listCtrl.GetColumnPosition(pszName) < 0)
            m_listCtrl.DisplayColumn(pszName, -1, FALSE);
    }
}

void CDirectorySearchDialog::ClearRowData() {
    if (!m_listCtrl.m_hWnd)
        return;
    CListCtrlEx::CDrawingPause pause(m_listCtrl);
    const int nCount = m_listCtrl.GetItemCount();
    for (int nItem = 0; nItem < nCount; ++nItem) {
        auto* pEntry = reinterpret_cast<CMapStringToString*>(m_listCtrl.GetItemData(nItem));
        if (pEntry) {
            delete pEntry;
            m_listCtrl.SetItemData(nItem, 0);
        }
    }
}
