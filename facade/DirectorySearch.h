// CDirectorySearch: the one class through which the host drives the directory
// search module. The host creates one, bound to its control window, hands it its
// services, and asks it to show the Directory Search window; the module answers
// with synchronous messages to that control window.
#pragma once

#include "ModuleApi.h"

#include "Wnd.h"

class CDirectorySearchDialog;
class CEventLog;
class CFont;
class CFrameWnd;
class CManager;
class CTranslation;

// An entry handed to the host with host messages 12 and 36. The host and the
// module share one C++ runtime, so either side may delete what the other made.
struct HostEntryRecord {
    CString name; // "last name, first name"
    CString number;
    CString email;
    int flagA = 0;
    int flagB = 1;
    int flagC = 1;
    int flagD = 0;
};

class DIRSEARCH_API CDirectorySearch : public CWnd {
public:
    // Sent (never posted) to the host control window, the code in wParam.
    static constexpr UINT kHostMessage = WM_USER + 105;
    enum HostCode : WPARAM {
        kHostDial = 11,            // lParam: the number, valid during the call
        kHostAddToDirectory = 12,  // lParam: HostEntryRecord*, freed by the module
        kHostWindowDestroyed = 15, // lParam: the window's kind code (7)
        kHostHelp = 19,            // lParam: 0
        kHostDialConfirm = 36,     // lParam: HostEntryRecord*, the host frees it
    };

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

    // For the module's windows.
    LRESULT SendHostMessage(WPARAM nCode, LPARAM lParam) const;
    void OnSearchWindowDestroyed();

private:
    CDirectorySearchDialog* m_pSearchWindow = nullptr;
    CEventLog* m_pEventLog = nullptr;
    CTranslation* m_pTranslation = nullptr;
    CManager* m_pManager = nullptr;
    HWND m_hHostControlWnd;
    CFrameWnd* m_pMainFrame = nullptr;
    BOOL m_bCallsEnabled = FALSE;
    CFont* m_pNativeFont = nullptr;
};
