// The toolbar of a CDialogEx: its tooltips come from the dialog's prompt strings and
// are built the first time the mouse comes near it.
#pragma once

#include "Framework.h"

class CDialogEx;

class CToolTipToolBar : public CToolBar {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildToolTips();

    CToolTipCtrl m_toolTips;
    BOOL m_bToolTipsBuilt = FALSE;
};
