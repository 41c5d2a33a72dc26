#include "DialogEx.h"

#include <cstdio>

namespace {

// Timers come only when the queue holds nothing else, which is what idle means;
// a posted message would keep the queue busy and starve every timer of the window.
constexpr UINT_PTR kIdleUpdateTimer = 0x4944;

const wchar_t kPlacementSection[] = L"Settings";

void SendToDescendants(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        ::SendMessageW(hChild, message, wParam, lParam);
        SendToDescendants(hChild, message, wParam, lParam);
    }
}

} // namespace

CString FormatPlacement(const WINDOWPLACEMENT& wp) {
    CString text;
    text.Format(L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", wp.flags, wp.showCmd, wp.ptMinPosition.x,
                wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y,
                wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                wp.rcNormalPosition.bottom);
    return text;
}

BOOL ParsePlacement(const wchar_t* pszText, WINDOWPLACEMENT& wp) {
    WINDOWPLACEMENT parsed{};
    int fields = swscanf(pszText ? pszText : L"", L"%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &parsed.flags,
                         &parsed.showCmd, &parsed.ptMinPosition.x, &parsed.ptMinPosition.y,
                         &parsed.ptMaxPosition.x, &parsed.ptMaxPosition.y,
                         &parsed.rcNormalPosition.left, &parsed.rcNormalPosition.top,
                         &parsed.rcNormalPosition.right, &parsed.rcNormalPosition.bottom);
    if (fields != 10)
        return FALSE;
    parsed.length = sizeof(parsed);
    wp = parsed;
    return TRUE;
}

CDialogEx::CDialogEx(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CDialogEx::~CDialogEx() {
    for (POSITION pos = m_anchors.GetHeadPosition(); pos;)
        delete static_cast<Anchor*>(m_anchors.GetNext(pos));
}

BOOL CDialogEx::Create() {
    TRACE(L"in CDialogEx::Create()\n");
    if (!m_nIDTemplate)
        TRACE(L"CDialogEx::Create() - !m_nID\n");
    if (!m_pParentWnd)
        TRACE(L"CDialogEx::Create() -!m_pParent\n");
    TRACE(L"CDialogEx::Create() -m_nID = %d, m_pParent = %d\n", m_nIDTemplate,
          static_cast<int>(reinterpret_cast<INT_PTR>(m_pParentWnd)));
    return CDialog::Create(m_nIDTemplate, m_pParentWnd);
}

void CDialogEx::AddAnchor(CWnd* pControl, int nHorizontalMode, int nVerticalMode) {
    m_anchors.AddTail(new Anchor{pControl, 0, 0, 0, 0, 0, 0, nHorizontalMode, nVerticalMode});
}

BOOL CDialogEx::OnInitDialog() {
    CDialog::OnInitDialog();
    ModifyStyle(WS_POPUP, 0, SWP_FRAMECHANGED);
    // The size the window was created with, before the bars enlarge it, is its
    // minimum. Its creation's WM_SIZE came before this object was attached.
    RECT client;
    GetClientRect(&client);
    RecordMinimumSize(client.right - client.left, client.bottom - client.top);

    if (m_pIndicators) {
        m_statusBar.Create(this);
        m_statusBar.SetIndicators(m_pIndicators, m_nIndicators);
        SetMessageText(AFX_IDS_IDLEMESSAGE);
        AddAnchor(&m_statusBar, 0, 1);
    }

    if (m_bToolbarHasBitmap || m_bToolbarWithoutBitmap) {
        m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_LIST,
                           WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER);
        m_toolBar.SetButtons(m_pButtons, m_nButtons);
        if (m_bToolbarHasBitmap) {
            int nImages = 0;
            for (int i = 0; i < m_nButtons; ++i)
                nImages += m_pButtons[i] != ID_SEPARATOR;
            m_toolBar.AddBitmap(m_nBitmapResourceId, nImages);
        }
        m_toolBar.ModifyStyle(0, TBSTYLE_TOOLTIPS);
    }
    SetIcon(m_hIcon, TRUE);
    ScheduleIdleUpdate(); // the first states
    return TRUE;
}

