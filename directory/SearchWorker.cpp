#include "SearchWorker.h"

#include "EventLog.h"
#include "LdapConnector.h"
#include "LdapVersionProbe.h"
#include "Translation.h"

#include "WinApp.h"

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

namespace {

struct CSearchJob {
    std::shared_ptr<CSearchHandOff> pHandOff;
    CSearchRequest request;
    UINT nSearchId;
};

CString Text(const CTranslation* pTranslation, UINT nID) {
    return pTranslation ? pTranslation->LoadStringW(nID, 512) : CString();
}

class CSearchWorker {
public:
    explicit CSearchWorker(CSearchJob& job)
        : m_handOff(*job.pHandOff), m_request(job.request), m_account(job.request.account),
          m_api(LdapApi()), m_connection(m_api), m_nId(job.nSearchId) {}

    void Run();

private:
    enum class Failure { Init, Connect, Bind, Secure, Search };
    void Trace(const wchar_t* pszFormat, ...);
    void Fail(Failure failure, ULONG nError, const char* pszFile, int nLine);
    static SearchFailure StatusOf(Failure failure, ULONG nError);

    CSearchHandOff& m_handOff;
    CSearchRequest& m_request;
    CLDapAccount& m_account;
    ILdapApi& m_api;
    CLdapConnection m_connection; // closed here unless handed over
    const UINT m_nId;
};

SearchFailure CSearchWorker::StatusOf(Failure failure, ULONG nError) {
    switch (failure) {
    case Failure::Init:
        return SearchFailure::Init;
    case Failure::Connect:
        return SearchFailure::Unreachable;
    case Failure::Bind:
        return IsTransportFailure(nError) ? SearchFailure::Unreachable
                                          : SearchFailure::LogonRefused;
    case Failure::Secure:
        return SearchFailure::Secure;
    case Failure::Search:
        break;
    }
    return SearchFailure::SearchRefused;
}

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

void CSearchWorker::Run() {
    const int nEncryption = m_account.encryption;
    int nVersion = m_account.ldapVersion;
    if (nVersion == 0)
        nVersion =
            ProbeLdapVersion(m_account.address, m_account.port, nEncryption);
    Trace(L" description: <%s> ldapVersion: %d ldapReferral: %d\n",
          m_account.description.GetString(), nVersion, m_account.ldapReferral);

    m_connection.Reset(OpenLdapConnection(m_api, m_account.address, m_account.port, nEncryption));
    if (!m_connection)
        return Fail(nEncryption ? Failure::Secure : Failure::Init, 0, __FILE__, __LINE__);
    if (nVersion == 3) {
        Trace(L"ldap register as V3 client with referral : %d\n", m_account.ldapReferral);
        ULONG version = LDAP_VERSION3;
        m_api.SetOption(m_connection.Get(), LDAP_OPT_PROTOCOL_VERSION, &version);
        m_api.SetOption(m_connection.Get(), LDAP_OPT_REFERRALS,
                        m_account.ldapReferral ? LDAP_OPT_ON : LDAP_OPT_OFF);
    }
    Trace(L"ldap bind Option: %x\n", m_account.bindMethod);
    const CBindCredentials credentials(m_account);

    // Over an encrypted connection a connection that fails before the server has
    // answered is the encryption's failure: the user is told that, not "logon".
    ULONG nError = m_api.Connect(m_connection.Get(), nullptr);
    if (nError != LDAP_SUCCESS)
        return Fail(nEncryption ? Failure::Secure : Failure::Connect, nError, __FILE__, __LINE__);
    nError = SecureLdapConnection(m_api, m_connection.Get(), nEncryption);
    if (nError != LDAP_SUCCESS)
        return Fail(Failure::Secure, nError, __FILE__, __LINE__);
    nError = m_api.BindS(m_connection.Get(), credentials.Name(), credentials.Credential(),
                         credentials.Method());
    if (nError != LDAP_SUCCESS)
        return Fail(nEncryption && IsTransportFailure(nError) ? Failure::Secure : Failure::Bind,
                    nError, __FILE__, __LINE__);
    if (!m_handOff.IsCurrent(m_nId))
        return;

    ULONG sizeLimit = static_cast<ULONG>(m_account.maximumHits);
    ULONG timeLimit = static_cast<ULONG>(m_account.timeout);
    m_api.SetOption(m_connection.Get(), LDAP_OPT_SIZELIMIT, &sizeLimit);
    m_api.SetOption(m_connection.Get(), LDAP_OPT_TIMELIMIT, &timeLimit);

    ULONG nMessageId =
        m_api.Search(m_connection.Get(), m_account.searchRoot, static_cast<ULONG>(m_account.scope),
                     m_account.filter, nullptr, 0);
    if (nMessageId == static_cast<ULONG>(-1))
        return Fail(Failure::Search, 0, __FILE__, __LINE__);
    if (m_handOff.HandOver({m_nId, m_connection.Get(), nMessageId}))
        m_connection.Release(); // the window's thread closes it now
}

void CSearchWorker::Fail(Failure failure, ULONG nError, const char* pszFile, int nLine) {
    if (!m_handOff.IsCurrent(m_nId))
        return;
    const CTranslation* pTranslation = m_request.pTranslation;
    const wchar_t* pszLogText = L"";
    switch (failure) {
    case Failure::Init:
        AfxMessageBox(Text(pTranslation, 2815), MB_OK);
        pszLogText = L"Error connecting";
        break;
    case Failure::Connect:
        AfxMessageBox(Text(pTranslation, 2814), MB_OK);
        pszLogText = L"Error Connecting";
        break;
    case Failure::Bind:
        AfxMessageBox(Text(pTranslation, 2814), MB_OK);
        pszLogText = L"Error binding";
        break;
    case Failure::Secure:
        AfxMessageBox(Text(pTranslation, kSecureConnectionFailedText), MB_OK);
        pszLogText = L"Error securing the connection";
        break;
    case Failure::Search:
        ::MessageBoxW(m_handOff.GetWindow(), Text(pTranslation, 2817), L"", MB_ICONINFORMATION);
        pszLogText = L"Error searching";
        break;
    }
    LogSearchFailure(m_request.pEventLog, pszFile, nLine, pszLogText);
    m_handOff.ReportFailure(m_nId, StatusOf(failure, nError));
}

UINT __cdecl SearchThreadProc(LPVOID pParam) {
    std::unique_ptr<CSearchJob> pJob(static_cast<CSearchJob*>(pParam));
    CSearchWorker(*pJob).Run();
    return 0;
}

} // namespace

UINT StartSearchWorker(const std::shared_ptr<CSearchHandOff>& pHandOff, CSearchRequest request) {
    const UINT nSearchId = pHandOff->NewSearch();
    auto* pJob = new CSearchJob{pHandOff, std::move(request), nSearchId};
    if (!AfxBeginThread(SearchThreadProc, pJob)) {
        delete pJob;
        pHandOff->AbandonSearch();
        return 0;
    }
    return nSearchId;
}
