#include "DirectorySearchApp.h"

#include "FilterDllMsg.h"

namespace {
CDirectorySearchApp theApp;
}

CDirectorySearchApp& TheDirectorySearchApp() {
    return theApp;
}

BOOL CDirectorySearchApp::InitInstance() {
    SetRegistryKey(L"Tovana");
    return CWinApp::InitInstance();
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