void CDialogEx::RecordAnchors() {
    RECT client, free;
    GetClientRect(&client);
    AfxRepositionBars(this, TRUE, &free);
    int dx = free.left - client.left;
    int dy = free.top - client.top;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        if (nID >= AFX_IDW_CONTROLBAR_FIRST && nID <= AFX_IDW_CONTROLBAR_LAST)
            continue;
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        ::SetWindowPos(hChild, nullptr, rc.left + dx, rc.top + dy, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    RECT window;
    GetWindowRect(&window);
    int extraWidth = (client.right - client.left) - (free.right - free.left);
    int extraHeight = (client.bottom - client.top) - (free.bottom - free.top);
    SetWindowPos(nullptr, 0, 0, window.right - window.left + extraWidth,
                 window.bottom - window.top + extraHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AfxRepositionBars(this, TRUE, nullptr);

    GetWindowRect(&window);
    for (POSITION pos = m_anchors.GetHeadPosition(); pos;) {
        auto* pAnchor = static_cast<Anchor*>(m_anchors.GetNext(pos));
        RECT rc;
        pAnchor->pControl->GetWindowRect(&rc);
        pAnchor->nTop = rc.top - window.top;
        pAnchor->nBottom = window.bottom - rc.bottom;
        pAnchor->nLeft = rc.left - window.left;
        pAnchor->nRight = window.right - rc.right;
        pAnchor->nWidth = rc.right - rc.left;
        pAnchor->nHeight = rc.bottom - rc.top;
    }
}

void CDialogEx::RestorePlacement() {
    TRACE(L"in CDialogEx::RestorePlacement()\n");
    if (m_strPlacementEntry.IsEmpty())
        return;
    const bool bFixedSize = (GetStyle() & DS_MODALFRAME) != 0;
    WINDOWPLACEMENT stored{};
    CWinApp* pApp = AfxGetApp();
    BOOL bStored =
        pApp &&
        ParsePlacement(pApp->GetProfileString(kPlacementSection, m_strPlacementEntry), stored);
    WINDOWPLACEMENT wp{};
    if (bStored && bFixedSize) {
        // A fixed-size dialog takes only the stored position.
        GetWindowPlacement(&wp);
        int width = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
        int height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
        wp.rcNormalPosition.left = stored.rcNormalPosition.left;
        wp.rcNormalPosition.top = stored.rcNormalPosition.top;
        wp.rcNormalPosition.right = stored.rcNormalPosition.left + width;
        wp.rcNormalPosition.bottom = stored.rcNormalPosition.top + height;
    } else if (bStored) {
        wp = stored;
    } else if (bFixedSize) {
        return;
    } else {
        // First run: just above the host's main window, as wide as it is.
        CWnd* pMain = AfxGetMainWnd();
        WINDOWPLACEMENT mainWp{};
        if (!pMain || !pMain->m_hWnd || !pMain->GetWindowPlacement(&mainWp))
            return;
        GetWindowPlacement(&wp);
        int height = mainWp.rcNormalPosition.bottom - mainWp.rcNormalPosition.top + 20;
        int top = mainWp.rcNormalPosition.top - height - 5;
        wp.rcNormalPosition.left = mainWp.rcNormalPosition.left;
        wp.rcNormalPosition.right = mainWp.rcNormalPosition.right;
        wp.rcNormalPosition.top = top < 0 ? 5 : top;
        wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + height;
    }
    wp.length = sizeof(wp);
    wp.showCmd = SW_HIDE; // the creator shows the window
    SetWindowPlacement(&wp);
}

void CDialogEx::OnClose() {
    TRACE(L"CDialogEx::OnClose\n");
    WINDOWPLACEMENT wp{};
    if (m_hWnd && GetWindowPlacement(&wp)) {
        TRACE(L"CDialogEx::OnClose() - in if-statement\n");
        wp.flags = IsZoomed() ? WPF_RESTORETOMAXIMIZED : 0;
        if (!m_strPlacementEntry.IsEmpty()) {
            TRACE(L"CDialogEx::OnClose() - calling WriteWindowPlacement()\n");
            if (CWinApp* pApp = AfxGetApp())
                pApp->WriteProfileString(kPlacementSection, m_strPlacementEntry,
                                         FormatPlacement(wp));
            TRACE(L"back from WriteWindowPlacement\n");
        }
    }
    TRACE(L"calling DestroyWindow()\n");
    DestroyWindow();
    TRACE(L"back from DestroyWindow()\n");
}

void CDialogEx::RecordMinimumSize(int cx, int cy) {
    if (m_nMinClientWidth == 0)
        m_nMinClientWidth = cx;
    if (m_nMinClientHeight == 0)
        m_nMinClientHeight = cy;
}

void CDialogEx::OnGetMinMaxInfo(MINMAXINFO* pInfo) const {
    if (!m_nMinClientWidth && !m_nMinClientHeight)
        return;
    // The minimum is a client size; the tracking size counts the frame, caption
    // and menu bar too.
    RECT rc{0, 0, m_nMinClientWidth, m_nMinClientHeight};
    ::AdjustWindowRectEx(&rc, GetStyle(), GetMenu() != nullptr, GetExStyle());
    pInfo->ptMinTrackSize.x = rc.right - rc.left;
    pInfo->ptMinTrackSize.y = rc.bottom - rc.top;
}

void CDialogEx::OnSize(UINT nType, int cx, int cy) {
    RecordMinimumSize(cx, cy);
    AfxRepositionBars(this, TRUE, nullptr);
    if (nType != SIZE_MINIMIZED) {
        RECT window;
        GetWindowRect(&window);
        for (POSITION pos = m_anchors.GetHeadPosition(); pos;) {
            auto* a = static_cast<Anchor*>(m_anchors.GetNext(pos));
            if (a->nTop == 0 || !a->pControl->m_hWnd)
                continue;
            RECT rc{window.left + a->nLeft, window.top + a->nTop, window.right - a->nRight,
                    window.bottom - a->nBottom};
            if (a->nVerticalMode == 1)
                rc.top = rc.bottom - a->nHeight;
            if (a->nHorizontalMode == 1) {
                rc.right = rc.left + a->nWidth;
            } else if (a->nHorizontalMode == 2) {
                rc.left = window.left + ((window.right - window.left) - a->nWidth) / 2;
                rc.right = rc.left + a->nWidth;
            }
            ScreenToClient(&rc);
            a->pControl->MoveWindow(rc, TRUE);
        }
    }
    if (m_toolBar.m_hWnd) {
        RECT bar;
        m_toolBar.GetWindowRect(&bar);
        if (bar.right > bar.left) {
            ScreenToClient(&bar);
            m_toolBar.SetWindowPos(nullptr, bar.left, bar.top, cx, bar.bottom - bar.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CDialogEx::OnInitMenuPopup(HMENU hMenu, BOOL bSystemMenu) {
    if (bSystemMenu)
        return;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        CCmdUI state;
        state.m_hMenu = hMenu;
        state.m_nIndex = static_cast<UINT>(i);
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu) {
            // A submenu's item stands for its first command.
            state.m_nID = ::GetMenuItemID(hSubMenu, 0);
            state.m_hSubMenu = hSubMenu;
            if (state.m_nID != 0 && state.m_nID != static_cast<UINT>(-1))
                state.DoUpdate(this, FALSE);
            continue;
        }
        state.m_nID = ::GetMenuItemID(hMenu, i);
        if (state.m_nID == 0)
            continue; // separator
        state.DoUpdate(this, state.m_nID < 0xF000);
    }
}

void CDialogEx::OnMenuSelect(UINT nItem, UINT nFlags, HMENU) {
    if (!m_statusBar.m_hWnd)
        return;
    if (nFlags == 0xFFFF) {
        m_nTrackingPromptId = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, m_nTrackingPromptId);
        return;
    }
    if (!(nFlags & (MF_POPUP | MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK))) {
        if (nItem >= 0xF000 && nItem < 0xF1F0)
            m_nTrackingPromptId = 0xEF00 + (nItem - 0xF000) / 16;
        else
            m_nTrackingPromptId = nItem;
    } else {
        m_nTrackingPromptId = 0;
    }
}

LRESULT CDialogEx::OnSetMessageString(UINT nID) {
    if (!m_pIndicators)
        return 0;
    CString tip, prompt;
    if (nID != 0 && GetMessageString(nID, tip, prompt))
        m_statusBar.SetPaneText(0, prompt);
    UINT nPrevious = m_nLastPromptId;
    m_nTrackingPromptId = nID;
    m_nLastPromptId = nID;
    return nPrevious;
}

void CDialogEx::SetMessageText(UINT nID) {
    OnSetMessageString(nID);
}

void CDialogEx::ToggleBar(CWnd& bar) {
    if (!bar.m_hWnd)
        return;
    bar.ShowWindow(bar.IsWindowVisible() ? SW_HIDE : SW_SHOWNOACTIVATE);
    AfxRepositionBars(this, TRUE, nullptr);
}

BOOL CDialogEx::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDOK)
        return TRUE; // Enter does not close the window
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CDialogEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if ((pHdr->code == TTN_NEEDTEXTA || pHdr->code == TTN_NEEDTEXTW) && pHdr->idFrom != 0) {
        SendMessage(WM_SETMESSAGESTRING, pHdr->idFrom);
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CDialogEx::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CDialogEx> map[] = {
        {AFX_IDW_STATUS_BAR, AFX_IDW_STATUS_BAR, &CDialogEx::OnToggleStatusBar,
         &CDialogEx::OnUpdateStatusBar},
        {AFX_IDW_TOOLBAR, AFX_IDW_TOOLBAR, &CDialogEx::OnToggleToolBar,
         &CDialogEx::OnUpdateToolBar},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI) || CDialog::OnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CDialogEx::PreTranslateMessage(MSG* pMsg) {
    if (IsStateChangingInput(pMsg->message))
        ScheduleIdleUpdate();
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CDialogEx::IsStateChangingInput(UINT message) {
    // Keys and mouse buttons; a mouse that only moves changes no command's state.
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message > WM_MOUSEMOVE && message <= WM_MOUSELAST) ||
           (message > WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

BOOL CDialogEx::IsStateChangingMessage(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ACTIVATE:
        return TRUE;
    case WM_NOTIFY: {
        const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        if (pHdr->code == NM_SETFOCUS || pHdr->code == NM_KILLFOCUS ||
            pHdr->code == LVN_DELETEALLITEMS || pHdr->code == LVN_DELETEITEM)
            return TRUE;
        if (pHdr->code != LVN_ITEMCHANGED)
            return FALSE;
        // Selection and focus, not the text or data of rows being filled.
        const auto* pItem = reinterpret_cast<const NMLISTVIEW*>(lParam);
        return (pItem->uChanged & LVIF_STATE) &&
               ((pItem->uNewState ^ pItem->uOldState) & (LVIS_SELECTED | LVIS_FOCUSED));
    }
    default:
        return FALSE;
    }
}

void CDialogEx::ScheduleIdleUpdate() {
    if (!m_bIdleUpdatePending && !m_bInIdleUpdate && m_hWnd) {
        m_bIdleUpdatePending = TRUE;
        SetTimer(kIdleUpdateTimer, USER_TIMER_MINIMUM);
    }
}

LRESULT CDialogEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kIdleUpdateTimer) {
        KillTimer(kIdleUpdateTimer);
        m_bIdleUpdatePending = FALSE;
        m_bInIdleUpdate = TRUE;
        SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_bInIdleUpdate = FALSE;
        return 0;
    }
    LRESULT result = 0;
    bool handled = true;
    switch (message) {
    case WM_CLOSE:
        OnClose();
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_ERASEBKGND:
        if (IsIconic() && m_hIcon)
            result = TRUE;
        else
            result = Default();
        break;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        break;
    case WM_ENTERIDLE:
        if (wParam == MSGF_MENU && m_nTrackingPromptId != m_nLastPromptId)
            SendMessage(WM_SETMESSAGESTRING, m_nTrackingPromptId);
        result = Default();
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam));
        break;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_SETMESSAGESTRING:
        result = OnSetMessageString(static_cast<UINT>(wParam));
        break;
    case WM_POPMESSAGESTRING:
        result = SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
        break;
    case WM_IDLEUPDATECMDUI:
        SendToDescendants(m_hWnd, WM_IDLEUPDATECMDUI, wParam, lParam);
        break;
    default:
        handled = false;
        break;
    }
    if (!handled)
        result = CDialog::WindowProc(message, wParam, lParam);
    if (IsStateChangingMessage(message, lParam))
        ScheduleIdleUpdate();
    return result;
}
