// A host written only against the installed headers and import libraries: it lends
// the component its services, opens the Directory Search window, closes it, and
// expects host message 15 with the window's kind code. Exit code 0 when all is well.
#include "DirectorySearch.h"
#include "EventLog.h"
#include "FilterDllMsg.h"
#include "Manager.h"
#include "Options.h"
#include "Translation.h"

#include <cstdio>

namespace {

int g_nClosedKind = 0;

LRESULT CALLBACK ControlWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HostMessage::kId && wParam == HostMessage::kWindowDestroyed)
        g_nClosedKind = static_cast<int>(lParam);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// The host's loop, every message through the module's filter first, until done() (at
// most five seconds).
template <class Done> void PumpUntil(Done done) {
    for (const ULONGLONG nEnd = ::GetTickCount64() + 5000; !done() && ::GetTickCount64() < nEnd;
         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!FilterDllMsg(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
}

int Fail(const char* pszWhat) {
    std::printf("minimal host: %s\n", pszWhat);
    return 1;
}

} // namespace

int main() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ControlWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MinimalHostControl";
    ::RegisterClassW(&windowClass);
    HWND hControl = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
    if (!hControl)
        return Fail("no control window");

    CEventLog eventLog;
    CTranslation translation(COptions::GetOptions());
    CManager manager;
    auto* pDirectorySearch = new CDirectorySearch(hControl);
    pDirectorySearch->SetManager(&manager);
    pDirectorySearch->SetEventLog(&eventLog);
    pDirectorySearch->SetTranslation(&translation);
    pDirectorySearch->EnableCalls(TRUE);
    CWnd* pWindow = pDirectorySearch->DisplaySearchDialog();
    if (!pWindow || !::IsWindowVisible(pWindow->m_hWnd))
        return Fail("the Directory Search window did not open");
    PumpUntil(
        [] { return HIWORD(::GetQueueStatus(QS_ALLPOSTMESSAGE | QS_PAINT | QS_INPUT)) == 0; });
    pDirectorySearch->CloseDialogs();
    PumpUntil([] { return g_nClosedKind != 0; });
    delete pDirectorySearch;
    ::DestroyWindow(hControl);
    if (g_nClosedKind != 7)
        return Fail("no host message 15 with kind 7");
    std::printf("minimal host: opened and closed the Directory Search window, got message 15\n");
    return 0;
}
