// The telephone-application stand-in: loads the directory search module, runs the
// user-interface thread's message loop through the module's filter, and unloads
// the module when the user closes the main window.
#include "HostWindow.h"

namespace {

using FilterDllMsgFunc = BOOL (*)(MSG*);

class CDemoHostApp : public CWinApp {
public:
    CDemoHostApp() : CWinApp(L"Tovana Softphone") {}
};

CDemoHostApp theApp;

int RunMessageLoop(FilterDllMsgFunc filter) {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (filter && filter(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    theApp.InitApplication(hInstance);

    auto* pMainWnd = new CHostWindow;
    if (!pMainWnd->Create())
        return 1;
    theApp.m_pMainWnd = pMainWnd;
    pMainWnd->ShowWindow(nCmdShow);

    HMODULE hModule = ::LoadLibraryW(L"dirsearch.dll");
    FilterDllMsgFunc filter = nullptr;
    if (hModule) {
        filter = reinterpret_cast<FilterDllMsgFunc>(
            reinterpret_cast<void*>(::GetProcAddress(hModule, "FilterDllMsg")));
        pMainWnd->Log(L"Loaded the directory search module (dirsearch.dll).");
    } else {
        pMainWnd->Log(L"Could not load dirsearch.dll (error %lu).", ::GetLastError());
    }

    int result = RunMessageLoop(filter);
    theApp.m_pMainWnd = nullptr;
    if (hModule)
        ::FreeLibrary(hModule);
    return result;
}
