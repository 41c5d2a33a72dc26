#include "ConnectionTester.h"

#include "ModuleThread.h"

#include <optional>

struct CConnectionTester::Shared {
    std::mutex mutex;
    HWND hWnd;
    UINT nMessage;
    UINT nLatest = 0;  // the test that counts; 0: none
    UINT nRunning = 0; // the latest test while it runs
    std::optional<CConnectionTestResult> result;
};

struct CConnectionTester::Job {
    std::shared_ptr<Shared> pShared;
    CLDapAccount account;
    UINT nTest;
};

UINT __cdecl CConnectionTester::RunJob(LPVOID pParam) {
    std::unique_ptr<Job> pJob(static_cast<Job*>(pParam));
    CConnectionTestResult result = TestConnection(pJob->account);
    Shared& shared = *pJob->pShared;
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (!shared.hWnd || pJob->nTest != shared.nLatest)
        return 0;
    shared.result = std::move(result);
    shared.nRunning = 0;
    ::PostMessageW(shared.hWnd, shared.nMessage, 0, 0);
    return 0;
}

CConnectionTester::CConnectionTester(HWND hWnd, UINT nMessage)
    : m_pShared(std::make_shared<Shared>()) {
    m_pShared->hWnd = hWnd;
    m_pShared->nMessage = nMessage;
}

CConnectionTester::~CConnectionTester() {
    std::lock_guard<std::mutex> lock(m_pShared->mutex);
    m_pShared->hWnd = nullptr;
    m_pShared->nLatest = m_pShared->nRunning = 0;
}

bool CConnectionTester::Start(const CLDapAccount& account) {
    UINT nTest;
    {
        std::lock_guard<std::mutex> lock(m_pShared->mutex);
        nTest = ++m_pShared->nLatest;
        if (nTest == 0)
            nTest = ++m_pShared->nLatest; // 0 means "none"
        m_pShared->nRunning = nTest;
        m_pShared->result.reset();
    }
    auto* pJob = new Job{m_pShared, account, nTest};
    if (!BeginModuleThread(RunJob, pJob)) {
        delete pJob;
        Abandon();
        return false;
    }
    return true;
}

void CConnectionTester::Abandon() {
    std::lock_guard<std::mutex> lock(m_pShared->mutex);
    ++m_pShared->nLatest;
    m_pShared->nRunning = 0;
    m_pShared->result.reset();
}

bool CConnectionTester::IsRunning() const {
    std::lock_guard<std::mutex> lock(m_pShared->mutex);
    return m_pShared->nRunning != 0;
}

bool CConnectionTester::TakeResult(CConnectionTestResult& result) {
    std::lock_guard<std::mutex> lock(m_pShared->mutex);
    if (!m_pShared->result)
        return false;
    result = std::move(*m_pShared->result);
    m_pShared->result.reset();
    return true;
}
