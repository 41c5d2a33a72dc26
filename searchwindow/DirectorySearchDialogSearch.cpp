// The search of the Directory Search window: turning the search text into a
// filter, starting the worker, and collecting the results on the window's thread.
#include "DirectorySearchDialog.h"

#include "EntryMap.h"
#include "Options.h"
#include "RecentSearches.h"
#include "SearchFilter.h"
#include "Translation.h"
#include "resource.h"

#include <algorithm>

namespace {

constexpr UINT kResultTimerPeriod = 10;
// The longest an encrypted connection may take to come up, whatever the account's
// time-out says; see OnSecureConnectTimeout.
constexpr int kSecureConnectMaxSeconds = 30;
constexpr int kEntryColumnWidth = 85;

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
    // The worker gets its own copy: the servers may be edited while it runs.
    CSearchRequest request{*m_pCurrentAccount, m_pEventLog, m_pTranslation};
    request.account.connection = nullptr;
    request.account.bound = false;
    m_searchStatus.Started();
    const bool bEncrypted = request.account.encryption != CLDapAccount::kEncryptionNone;
    const int nDeadline = std::clamp(request.account.timeout, 1, kSecureConnectMaxSeconds);
    const bool bStarted = StartSearchWorker(m_pHandOff, std::move(request)) != 0;
    SetSearchStarting(bStarted);
    KillTimer(kSecureConnectTimer);
    if (!bStarted)
        m_searchStatus.Failed(SearchFailure::Init);
    else if (bEncrypted)
        SetTimer(kSecureConnectTimer, static_cast<UINT>(nDeadline) * 1000);
}

void CDirectorySearchDialog::AbandonSearch() {
    if (m_pHandOff)
        m_pHandOff->AbandonSearch();
    SetSearchStarting(false);
    KillTimer(kResultTimer);
    KillTimer(kSecureConnectTimer);
    SetWindowText(m_strBaseTitle);
    CloseConnection();
    m_searchStatus.Clear();
}

void CDirectorySearchDialog::OnSecureConnectTimeout() {
    // Some LDAP libraries (Wine's) wait for ever when the port does not speak the
    // encryption chosen: a search whose encrypted connection is not up in time
    // fails as one whose encryption was refused. The worker, if it ever comes
    // back, no longer counts.
    KillTimer(kSecureConnectTimer);
    if (!m_bSearchStarting)
        return;
    m_pHandOff->AbandonSearch();
    SetSearchStarting(false);
    SetWindowText(m_strBaseTitle);
    m_searchStatus.Failed(SearchFailure::Secure);
    LogSearchFailure(m_pEventLog, __FILE__, __LINE__, L"Error securing the connection");
    AfxMessageBox(Text(kSecureConnectionFailedText), MB_OK);
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
    KillTimer(kSecureConnectTimer);
    CloseConnection();
    m_pCurrentAccount->connection = started.pConnection;
    m_pCurrentAccount->bound = true;
    m_nSearchMessageId = started.nMessageId;
    m_nEntriesReceived = 0;
    SetTimer(kResultTimer, kResultTimerPeriod);
}

void CDirectorySearchDialog::OnSearchFailed(UINT nSearchId, SearchFailure failure) {
    if (nSearchId != m_pHandOff->GetCurrentSearch())
        return;
    SetSearchStarting(false);
    KillTimer(kSecureConnectTimer);
    SetWindowText(m_strBaseTitle);
    m_searchStatus.Failed(failure);
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
    if (nType != static_cast<ULONG>(-1) &&
        api.Result2Error(pConnection, pMessage, 0) == LDAP_TIMEOUT) {
        if (pMessage)
            api.MsgFree(pMessage);
        return;
    }
    KillTimer(kResultTimer);
    if (nType == static_cast<ULONG>(-1)) {
        m_searchStatus.ConnectionLost();
        MessageBox(Text(2816), Text(3232) + L"...", MB_ICONINFORMATION);
        LogSearchFailure(m_pEventLog, __FILE__, __LINE__, L"Error on ldap_result");
        SetWindowText(m_strBaseTitle);
        return;
    }
    FinishSearch(pMessage, api.Result2Error(pConnection, pMessage, 0));
}

void CDirectorySearchDialog::FinishSearch(LDAPMessage* pMessage, ULONG nError) {
    ILdapApi& api = LdapApi();
    // The pane first: it is what the user reads while a message box waits.
    if (nError == LDAP_SUCCESS || nError == LDAP_SIZELIMIT_EXCEEDED)
        m_searchStatus.Finished(m_nEntriesReceived, nError);
    else
        m_searchStatus.ServerError(api.Err2String(nError));
    if (nError == LDAP_SUCCESS && m_nEntriesReceived == 0) {
        MessageBox(Text(2822) + L"...", Text(3232) + L"...", MB_ICONINFORMATION);
        SetWindowText(m_strBaseTitle);
    } else if (nError == LDAP_SUCCESS || nError == LDAP_SIZELIMIT_EXCEEDED) {
        SetWindowText(ResultCaption());
    } else {
        MessageBox(Text(2847) + L"\n\n" + api.Err2String(nError), Text(3232) + L"...",
                   MB_ICONINFORMATION);
        SetWindowText(ResultCaption());
    }
    if (pMessage)
        api.MsgFree(pMessage);
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

void CDirectorySearchDialog::DefineEntryColumn(const CString& key) {
    if (m_listCtrl.FindColumn(key))
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
        DefineEntryColumn(pszName);
    // Every key is looked at: equal counts of keys and columns do not mean that
    // the columns cover the keys.
    CString key, value;
    for (POSITION pos = pEntry->GetStartPosition(); pos;) {
        pEntry->GetNextAssoc(pos, key, value);
        DefineEntryColumn(key);
    }
    ShowDefaultColumns();

    const int nShown = m_listCtrl.GetDisplayedColumnCount();
    if (nShown == 0) {
        delete pEntry; // no column to show it in
        return;
    }
    for (int i = 0; i < nShown; ++i) {
        CString value;
        pEntry->Lookup(m_listCtrl.GetColumnName(i), value);
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
