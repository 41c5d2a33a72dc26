#include "ToolTipToolBar.h"

#include "DialogEx.h"

LRESULT CToolTipToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        if (!m_bToolTipsBuilt) {
            BuildToolTips();
            m_bToolTipsBuilt = TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (m_toolTips.m_hWnd) {
            MSG msg{m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
            ::GetCursorPos(&msg.pt);
            m_toolTips.RelayEvent(&msg);
        }
        break;
    case WM_IDLEUPDATECMDUI:
        if (IsWindowVisible()) {
            if (CWnd* pTarget = CWnd::FromHandlePermanent(GetParent()))
                UpdateCommandStates(pTarget, static_cast<BOOL>(wParam));
        }
        return 0;
    case WM_DESTROY:
        m_toolTips.DestroyWindow();
        break;
    default:
        break;
    }
    return CToolBar::WindowProc(message, wParam, lParam);
}

void CToolTipToolBar::BuildToolTips() {
    auto* pDialog = dynamic_cast<CDialogEx*>(CWnd::FromHandlePermanent(GetParent()));
    if (!pDialog || !m_toolTips.Create(this))
        return;
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        CString tip, prompt;
        UINT nID = GetItemID(i);
        if (nID == ID_SEPARATOR || !pDialog->GetMessageString(nID, tip, prompt))
            continue;
        RECT rc;
        GetItemRect(i, &rc);
        m_toolTips.AddTool(m_hWnd, tip, rc, static_cast<UINT_PTR>(i + 1));
    }
    m_toolTips.SetDelayTime(TTDT_AUTOMATIC, 500);
    m_toolTips.Activate(TRUE);
}
