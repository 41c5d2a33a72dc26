// Toolbar and status bar of a window: common-control bars with the command-state
// updating of their buttons.
#pragma once

#include "Wnd.h"

#include <vector>

// Standard bar and pane ids.
enum : UINT {
    AFX_IDW_TOOLBAR = 0xE800,    // 59392
    AFX_IDW_STATUS_BAR = 0xE801, // 59393
    AFX_IDW_CONTROLBAR_FIRST = 0xE800,
    AFX_IDW_CONTROLBAR_LAST = 0xE8FF,
    AFX_IDS_IDLEMESSAGE = 0xE001, // 57345
    ID_SEPARATOR = 0,
};

// Sent to a window and its descendants when the user interface should show the
// current state of its commands.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
constexpr UINT WM_POPMESSAGESTRING = 0x0375;

class FW_API CToolBar : public CWnd {
public:
    // dwCtrlStyle: TBSTYLE_* and CCS_* styles of the control.
    BOOL CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID = AFX_IDW_TOOLBAR);
    // One button per id, 0 for a separator; buttons take the images in order.
    BOOL SetButtons(const UINT* pIDs, int nCount);
    // Adds nImages images of a bitmap resource of the current module.
    BOOL AddBitmap(UINT nIDBitmap, int nImages);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    int CommandToIndex(UINT nID) const {
        return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID));
    }
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, RECT* pRect) const {
        SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(pRect));
    }
    BYTE GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, BYTE style);
    // Makes the button at nIndex a separator of the given width (room for a control).
    void SetSeparator(int nIndex, int nWidth);
    BOOL SetButtonText(int nIndex, const wchar_t* pszText);
    BOOL DeleteButton(int nIndex) {
        return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, nIndex));
    }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }

    // Enables, disables and checks every button as pTarget's handlers say.
    void UpdateCommandStates(CWnd* pTarget, BOOL bDisableIfNoHandler);
};

class FW_API CStatusBar : public CWnd {
public:
    BOOL Create(CWnd* pParent, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; the first pane stretches, the others are 80 pixels wide.
    BOOL SetIndicators(const UINT* pIDs, int nCount);
    BOOL SetPaneText(int nIndex, const wchar_t* pszText);
    CString GetPaneText(int nIndex) const;

private:
    int m_nPanes = 0;
};

// Finds the client area the window's control bars (toolbar at the top, status bar
// at the bottom) leave free; with bLayout the bars are also moved into place.
FW_API void AfxRepositionBars(CWnd* pParent, BOOL bLayout, RECT* pFree);
