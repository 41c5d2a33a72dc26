// The telephone-application stand-in: it loads the directory search module, gives a
// user without servers the bundled sample directories, runs the user-interface
// thread's message loop through the module's filter, and opens the Directory Search
// window. Started as "demohost.exe /tour FOLDER" it runs the scripted tour instead,
// writes its screenshots to FOLDER and exits with the number of failed checks.
#include "DemoTour.h"
#include "HostWindow.h"
#include "MessagePump.h"
#include "SampleAccounts.h"

#include "Options.h"

#include <shellapi.h>

#include <cstdlib>

namespace {

class CDemoHostApp : public CWinApp {
public:
    CDemoHostApp() : CWinApp(L"Tovana Softphone") {}
};

CDemoHostApp theApp;

// scripts/demo passes the ports of the sample directory's server; the tour's test a
// lower limit for the searches of new accounts, so that its long searches end sooner.
void ProvideSampleDirectory(CHostWindow& window) {
    const char* pszTlsPort = std::getenv("QUILLET_SAMPLE_TLS_PORT");
    const char* pszPort = std::getenv("QUILLET_SAMPLE_PORT");
    const char* pszMaximumHits = std::getenv("QUILLET_SAMPLE_MAXIMUM_HITS");
    if (!pszPort || std::atoi(pszPort) <= 0) {
        window.Log(L"QUILLET_SAMPLE_PORT is not set: only the servers already configured "
                   L"are offered.");
        return;
    }
    window.Log(L"%s", CSampleAccounts::Provide(*COptions::GetOptions(), std::atoi(pszPort),
                                               pszTlsPort ? std::atoi(pszTlsPort) : 0,
                                               pszMaximumHits ? std::atoi(pszMaximumHits) : 0)
                          .GetString());
}

// The folder after "/tour", or empty.
CString TourFolder() {
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    CString folder;
    for (int i = 1; i + 1 < nArgs; ++i) {
        if (::_wcsicmp(ppArgs[i], L"/tour") == 0)
            folder = ppArgs[i + 1];
    }
    ::LocalFree(ppArgs);
    return folder;
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
    pMainWnd->Log(L"Loaded the directory search module (dirsearch.dll).");
    ProvideSampleDirectory(*pMainWnd);

    const CString tourFolder = TourFolder();
    int nResult = 0;
    if (tourFolder.IsEmpty()) {
        pMainWnd->OpenDirectory();
        nResult = RunMessageLoop();
    } else {
        nResult = CDemoTour(*pMainWnd, tourFolder).Run();
        pMainWnd->SendMessage(WM_CLOSE);
        RunMessageLoop();
    }
    theApp.m_pMainWnd = nullptr;
    return nResult;
}
