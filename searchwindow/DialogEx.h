// A modeless dialog with the furniture of a frame window: a toolbar with tooltips, a
// status bar with command prompts, command-state updating, anchored controls, a
// minimum size and a remembered position.
#pragma once

#include "Framework.h"
#include "ToolTipToolBar.h"

class CDialogEx : public CDialog {
public:
    CDialogEx(UINT nIDTemplate, CWnd* pParent);
    ~CDialogEx() override;

    BOOL Create();
    // Called by subclasses at the end of their OnInitDialog, anchors first.
    void RecordAnchors();
    void RestorePlacement();
    void SetMessageText(UINT nID);

    // The tooltip and the status bar prompt of a command; FALSE when it has none.
    virtual BOOL GetMessageString(UINT nID, CString& tip, CString& prompt) = 0;

    // Keeps a control placed relative to the window's edges. Horizontal mode: 0
    // stretch, 1 keep the width and follow the left edge, 2 keep the width centred.
    // Vertical mode: 0 stretch, 1 keep the height and follow the bottom edge.
    void AddAnchor(CWnd* pControl, int nHorizontalMode, int nVerticalMode);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    // Every message of the window and its controls passes here through the host's
    // filter, so the command states are refreshed after user input anywhere in it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // What may change a command's state and so asks for a refresh: input, commands,
    // focus, and selection changes in lists. Results arriving, timers and paints
    // do not.
    static BOOL IsStateChangingInput(UINT message);
    static BOOL IsStateChangingMessage(UINT message, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClose();

    struct Anchor {
        CWnd* pControl;
        int nTop, nBottom, nLeft, nRight;
        int nWidth, nHeight;
        int nHorizontalMode;
        int nVerticalMode;
    };

    int m_nMinClientWidth = 0;
    int m_nMinClientHeight = 0;
    CPtrList m_anchors{10};
    int m_nWindowKind = 0;
    CString m_strPlacementEntry;
    CStatusBar m_statusBar;
    CToolTipToolBar m_toolBar;
    HICON m_hIcon = nullptr;
    UINT m_nTrackingPromptId = 0;
    UINT m_nLastPromptId = 0;
    const UINT* m_pIndicators = nullptr;
    int m_nIndicators = 0;
    BOOL m_bToolbarHasBitmap = FALSE;
    BOOL m_bToolbarWithoutBitmap = FALSE;
    UINT m_nBitmapResourceId = 0;
    const UINT* m_pButtons = nullptr;
    int m_nButtons = 0;

private:
    void RecordMinimumSize(int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) const;
    void OnSize(UINT nType, int cx, int cy);
    void OnInitMenuPopup(HMENU hMenu, BOOL bSystemMenu);
    void OnMenuSelect(UINT nItem, UINT nFlags, HMENU hMenu);
    LRESULT OnSetMessageString(UINT nID);
    void ToggleBar(CWnd& bar);
    void OnToggleStatusBar(UINT) { ToggleBar(m_statusBar); }
    void OnToggleToolBar(UINT) { ToggleBar(m_toolBar); }
    void OnUpdateStatusBar(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(m_statusBar.m_hWnd && m_statusBar.IsWindowVisible());
    }
    void OnUpdateToolBar(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(m_toolBar.m_hWnd && m_toolBar.IsWindowVisible());
    }
    void ScheduleIdleUpdate();

    // The framework has no idle loop of its own inside a host: after handling a
    // message the dialog sets itself a short timer and refreshes its command
    // states when it fires, that is, once the queue is empty.
    BOOL m_bIdleUpdatePending = FALSE;
    BOOL m_bInIdleUpdate = FALSE;
};

// Placement records as stored in the profile: "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
CString FormatPlacement(const WINDOWPLACEMENT& placement);
// FALSE unless all ten numbers are there.
BOOL ParsePlacement(const wchar_t* pszText, WINDOWPLACEMENT& placement);
