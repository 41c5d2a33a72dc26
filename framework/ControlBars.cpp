#include "ControlBars.h"

namespace {

// Command state of one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
        BOOL bWas = static_cast<BOOL>(m_pBar->SendMessage(TB_ISBUTTONENABLED, m_nID));
        if (!bWas != !bOn)
            m_pBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
    }
    void SetCheck(int nCheck) override {
        BOOL bWas = static_cast<BOOL>(m_pBar->SendMessage(TB_ISBUTTONCHECKED, m_nID));
        if (!bWas != !nCheck)
            m_pBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck ? TRUE : FALSE, 0));
    }
    void SetText(const wchar_t*) override {}

private:
    CToolBar* m_pBar;
};

} // namespace

// ---------------------------------------------------------------- CToolBar

BOOL CToolBar::CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, dwStyle | dwCtrlStyle, 0, 0, 0, 0,
                        pParent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* pIDs, int nCount) {
    int image = 0;
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(pIDs[i]);
        if (pIDs[i] == ID_SEPARATOR) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = -1;
        }
        if (!SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    return TRUE;
}

BOOL CToolBar::AddBitmap(UINT nIDBitmap, int nImages) {
    TBADDBITMAP bitmap{AfxGetResourceHandle(), nIDBitmap};
    return SendMessage(TB_ADDBITMAP, nImages, reinterpret_cast<LPARAM>(&bitmap)) != -1;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

BYTE CToolBar::GetButtonStyle(int nIndex) const {
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button));
    return button.fsStyle;
}

void CToolBar::SetButtonStyle(int nIndex, BYTE style) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_BYINDEX;
    info.fsStyle = style;
    SendMessage(TB_SETBUTTONINFOW, nIndex, reinterpret_cast<LPARAM>(&info));
}

void CToolBar::SetSeparator(int nIndex, int nWidth) {
    // The control keeps a separator's width in its image index.
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button));
    TBBUTTON separator{};
    separator.iBitmap = nWidth;
    separator.idCommand = button.idCommand;
    separator.fsStyle = BTNS_SEP;
    SendMessage(TB_DELETEBUTTON, nIndex);
    SendMessage(TB_INSERTBUTTONW, nIndex, reinterpret_cast<LPARAM>(&separator));
}

BOOL CToolBar::SetButtonText(int nIndex, const wchar_t* pszText) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<wchar_t*>(pszText ? pszText : L"");
    return static_cast<BOOL>(
        SendMessage(TB_SETBUTTONINFOW, nIndex, reinterpret_cast<LPARAM>(&info)));
}

void CToolBar::UpdateCommandStates(CWnd* pTarget, BOOL bDisableIfNoHandler) {
    CToolCmdUI state(this);
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

// ---------------------------------------------------------------- CStatusBar

BOOL CStatusBar::Create(CWnd* pParent, UINT nID) {
    return CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0,
                          0, pParent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CStatusBar::SetIndicators(const UINT* pIDs, int nCount) {
    if (nCount <= 0)
        return FALSE;
    m_nPanes = nCount;
    // Fixed panes of 80 pixels at the right; the first takes the rest.
    std::vector<int> edges(nCount);
    for (int i = 0; i < nCount; ++i)
        edges[i] = i == nCount - 1 ? -1 : 0;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    for (int i = nCount - 2, right = rc.right - 80; i >= 0; --i, right -= 80)
        edges[i] = right;
    SendMessage(SB_SETPARTS, nCount, reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < nCount; ++i) {
        CString text;
        if (pIDs[i] != ID_SEPARATOR)
            text.LoadString(pIDs[i]);
        SetPaneText(i, text);
    }
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, const wchar_t* pszText) {
    return static_cast<BOOL>(
        SendMessage(SB_SETTEXTW, nIndex, reinterpret_cast<LPARAM>(pszText ? pszText : L"")));
}

CString CStatusBar::GetPaneText(int nIndex) const {
    int n = LOWORD(SendMessage(SB_GETTEXTLENGTHW, nIndex));
    CString text;
    SendMessage(SB_GETTEXTW, nIndex, reinterpret_cast<LPARAM>(text.GetBuffer(n + 1)));
    text.ReleaseBuffer();
    return text;
}

// ---------------------------------------------------------------- layout

void AfxRepositionBars(CWnd* pParent, BOOL bLayout, RECT* pFree) {
    RECT client;
    ::GetClientRect(pParent->m_hWnd, &client);
    for (HWND hChild = ::GetWindow(pParent->m_hWnd, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        // The bar's own style: its parent may not be shown yet.
        if (nID < AFX_IDW_CONTROLBAR_FIRST || nID > AFX_IDW_CONTROLBAR_LAST ||
            !(::GetWindowLongPtrW(hChild, GWL_STYLE) & WS_VISIBLE))
            continue;
        // Both bar controls size and place themselves on WM_SIZE / TB_AUTOSIZE.
        if (bLayout) {
            if (nID == AFX_IDW_TOOLBAR)
                ::SendMessageW(hChild, TB_AUTOSIZE, 0, 0);
            else
                ::SendMessageW(hChild, WM_SIZE, 0, 0);
        }
        RECT bar;
        ::GetWindowRect(hChild, &bar);
        int height = bar.bottom - bar.top;
        if (nID == AFX_IDW_STATUS_BAR)
            client.bottom -= height;
        else
            client.top += height;
    }
    if (pFree)
        *pFree = client;
}
