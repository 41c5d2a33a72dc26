// The slow half of a search: a worker thread opens, binds and sends the request,
// then hands the connection to the window's thread, which collects the results.
//
// Only the most recently started worker counts. The window and its workers share a
// CSearchHandOff: the window records there which worker is current and whether the
// window still exists; a worker hands its connection over, or reports a failure,
// only through it, so a superseded worker, or one whose window has gone, releases
// its own connection and shows nothing.
#pragma once

#include "LDapAccount.h"
#include "LdapApi.h"

#include <memory>
#include <mutex>

class CEventLog;
class CTranslation;

// A connection handed over by the current worker: bound, with its search sent.
struct CStartedSearch {
    DWORD nWorkerId = 0;
    LDAP* pConnection = nullptr;
    ULONG nMessageId = 0;
};

class CSearchHandOff {
public:
    // Worker results reach hWnd as nStartedMessage (a connection is ready to be
    // taken) and nFailedMessage (wParam: the worker id; the window shows its base
    // title again).
    CSearchHandOff(HWND hWnd, UINT nStartedMessage, UINT nFailedMessage);
    ~CSearchHandOff();
    CSearchHandOff(const CSearchHandOff&) = delete;
    CSearchHandOff& operator=(const CSearchHandOff&) = delete;

    // ---- window thread
    // From now on only worker nWorkerId counts (0: none). A connection handed over
    // by an earlier worker and not yet taken is closed.
    void SetCurrentWorker(DWORD nWorkerId);
    DWORD GetCurrentWorker() const;
    // The window is being destroyed: no worker counts any more.
    void WindowGone();
    // The connection the current worker handed over, if it is there.
    bool TakeStarted(CStartedSearch& started);

    // ---- worker threads
    bool IsCurrent(DWORD nWorkerId) const;
    // Gives the window a bound connection with its search sent; false when the
    // worker no longer counts, and the caller keeps (and closes) the connection.
    bool HandOver(const CStartedSearch& started);
    // Asks the window to show that the search failed; false when the worker no
    // longer counts.
    bool ReportFailure(DWORD nWorkerId);
    HWND GetWindow() const;

private:
    void CloseWaiting();

    mutable std::mutex m_mutex;
    HWND m_hWnd;
    const UINT m_nStartedMessage;
    const UINT m_nFailedMessage;
    DWORD m_nCurrentWorker = 0;
    CStartedSearch m_waiting; // handed over, not yet taken
};

// What a worker needs: its own copy of the account, made when the search starts,
// and the host services it reports through.
struct CSearchRequest {
    CLDapAccount account;
    CEventLog* pEventLog = nullptr;
    CTranslation* pTranslation = nullptr;
};

// Starts a worker for request and makes it the current one; its thread id, or 0
// when no thread could be started.
DWORD StartSearchWorker(const std::shared_ptr<CSearchHandOff>& pHandOff, CSearchRequest request);

// Event code of every search failure in the host's event log.
constexpr UINT kSearchEventCode = 1224;
// Writes one search-failure record with the given text.
void LogSearchFailure(CEventLog* pEventLog, const char* pszFile, int nLine, const wchar_t* pszText);
