#include "Wnd.h"

#include "Trace.h"

#include <unordered_map>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Framework window classes belong to this DLL, whichever binary creates a window.
HINSTANCE FrameworkInstance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

// Which object each framework window belongs to and the procedure the window had
// before. Kept in the process rather than as window properties: under Wine every
// property lookup is a round trip to the server, and this is looked up for every
// message. A route without an object passes messages on: its object detached while
// a later subclass still called the framework's procedure.
struct WindowRoute {
    CWnd* pWnd;
    WNDPROC pfnSuper;
};

class CWindowRoutes {
public:
    bool Find(HWND hWnd, WindowRoute& route) {
        ::AcquireSRWLockShared(&m_lock);
        auto it = m_routes.find(hWnd);
        const bool bFound = it != m_routes.end();
        if (bFound)
            route = it->second;
        ::ReleaseSRWLockShared(&m_lock);
        return bFound;
    }
    void Set(HWND hWnd, const WindowRoute& route) {
        ::AcquireSRWLockExclusive(&m_lock);
        m_routes[hWnd] = route;
        ::ReleaseSRWLockExclusive(&m_lock);
    }
    void Remove(HWND hWnd) {
        ::AcquireSRWLockExclusive(&m_lock);
        m_routes.erase(hWnd);
        ::ReleaseSRWLockExclusive(&m_lock);
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<HWND, WindowRoute> m_routes;
};

CWindowRoutes& Routes() {
    static CWindowRoutes routes;
    return routes;
}

// The object whose window CreateEx is creating on this thread.
thread_local CWnd* t_pWndInit = nullptr;

} // namespace

// ---------------------------------------------------------------- CCmdUI

void CCmdUI::Enable(BOOL bOn) {
    if (m_hMenu) {
        ::EnableMenuItem(m_hMenu, m_nIndex,
                         MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_hMenu)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const wchar_t* pszText) {
    if (!m_hMenu)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(pszText ? pszText : L"");
    ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
}

void CCmdUI::DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHandler) {
    m_bEnableChanged = FALSE;
    if (pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this))
        return;
    if (bDisableIfNoHandler && !m_bEnableChanged)
        Enable(pTarget->OnCmdMsg(m_nID, CN_QUERY_HANDLER, nullptr));
}

// ---------------------------------------------------------------- CWnd

CWnd::~CWnd() {
    // An object going away before its window must not leave a dangling route.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd)
        UnsubclassWindow(); // a window it could not destroy
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    WindowRoute route{};
    return hWnd && Routes().Find(hWnd, route) ? route.pWnd : nullptr;
}

