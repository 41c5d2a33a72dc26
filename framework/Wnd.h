// CWnd: a C++ object attached to a window. One virtual WindowProc per class; the
// base splits commands, notifications and reflected notifications into hooks.
// Every message reaches its object under the module state that was current when
// the object was attached, whichever binary's message loop dispatched it, and no
// exception from a handler unwinds into the system's code.
#pragma once

#include "Collections.h"
#include "WinApp.h"

#include <commctrl.h>

class CWnd;
class CMenu;

// Codes passed to OnCmdMsg beside a control's own notification codes.
enum : int {
    CN_COMMAND = 0,            // a menu item, accelerator or button click
    CN_UPDATE_COMMAND_UI = -1, // asks for the state of a command (pCmdUI set)
    CN_QUERY_HANDLER = -2,     // asks only whether a command handler exists
};

// The state of one command's user-interface item (menu item or toolbar button).
class FW_API CCmdUI {
public:
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const wchar_t* pszText);

    // Asks pTarget for the item's state. With bDisableIfNoHandler, an item whose
    // command nobody handles is disabled.
    void DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;    // the menu of a menu item
    HMENU m_hSubMenu = nullptr; // the popup when the item opens one
    BOOL m_bEnabled = TRUE;
    BOOL m_bEnableChanged = FALSE;
};

// One row of a command table; see DispatchCommand.
template <class T> struct CommandMapEntry {
    UINT nFirstID;
    UINT nLastID;
    void (T::*pfnCommand)(UINT nID);
    void (T::*pfnUpdate)(CCmdUI* pCmdUI);
};

// Finds nID in a class's command table and calls its handler for nCode.
template <class T, size_t N>
BOOL DispatchCommand(T* self, const CommandMapEntry<T> (&map)[N], UINT nID, int nCode,
                     CCmdUI* pCmdUI) {
    for (const auto& e : map) {
        if (nID < e.nFirstID || nID > e.nLastID)
            continue;
        if (nCode == CN_COMMAND && e.pfnCommand) {
            (self->*e.pfnCommand)(nID);
            return TRUE;
        }
        if (nCode == CN_QUERY_HANDLER && e.pfnCommand)
            return TRUE;
        if (nCode == CN_UPDATE_COMMAND_UI && e.pfnUpdate && pCmdUI) {
            (self->*e.pfnUpdate)(pCmdUI);
            return TRUE;
        }
    }
    return FALSE;
}

class FW_API CWnd : public CObject {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to hWnd by this framework, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates a window of a framework-registered class (or of pszClass) attached to
    // this object from its first message on.
    BOOL CreateEx(DWORD dwExStyle, const wchar_t* pszClass, const wchar_t* pszName, DWORD dwStyle,
                  int x, int y, int cx, int cy, HWND hParent, HMENU hMenuOrId);
    // Attaches this object to an existing window (for example a dialog control) and
    // routes its messages through WindowProc.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // Message handling. WindowProc is the one per-class entry point; the base
    // implementation hands commands and notifications to the hooks below and the
    // rest to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);
    // A notification or owner-draw message of this control, offered to it before
    // its parent; TRUE when handled (pResult receives the result).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called after the window is gone; self-deleting windows delete themselves here.
    virtual void PostNcDestroy() {}
    // Default processing of the message being handled.
    LRESULT Default();

    // Thin wrappers.
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const {
        return ::SendMessageW(m_hWnd, msg, w, l);
    }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const {
        return ::PostMessageW(m_hWnd, msg, w, l);
    }
    void SetWindowText(const wchar_t* psz) { ::SetWindowTextW(m_hWnd, psz); }
    CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int nID, const wchar_t* psz) { ::SetDlgItemTextW(m_hWnd, nID, psz); }
    CString GetDlgItemText(int nID) const;
    LRESULT SendDlgItemMessage(int nID, UINT msg, WPARAM w = 0, LPARAM l = 0) const {
        return ::SendDlgItemMessageW(m_hWnd, nID, msg, w, l);
    }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ScreenToClient(RECT* pRect) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(pRect), 2);
    }
    void ClientToScreen(RECT* pRect) const {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(pRect), 2);
    }
    void ScreenToClient(POINT* pPoint) const { ::ScreenToClient(m_hWnd, pPoint); }
    void ClientToScreen(POINT* pPoint) const { ::ClientToScreen(m_hWnd, pPoint); }
    void MoveWindow(const RECT& rc, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
    }
    BOOL SetWindowPos(HWND hAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, hAfter, x, y, cx, cy, flags);
    }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const {
        return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    UINT_PTR SetTimer(UINT_PTR nID, UINT nElapse, TIMERPROC pfn = nullptr) {
        return ::SetTimer(m_hWnd, nID, nElapse, pfn);
    }
    BOOL KillTimer(UINT_PTR nID) { return ::KillTimer(m_hWnd, nID); }
    int MessageBox(const wchar_t* pszText, const wchar_t* pszCaption = nullptr,
                   UINT nType = MB_OK) {
        return ::MessageBoxW(m_hWnd, pszText, pszCaption, nType);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* p) const {
        p->length = sizeof(*p);
        return ::GetWindowPlacement(m_hWnd, p);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* p) { return ::SetWindowPlacement(m_hWnd, p); }
    HICON SetIcon(HICON hIcon, BOOL bBig) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, bBig ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL SetMenu(HMENU hMenu) { return ::SetMenu(m_hWnd, hMenu); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    BOOL IsChild(HWND hWnd) const { return ::IsChild(m_hWnd, hWnd); }

protected:
    // Attaches this object to hWnd: the window's procedure becomes the framework's,
    // which hands every message to this object. FALSE when the window's procedure
    // cannot be replaced.
    BOOL Attach(HWND hWnd);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    // Runs WindowProc for one message of this object's window.
    LRESULT Dispatch(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    CurrentMessage m_current{};
    // The window's procedure before this object attached to it (Default calls it).
    WNDPROC m_pfnSuper = nullptr;
    // The module state switched to when attaching (null: the program's own).
    CModuleState* m_pModuleState = nullptr;
    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationProc(HWND, UINT, WPARAM, LPARAM);
    friend FW_API const wchar_t* AfxFrameworkWindowClass();
};

// The class name of plain framework windows, registered at first use.
FW_API const wchar_t* AfxFrameworkWindowClass();
