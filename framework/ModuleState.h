// Per-binary framework state: which instance a binary is, where its resources are
// and which application object belongs to it. Entry points that the host calls switch
// to their own binary's state so that resources and settings are looked up there.
#pragma once

#include "FrameworkApi.h"

#include <windows.h>

class CWinApp;

struct FW_API CModuleState {
    HINSTANCE hInstance = nullptr;
    HINSTANCE hResources = nullptr;
    CWinApp* pApp = nullptr;
};

// The state of the calling thread, or the process's (the program's) state.
FW_API CModuleState* AfxGetModuleState();
// The state switched to on the calling thread; null when none is, and the
// program's own applies.
FW_API CModuleState* AfxGetThreadModuleState();
FW_API HINSTANCE AfxGetResourceHandle();
FW_API HINSTANCE AfxGetInstanceHandle();
FW_API CWinApp* AfxGetApp();

// Makes pState current on this thread until the switch goes out of scope.
class FW_API CModuleStateSwitch {
public:
    explicit CModuleStateSwitch(CModuleState* pState);
    ~CModuleStateSwitch();
    CModuleStateSwitch(const CModuleStateSwitch&) = delete;
    CModuleStateSwitch& operator=(const CModuleStateSwitch&) = delete;

private:
    CModuleState* m_pPrevious;
};

#define AFX_MANAGE_STATE(p) CModuleStateSwitch afxStateSwitch_(p)

// Each binary has its own copy of this function (framework_static library): it
// returns the state record of the binary it is linked into.
CModuleState* AfxGetStaticModuleState();
