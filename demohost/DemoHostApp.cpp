// The telephone-application stand-in: it loads the directory search module, runs
// the user-interface thread's message loop through the module's filter, opens the
// Directory Search window, and unloads the module when the user closes it.
#include "HostWindow.h"

#include "FilterDllMsg.h"
#include "Options.h"

#include <cstdlib>

namespace {

class CDemoHostApp : public CWinApp {
public:
    CDemoHostApp() : CWinApp(L"Tovana Softphone") {}
};

CDemoHostApp theApp;

// The bundled sample directory, served by the demo's own LDAP server on the port
// that scripts/demo passes in LDAP_TEST_PORT, becomes the current server; the
// branch office directory on the same server is a second one to switch to.
void AddSampleDirectory(CHostWindow& window) {
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    if (!pszPort) {
        window.Log(L"LDAP_TEST_PORT is not set: the servers already configured are used.");
        return;
    }
    COptions& options = *COptions::GetOptions();
    auto addServer = [&](const CString& description, const wchar_t* pszSearchRoot) {
        const CString key = options.GetRootKey() + L"\\Config\\LDapServers\\" + description;
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"address", L"127.0.0.1", 0);
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", std::atoi(pszPort));
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", pszSearchRoot, 0);
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"ldapVersion", 3);
    };
    const CString description = L"Quillet Sample Directory";
    addServer(description, L"dc=quillet,dc=test");
    addServer(L"Harbour Branch Office", L"dc=harbour,dc=test");
    CRegKey servers;
    if (servers.Create(HKEY_CURRENT_USER, options.GetRootKey() + L"\\Config\\LDAPServers") ==
        ERROR_SUCCESS)
        servers.SetString(L"Current", description);
    window.Log(L"Sample directories: 127.0.0.1:%S, search roots dc=quillet,dc=test and "
               L"dc=harbour,dc=test (the Search In button switches).",
               pszPort);
}

int RunMessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (FilterDllMsg(&msg))
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
    pMainWnd->Log(L"Loaded the directory search module (dirsearch.dll).");
    AddSampleDirectory(*pMainWnd);
    pMainWnd->OpenDirectory();

    int result = RunMessageLoop();
    theApp.m_pMainWnd = nullptr;
    return result;
}
