// What both halves of the tour read from the module's windows, and how long a step
// may wait for them.
#pragma once

#include "String.h"

#include <windows.h>
#include <commctrl.h>

namespace tour {

constexpr DWORD kStepTimeoutMs = 30000;

inline CString WindowText(HWND hWnd) {
    wchar_t szText[512] = {};
    ::GetWindowTextW(hWnd, szText, 512);
    return szText;
}

inline CString ItemText(HWND hList, int nRow, int nColumn) {
    wchar_t szText[512] = {};
    ListView_GetItemText(hList, nRow, nColumn, szText, 512);
    return szText;
}

} // namespace tour
