#include "ModuleThread.h"

namespace {

struct CModuleThreadJob {
    AFX_THREADPROC pfnThreadProc;
    LPVOID pParam;
    HMODULE hModule;
};

UINT __cdecl ModuleThreadProc(LPVOID pParam) {
    const CModuleThreadJob job = *static_cast<CModuleThreadJob*>(pParam);
    delete static_cast<CModuleThreadJob*>(pParam);
    job.pfnThreadProc(job.pParam);
    ::FreeLibraryAndExitThread(job.hModule, 0);
    return 0;
}

} // namespace

bool BeginModuleThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) {
    HMODULE hModule = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(pfnThreadProc), &hModule))
        return false;
    auto* pJob = new CModuleThreadJob{pfnThreadProc, pParam, hModule};
    CWinThread* pThread =
        AfxBeginThread(ModuleThreadProc, pJob, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!pThread) {
        delete pJob;
        ::FreeLibrary(hModule);
        return false;
    }
    // The thread ends in FreeLibraryAndExitThread, never back in the framework, so
    // its object is not deleted there: it is of no further use.
    pThread->m_bAutoDelete = FALSE;
    ::ResumeThread(pThread->m_hThread);
    delete pThread;
    return true;
}
