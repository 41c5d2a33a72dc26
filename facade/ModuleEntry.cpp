// Start-up and shut-down of the module, and the message filter the host calls.
#include "DirectorySearchApp.h"
#include "FilterDllMsg.h"

namespace {
CDirectorySearchApp theApp;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        if (!theApp.InitApplication(hInstance) || !theApp.InitInstance()) {
            theApp.ExitInstance();
            return FALSE;
        }
        return TRUE;
    case DLL_PROCESS_DETACH:
        theApp.ExitInstance();
        return TRUE;
    default:
        return TRUE;
    }
}

BOOL FilterDllMsg(MSG* pMsg) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    try {
        return theApp.PreTranslateMessage(pMsg);
    } catch (...) {
        // Nothing may unwind into the host's message loop.
        return FALSE;
    }
}
