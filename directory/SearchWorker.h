// The slow half of a search: a worker thread opens, binds and sends the request,
// then hands the connection to the window's thread, which collects the results.
//
// Only the most recently started search counts. The window and its workers share a
// CSearchHandOff: it numbers the searches, knows which one is current and whether
// the window still exists; a worker hands its connection over, or reports a
// failure, only through it, so a superseded worker, or one whose window has gone,
// releases its own connection and shows nothing. Searches are numbered by a counter
// of their own: thread ids are reused by the system, search numbers are not.
#pragma once

#include "LDapAccount.h"
#include "LdapApi.h"

#include <memory>
#include <mutex>

class CEventLog;
class CTranslation;

// How far a worker has come; a search that runs out of time while its worker is
// held in the library fails as the step it was at.
enum class SearchStage { Connecting, Binding, Sending };
// Why a search failed: each is shown, logged and summed up in the status pane its
// own way.
enum class SearchFailure {
    Init,     // no connection could be opened
    Connect,  // the connection could not be made
    Bind,     // the server refused the bind
    NoAnswer, // the bind got no answer: the server is not there or does not answer
    Secure,   // the encrypted connection could not be made
    Search,   // the search request could not be sent
    Receive,  // the results could not be received
};

// The message box of a search whose encrypted connection could not be made.
constexpr UINT kSecureConnectionFailedText = 3912;

// The time a search may take from its start, in milliseconds: the account's time
// limit (200 s when it sets none, at most a day) and a grace for connecting,
// binding and receiving.
constexpr ULONGLONG kSearchGraceMs = 2000;
ULONGLONG SearchTimeAllowed(int nTimeout);

// A connection handed over by the current worker: bound, with its search sent.
struct CStartedSearch {
    UINT nSearchId = 0;
    LDAP* pConnection = nullptr;
    ULONG nMessageId = 0;
};

class CSearchHandOff {
public:
    // Worker results reach hWnd as nStartedMessage (a connection is ready to be
    // taken) and nFailedMessage (wParam: the search id, lParam: the SearchFailure;
    // the window shows its base title again).
    CSearchHandOff(HWND hWnd, UINT nStartedMessage, UINT nFailedMessage);
    ~CSearchHandOff();
    CSearchHandOff(const CSearchHandOff&) = delete;
    CSearchHandOff& operator=(const CSearchHandOff&) = delete;

    // ---- window thread
    // Numbers a new search and makes it the current one.
    UINT NewSearch();
    // No search counts any more, until the next NewSearch.
    void AbandonSearch();
    UINT GetCurrentSearch() const;
    // The window is being destroyed: no search counts any more.
    void WindowGone();
    // The connection the current worker handed over, if it is there.
    bool TakeStarted(CStartedSearch& started);
    // The step the current search's worker is at.
    SearchStage GetStage() const;

    // ---- worker threads
    bool IsCurrent(UINT nSearchId) const;
    // Gives the window a bound connection with its search sent; false when the
    // worker no longer counts, and the caller keeps (and closes) the connection.
    bool HandOver(const CStartedSearch& started);
    // Asks the window to show that the search failed (lParam: the failure); false
    // when the worker no longer counts.
    bool ReportFailure(UINT nSearchId, SearchFailure failure);
    void SetStage(UINT nSearchId, SearchStage stage);
    HWND GetWindow() const;

private:
    // The current search changes: a connection handed over by an earlier one and
    // not yet taken is closed.
    void SetCurrent(UINT nSearchId);
    void CloseWaiting();

    mutable std::mutex m_mutex;
    HWND m_hWnd;
    const UINT m_nStartedMessage;
    const UINT m_nFailedMessage;
    UINT m_nLastSearchId = 0;
    UINT m_nCurrentSearch = 0;
    CStartedSearch m_waiting; // handed over, not yet taken
    SearchStage m_stage = SearchStage::Connecting;
};

// What a worker needs: its own copy of the account, made when the search starts,
// and the host services it reports through.
struct CSearchRequest {
    CLDapAccount account;
    CEventLog* pEventLog = nullptr;
    CTranslation* pTranslation = nullptr;
    ULONGLONG nDeadline = 0; // GetTickCount64 time by which the search must be done
};

// Numbers a new search, makes it the current one and starts its worker; with
// nContinuedSearch, a worker for that search instead (following a referral). The
// search id, or 0 when no thread could be started. The worker holds the module
// loaded until it has finished, so that the host may unload it at any time.
UINT StartSearchWorker(const std::shared_ptr<CSearchHandOff>& pHandOff, CSearchRequest request,
                       UINT nContinuedSearch = 0);

// Event code of every search failure in the host's event log.
constexpr UINT kSearchEventCode = 1224;
// Writes one search-failure record with the given text.
void LogSearchFailure(CEventLog* pEventLog, const char* pszFile, int nLine, const wchar_t* pszText);
