#include "SearchWorker.h"

#include "EventLog.h"
#include "LdapConnector.h"
#include "LdapVersionProbe.h"
#include "ModuleThread.h"

#include "WinApp.h"

#include <algorithm>

// ---------------------------------------------------------------- CSearchHandOff

CSearchHandOff::CSearchHandOff(HWND hWnd, UINT nStartedMessage, UINT nFailedMessage)
    : m_hWnd(hWnd), m_nStartedMessage(nStartedMessage), m_nFailedMessage(nFailedMessage) {}

CSearchHandOff::~CSearchHandOff() {
    CloseWaiting();
}

void CSearchHandOff::CloseWaiting() {
    if (m_waiting.pConnection)
        LdapApi().Unbind(m_waiting.pConnection);
    m_waiting = {};
}

UINT CSearchHandOff::NewSearch() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (++m_nLastSearchId == 0)
        ++m_nLastSearchId; // 0 means "none"
    SetCurrent(m_nLastSearchId);
    return m_nLastSearchId;
}

void CSearchHandOff::AbandonSearch() {
    std::lock_guard<std::mutex> lock(m_mutex);
    SetCurrent(0);
}

void CSearchHandOff::SetCurrent(UINT nSearchId) {
    m_nCurrentSearch = nSearchId;
    m_stage = SearchStage::Connecting;
    CloseWaiting();
}

UINT CSearchHandOff::GetCurrentSearch() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nCurrentSearch;
}

void CSearchHandOff::WindowGone() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hWnd = nullptr;
    SetCurrent(0);
}

bool CSearchHandOff::TakeStarted(CStartedSearch& started) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_waiting.pConnection || m_waiting.nSearchId != m_nCurrentSearch)
        return false;
    started = m_waiting;
    m_waiting = {};
    return true;
}

bool CSearchHandOff::IsCurrent(UINT nSearchId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hWnd && nSearchId == m_nCurrentSearch;
}

bool CSearchHandOff::HandOver(const CStartedSearch& started) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_hWnd || started.nSearchId != m_nCurrentSearch)
        return false;
    CloseWaiting();
    m_waiting = started;
    if (!::PostMessageW(m_hWnd, m_nStartedMessage, 0, 0)) {
        m_waiting = {};
        return false;
    }
    return true;
}

bool CSearchHandOff::ReportFailure(UINT nSearchId, SearchFailure failure) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hWnd && nSearchId == m_nCurrentSearch &&
           ::PostMessageW(m_hWnd, m_nFailedMessage, nSearchId, static_cast<LPARAM>(failure));
}

void CSearchHandOff::SetStage(UINT nSearchId, SearchStage stage) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (nSearchId == m_nCurrentSearch)
        m_stage = stage;
}

SearchStage CSearchHandOff::GetStage() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stage;
}

HWND CSearchHandOff::GetWindow() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hWnd;
}

// ---------------------------------------------------------------- the worker

void LogSearchFailure(CEventLog* pEventLog, const char* pszFile, int nLine,
                      const wchar_t* pszText) {
    if (pEventLog)
        pEventLog->EventLog(kSearchEventCode, pszFile, nLine, 10001, 3, 0, pszText, 0);
}

ULONGLONG SearchTimeAllowed(int nTimeout) {
    constexpr int kDefaultTimeout = 200, kLongestTimeout = 24 * 60 * 60;
    const int nSeconds = nTimeout <= 0 ? kDefaultTimeout : std::min(nTimeout, kLongestTimeout);
    return static_cast<ULONGLONG>(nSeconds) * 1000 + kSearchGraceMs;
}

namespace {

struct CSearchJob {
    std::shared_ptr<CSearchHandOff> pHandOff;
    CSearchRequest request;
    UINT nSearchId;
};

class CSearchWorker {
public:
    explicit CSearchWorker(CSearchJob& job)
        : m_handOff(*job.pHandOff), m_request(job.request), m_account(job.request.account),
          m_api(LdapApi()), m_connection(m_api), m_nId(job.nSearchId) {}

    void Run();

private:
    void Trace(const wchar_t* pszFormat, ...);
    void Fail(SearchFailure failure);
    // The bind's LDAP result: a simple bind is sent without waiting and its answer
    // awaited within the search's time (LDAP_TIMEOUT when none comes).
    ULONG Bind(const CBindCredentials& credentials);
    // What is left of the search's time, as the library takes a time limit; null
    // for a search without a deadline.
    l_timeval* TimeLeft(l_timeval& left) const;
    bool TimeIsUp() const;

