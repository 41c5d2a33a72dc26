// CDirectorySearch: the one class through which the host drives the directory
// search module. The host creates one, bound to its control window, hands it its
// services, and asks it to show the Directory Search window; the module answers
// with synchronous messages to that control window (HostMessages.h).
#pragma once

#include "DirectorySearchApi.h"
#include "HostMessages.h"

#include "Wnd.h"

class CDirectorySearchDialog;
class CEventLog;
class CFont;
class CFrameWnd;
class CManager;
class CTranslation;

class DIRSEARCH_API CDirectorySearch : public CWnd {
public:
    explicit CDirectorySearch(HWND hHostControlWnd);
    ~CDirectorySearch() override;

    static void* operator new(size_t nSize);
    static void operator delete(void* p);

    void SetManager(CManager* pManager);
    void SetNativeFont(CFont* pFont);
    void SetEventLog(CEventLog* pEventLog);
    void SetTranslation(CTranslation* pTranslation);
    void SetMainFrame(CFrameWnd* pMainFrame);
    void EnableCalls(BOOL bEnable);
    // Shows the Directory Search window, creating it when needed; null when it
    // cannot be created.
    CWnd* DisplaySearchDialog();
    // Closes the window, if one is open, and returns after it is gone.
    void CloseDialogs();

    // Which LDAP protocol version server:port supports: 3 when its root DSE lists
    // version 3, else 2. Never fails; blocks until the server answers or the LDAP
    // library gives up.
    static int ldapCheckVersion(CString server, int port);

private:
    friend class CSearchWindowLink; // the window's way back to the host
    LRESULT SendHostMessage(WPARAM nCode, LPARAM lParam) const;
    void OnSearchWindowDestroyed(int nWindowKind);

    CDirectorySearchDialog* m_pSearchWindow = nullptr;
    CEventLog* m_pEventLog = nullptr;
    CTranslation* m_pTranslation = nullptr;
    CManager* m_pManager = nullptr;
    HWND m_hHostControlWnd;
    CFrameWnd* m_pMainFrame = nullptr;
    BOOL m_bCallsEnabled = FALSE;
    CFont* m_pNativeFont = nullptr;
};