BOOL CWnd::Attach(HWND hWnd) {
    WindowRoute route{};
    if (Routes().Find(hWnd, route)) {
        // The framework's procedure is still in the window's chain, passing
        // messages on: this object takes that place.
        m_pfnSuper = route.pfnSuper;
    } else {
        auto pfnPrevious = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcedure)));
        if (!pfnPrevious)
            return FALSE;
        // A window of a framework class had nothing but default processing to do.
        m_pfnSuper = pfnPrevious == CreationProc ? ::DefWindowProcW : pfnPrevious;
    }
    m_hWnd = hWnd;
    m_pModuleState = AfxGetThreadModuleState();
    Routes().Set(hWnd, {this, m_pfnSuper});
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    return Attach(hWnd);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == WindowProcedure) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        Routes().Remove(hWnd);
    } else {
        // A later subclass calls the framework's procedure: it must go on passing
        // messages to the previous procedure.
        Routes().Set(hWnd, {nullptr, m_pfnSuper});
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

const wchar_t* AfxFrameworkWindowClass() {
    static const wchar_t kClass[] = L"FrameworkWindow";
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = CWnd::CreationProc;
        wc.hInstance = FrameworkInstance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return kClass;
}

// Window procedure of framework-registered classes: attaches the object being
// created at the window's first message, which then goes to it like all others.
LRESULT CALLBACK CWnd::CreationProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (t_pWndInit && !FromHandlePermanent(hWnd)) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        if (pWnd->Attach(hWnd))
            return WindowProcedure(hWnd, msg, wParam, lParam);
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const wchar_t* pszClass, const wchar_t* pszName, DWORD dwStyle,
                    int x, int y, int cx, int cy, HWND hParent, HMENU hMenuOrId) {
    if (m_hWnd)
        return FALSE;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (!pszClass) {
        t_pWndInit = this;
        pszClass = AfxFrameworkWindowClass();
        hInstance = FrameworkInstance();
    }
    HWND hWnd = ::CreateWindowExW(dwExStyle, pszClass, pszName, dwStyle, x, y, cx, cy, hParent,
                                  hMenuOrId, hInstance, nullptr);
    t_pWndInit = nullptr;
    if (hWnd && !m_hWnd)
        Attach(hWnd); // a control of a system class
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

// The procedure of every window that has an object attached.
LRESULT CALLBACK CWnd::WindowProcedure(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowRoute route{};
    if (!Routes().Find(hWnd, route))
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    if (route.pWnd)
        return route.pWnd->Dispatch(hWnd, msg, wParam, lParam);
    LRESULT result = ::CallWindowProcW(route.pfnSuper, hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        Routes().Remove(hWnd);
    return result;
}

LRESULT CWnd::Dispatch(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    AFX_MANAGE_STATE(m_pModuleState);
    CurrentMessage saved = m_current;
    m_current = {msg, wParam, lParam};
    LRESULT result = 0;
    try {
        result = WindowProc(msg, wParam, lParam);
    } catch (...) {
        // The system's code that called this procedure cannot unwind a C++
        // exception; the message counts as handled with result 0.
        AfxTrace(L"CWnd: exception in the handler of message 0x%04X of window %p\n", msg, hWnd);
    }
    // A window destroyed while it handled this message may have deleted its object
    // (PostNcDestroy); only an object still attached is touched again.
    if (FromHandlePermanent(hWnd) != this)
        return result;
    m_current = saved;
    if (msg == WM_NCDESTROY) {
        Routes().Remove(hWnd);
        m_hWnd = nullptr;
        m_pfnSuper = nullptr;
        PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::Default() {
    // A window destroyed by its own handler has nothing left to do by default.
    if (!m_hWnd)
        return 0;
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM: {
        // Owner-draw messages go to the control's own object first.
        HWND hCtl = nullptr;
        if (message == WM_DRAWITEM)
            hCtl = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        else if (message == WM_COMPAREITEM)
            hCtl = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        else if (message == WM_DELETEITEM)
            hCtl = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
        else
            hCtl = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
        CWnd* pChild = FromHandlePermanent(hCtl);
        LRESULT result = 0;
        if (pChild && pChild->OnChildNotify(message, wParam, lParam, &result))
            return result;
        break;
    }
    default:
        break;
    }
    return Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND hCtl = reinterpret_cast<HWND>(lParam);
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (hCtl) {
        CWnd* pChild = FromHandlePermanent(hCtl);
        if (pChild && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    } else {
        nCode = CN_COMMAND; // menu item or accelerator
    }
    if (nCode == CN_COMMAND) {
        // A command whose item is disabled is not run, whoever sent it.
        CCmdUI state;
        state.m_nID = nID;
        if (OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state) && !state.m_bEnabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    CWnd* pChild = FromHandlePermanent(pHdr->hwndFrom);
    return pChild && pChild->OnChildNotify(WM_NOTIFY, 0, lParam, pResult);
}

BOOL CWnd::OnCmdMsg(UINT, int, CCmdUI*) {
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

CString CWnd::GetWindowText() const {
    CString text;
    int n = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBuffer(n + 1), n + 1);
    text.ReleaseBuffer();
    return text;
}

CString CWnd::GetDlgItemText(int nID) const {
    HWND hCtl = ::GetDlgItem(m_hWnd, nID);
    CString text;
    int n = ::GetWindowTextLengthW(hCtl);
    ::GetWindowTextW(hCtl, text.GetBuffer(n + 1), n + 1);
    text.ReleaseBuffer();
    return text;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, newStyle);
    if (nFlags) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}