    CSearchHandOff& m_handOff;
    CSearchRequest& m_request;
    CLDapAccount& m_account;
    ILdapApi& m_api;
    CLdapConnection m_connection; // closed here unless handed over
    const UINT m_nId;
};

void CSearchWorker::Trace(const wchar_t* pszFormat, ...) {
    if (!m_request.pEventLog)
        return;
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    m_request.pEventLog->Trace(L"%s", line.GetString());
}

l_timeval* CSearchWorker::TimeLeft(l_timeval& left) const {
    if (!m_request.nDeadline)
        return nullptr;
    const ULONGLONG now = ::GetTickCount64();
    const ULONGLONG ms = m_request.nDeadline > now ? m_request.nDeadline - now : 0;
    left = l_timeval{static_cast<LONG>(ms / 1000), static_cast<LONG>(ms % 1000 * 1000)};
    return &left;
}

bool CSearchWorker::TimeIsUp() const {
    return m_request.nDeadline && ::GetTickCount64() >= m_request.nDeadline;
}

void CSearchWorker::Run() {
    const int nEncryption = m_account.encryption;
    m_handOff.SetStage(m_nId, SearchStage::Connecting);
    int nVersion = m_account.ldapVersion;
    l_timeval left;
    if (nVersion == 0)
        nVersion = ProbeLdapVersion(m_account.address, m_account.port, nEncryption,
                                    TimeLeft(left));
    Trace(L" description: <%s> ldapVersion: %d ldapReferral: %d\n",
          m_account.description.GetString(), nVersion, m_account.ldapReferral);

    m_connection.Reset(OpenLdapConnection(m_api, m_account.address, m_account.port, nEncryption));
    if (!m_connection)
        return Fail(nEncryption ? SearchFailure::Secure : SearchFailure::Init);
    if (nVersion == 3) {
        Trace(L"ldap register as V3 client with referral : %d\n", m_account.ldapReferral);
        ULONG version = LDAP_VERSION3;
        m_api.SetOption(m_connection.Get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    }
    // The library never chases referrals: it would do so inside a poll on the
    // window's thread, without a time limit. The window follows them itself.
    m_api.SetOption(m_connection.Get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    Trace(L"ldap bind Option: %x\n", m_account.bindMethod);
    const CBindCredentials credentials(m_account);

    // Over an encrypted connection, a connection that fails before the server has
    // answered is the encryption's failure: the user is told that, not "logon".
    if (TimeIsUp() || m_api.Connect(m_connection.Get(), TimeLeft(left)) != LDAP_SUCCESS)
        return Fail(nEncryption ? SearchFailure::Secure : SearchFailure::Connect);
    if (SecureLdapConnection(m_api, m_connection.Get(), nEncryption) != LDAP_SUCCESS)
        return Fail(SearchFailure::Secure);
    m_handOff.SetStage(m_nId, SearchStage::Binding);
    const ULONG nError = Bind(credentials);
    if (nError != LDAP_SUCCESS) {
        if (!IsTransportFailure(nError))
            return Fail(SearchFailure::Bind);
        return Fail(nEncryption ? SearchFailure::Secure : SearchFailure::NoAnswer);
    }
    if (!m_handOff.IsCurrent(m_nId))
        return;

    ULONG sizeLimit = static_cast<ULONG>(m_account.maximumHits);
    ULONG timeLimit = static_cast<ULONG>(m_account.timeout);
    m_api.SetOption(m_connection.Get(), LDAP_OPT_SIZELIMIT, &sizeLimit);
    m_api.SetOption(m_connection.Get(), LDAP_OPT_TIMELIMIT, &timeLimit);

    m_handOff.SetStage(m_nId, SearchStage::Sending);
    ULONG nMessageId =
        m_api.Search(m_connection.Get(), m_account.searchRoot, static_cast<ULONG>(m_account.scope),
                     m_account.filter, nullptr, 0);
    if (nMessageId == static_cast<ULONG>(-1))
        return Fail(SearchFailure::Search);
    if (m_handOff.HandOver({m_nId, m_connection.Get(), nMessageId}))
        m_connection.Release(); // the window's thread closes it now
}

ULONG CSearchWorker::Bind(const CBindCredentials& credentials) {
    const ULONG nMethod = credentials.Method();
    // Only a simple bind can be sent without waiting for its answer.
    if (nMethod != LDAP_AUTH_SIMPLE)
        return m_api.BindS(m_connection.Get(), credentials.Name(), credentials.Credential(),
                           nMethod);
    const ULONG nBindId =
        m_api.Bind(m_connection.Get(), credentials.Name(), credentials.Credential(), nMethod);
    if (nBindId == static_cast<ULONG>(-1))
        return LDAP_SERVER_DOWN;
    l_timeval left;
    CLdapMessageOwner answer(m_api);
    const ULONG nType = m_api.Result(m_connection.Get(), nBindId, LDAP_MSG_ALL, TimeLeft(left),
                                     answer.Receive());
    if (nType == 0)
        return LDAP_TIMEOUT; // no answer in time
    if (nType != LDAP_RES_BIND || !answer)
        return LDAP_SERVER_DOWN;
    return m_api.Result2Error(m_connection.Get(), answer.Get(), 0);
}

void CSearchWorker::Fail(SearchFailure failure) {
    // The window shows and logs it, once, on its own thread.
    m_handOff.ReportFailure(m_nId, failure);
}

UINT __cdecl SearchThreadProc(LPVOID pParam) {
    std::unique_ptr<CSearchJob> pJob(static_cast<CSearchJob*>(pParam));
    CSearchWorker(*pJob).Run();
    return 0;
}

} // namespace

UINT StartSearchWorker(const std::shared_ptr<CSearchHandOff>& pHandOff, CSearchRequest request,
                       UINT nContinuedSearch) {
    const UINT nSearchId = nContinuedSearch ? nContinuedSearch : pHandOff->NewSearch();
    auto* pJob = new CSearchJob{pHandOff, std::move(request), nSearchId};
    if (!BeginModuleThread(SearchThreadProc, pJob)) {
        delete pJob;
        if (!nContinuedSearch)
            pHandOff->AbandonSearch();
        return 0;
    }
    return nSearchId;
}
