#include "HostWindow.h"

#include <cstdarg>

namespace {
const int kLogId = 100;
}

BOOL CHostWindow::Create() {
    if (!CreateEx(0, nullptr, L"Tovana Softphone (demo host)",
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 80, 600, 640, 300, nullptr, nullptr))
        return FALSE;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMessageFont);
    m_log.CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0,
                   0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLogId)));
    m_log.SetFont(m_font);
    RECT rc;
    GetClientRect(&rc);
    OnSize(rc.right, rc.bottom);
    return TRUE;
}

void CHostWindow::Log(const wchar_t* pszFormat, ...) {
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString stamped;
    stamped.Format(L"%02u:%02u:%02u  %s", now.wHour, now.wMinute, now.wSecond, line.GetString());
    int index = m_log.AddString(stamped);
    m_log.SendMessage(LB_SETTOPINDEX, index);
    ::OutputDebugStringW(stamped + L"\n");
}

void CHostWindow::OnSize(int cx, int cy) {
    if (m_log.m_hWnd)
        ::MoveWindow(m_log.m_hWnd, 0, 0, cx, cy, TRUE);
}

LRESULT CHostWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        m_log.DestroyWindow();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
