// Application and thread objects: the profile functions under the registry key,
// the message pre-translation walk, threads and the wait cursor.
#pragma once

#include "ModuleState.h"
#include "String.h"

class CWnd;

class FW_API CWinThread {
public:
    CWinThread() = default;
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Gives the windows from pMsg's window up to its top-level window a chance to
    // handle the message before it is translated and dispatched; TRUE when one did.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // Deleted (and its handle closed) when its thread ends.
    BOOL m_bAutoDelete = TRUE;
};

class FW_API CWinApp : public CWinThread {
public:
    // The default argument is evaluated in the binary that constructs the
    // application object, so the object joins that binary's state.
    explicit CWinApp(const wchar_t* pszAppName = nullptr,
                     CModuleState* pState = AfxGetStaticModuleState());
    ~CWinApp() override;

    // Called when the binary starts; the application name defaults to string 57344.
    BOOL InitApplication(HINSTANCE hInstance);
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // Settings go to HKCU\Software\<key>\<application name>\<section>.
    void SetRegistryKey(const wchar_t* pszKey);
    CString GetProfileString(const wchar_t* pszSection, const wchar_t* pszEntry,
                             const wchar_t* pszDefault = nullptr) const;
    UINT GetProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nDefault) const;
    // A null value deletes the entry; a null entry deletes the whole section.
    BOOL WriteProfileString(const wchar_t* pszSection, const wchar_t* pszEntry,
                            const wchar_t* pszValue);
    BOOL WriteProfileInt(const wchar_t* pszSection, const wchar_t* pszEntry, int nValue);
    CString GetSectionPath(const wchar_t* pszSection) const;

    void BeginWaitCursor();
    void EndWaitCursor();

    const CString& GetAppName() const { return m_strAppName; }
    const CString& GetRegistryKey() const { return m_strRegistryKey; }

    // The program's own application object state, if the program has one.
    static CModuleState* GetProcessModuleState();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    CModuleState* m_pState;
    CString m_strAppName;
    CString m_strRegistryKey;
    LONG m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitRestore = nullptr;
};

FW_API CWnd* AfxGetMainWnd();

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

// Starts pfnThreadProc(pParam) on a new thread under the caller's module state.
// The returned object deletes itself when the thread ends.
FW_API CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// Message box owned by the active window of the thread (or the main window), with
// the application name as caption.
FW_API int AfxMessageBox(const wchar_t* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
