#include "WinApp.h"

#include "Registry.h"
#include "Wnd.h"

#include <process.h>

namespace {

// The program's application object state (set by an application object that is
// constructed in the program itself rather than in a DLL).
CModuleState* s_pProcessState = nullptr;

struct ThreadStart {
    AFX_THREADPROC pfn;
    LPVOID pParam;
    CModuleState* pState;
    CWinThread* pThread;
};

unsigned __stdcall ThreadEntry(void* p) {
    ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    UINT result;
    {
        AFX_MANAGE_STATE(start.pState);
        result = start.pfn(start.pParam);
    }
    if (start.pThread->m_bAutoDelete)
        delete start.pThread;
    return result;
}

} // namespace

// ---------------------------------------------------------------- CWinThread

CWinThread::~CWinThread() {
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (!(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
            break; // the top-level window has had its turn
    }
    return FALSE;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* pThread = new CWinThread;
    auto* pStart = new ThreadStart{pfnThreadProc, pParam, AfxGetModuleState(), pThread};
    unsigned id = 0;
    HANDLE hThread = reinterpret_cast<HANDLE>(
        _beginthreadex(lpSecurityAttrs, nStackSize, ThreadEntry, pStart, CREATE_SUSPENDED, &id));
    if (!hThread) {
        delete pStart;
        delete pThread;
        return nullptr;
    }
    pThread->m_hThread = hThread;
    pThread->m_nThreadID = id;
    ::SetThreadPriority(hThread, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(hThread);
    return pThread;
}

// ---------------------------------------------------------------- CWinApp

CWinApp::CWinApp(const wchar_t* pszAppName, CModuleState* pState)
    : m_pState(pState), m_strAppName(pszAppName) {
    pState->pApp = this;
    if (pState->hInstance == ::GetModuleHandleW(nullptr))
        s_pProcessState = pState;
}

CWinApp::~CWinApp() {
    if (m_pState->pApp == this)
        m_pState->pApp = nullptr;
    if (s_pProcessState == m_pState)
        s_pProcessState = nullptr;
}

CModuleState* CWinApp::GetProcessModuleState() {
    return s_pProcessState;
}

BOOL CWinApp::InitApplication(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    m_pState->hInstance = hInstance;
    if (!m_pState->hResources)
        m_pState->hResources = hInstance;
    m_nThreadID = ::GetCurrentThreadId();
    if (m_strAppName.IsEmpty()) {
        const wchar_t* p = nullptr;
        int n = ::LoadStringW(m_pState->hResources, 57344, reinterpret_cast<LPWSTR>(&p), 0);
        if (n > 0)
            m_strAppName = CString(p, n);
    }
    if (m_strAppName.IsEmpty()) {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameW(hInstance, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        m_strAppName = dot > 0 ? name.Left(dot) : name;
    }
    return TRUE;
}

void CWinApp::SetRegistryKey(const wchar_t* pszKey) {
    m_strRegistryKey = pszKey;
}

CString CWinApp::GetSectionPath(const wchar_t* pszSection) const {
    CString path = L"Software\\";
    if (!m_strRegistryKey.IsEmpty())
        path += m_strRegistryKey + L"\\";
    path += m_strAppName;
    if (pszSection && *pszSection)
        path += CString(L"\\") + pszSection;
    return path;
}

CString CWinApp::GetProfileString(const wchar_t* pszSection, const wchar_t* pszEntry,
                                  const wchar_t* pszDefault) const {
    CRegKey key;
    CString value;
    if (key.Open(HKEY_CURRENT_USER, GetSectionPath(pszSection)) == ERROR_SUCCESS &&
        key.QueryString(pszEntry, value))
        return value;
    return CString(pszDefault);
}

UINT CWinApp::GetProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry,
                            int nDefault) const {
    CRegKey key;
    DWORD value = 0;
    if (key.Open(HKEY_CURRENT_USER, GetSectionPath(pszSection)) == ERROR_SUCCESS &&
        key.QueryDword(pszEntry, value))
        return value;
    return static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileString(const wchar_t* pszSection, const wchar_t* pszEntry,
                                 const wchar_t* pszValue) {
    if (!pszEntry) {
        CRegKey app;
        if (app.Open(HKEY_CURRENT_USER, GetSectionPath(nullptr), KEY_READ | KEY_WRITE) !=
            ERROR_SUCCESS)
            return FALSE;
        return app.DeleteSubKeyTree(pszSection) == ERROR_SUCCESS;
    }
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, GetSectionPath(pszSection)) != ERROR_SUCCESS)
        return FALSE;
    if (!pszValue)
        return key.DeleteValue(pszEntry) == ERROR_SUCCESS;
    return key.SetString(pszEntry, pszValue) == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nValue) {
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, GetSectionPath(pszSection)) != ERROR_SUCCESS)
        return FALSE;
    return key.SetDword(pszEntry, static_cast<DWORD>(nValue)) == ERROR_SUCCESS;
}

void CWinApp::BeginWaitCursor() {
    if (::InterlockedIncrement(&m_nWaitCursorCount) == 1)
        m_hcurWaitRestore = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CWinApp::EndWaitCursor() {
    if (::InterlockedDecrement(&m_nWaitCursorCount) == 0)
        ::SetCursor(m_hcurWaitRestore);
}

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd)
        return pApp->m_pMainWnd;
    CModuleState* pProcess = CWinApp::GetProcessModuleState();
    return pProcess && pProcess->pApp ? pProcess->pApp->m_pMainWnd : nullptr;
}

int AfxMessageBox(const wchar_t* pszText, UINT nType, UINT) {
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner) {
        CWnd* pMain = AfxGetMainWnd();
        // Only a window of this thread may own the box.
        if (pMain && ::GetWindowThreadProcessId(pMain->m_hWnd, nullptr) == ::GetCurrentThreadId())
            hOwner = pMain->m_hWnd;
    }
    CWinApp* pApp = AfxGetApp();
    return ::MessageBoxW(hOwner, pszText, pApp ? pApp->GetAppName().GetString() : L"", nType);
}
