#include "ModuleState.h"

#include "WinApp.h"

namespace {

thread_local CModuleState* t_pCurrent = nullptr;

CModuleState& ProcessState() {
    static CModuleState state = [] {
        CModuleState s;
        s.hInstance = GetModuleHandleW(nullptr);
        s.hResources = s.hInstance;
        return s;
    }();
    return state;
}

} // namespace

CModuleState* AfxGetModuleState() {
    if (t_pCurrent)
        return t_pCurrent;
    return CWinApp::GetProcessModuleState() ? CWinApp::GetProcessModuleState() : &ProcessState();
}

CModuleState* AfxGetThreadModuleState() {
    return t_pCurrent;
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetModuleState()->hResources;
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetModuleState()->hInstance;
}

CWinApp* AfxGetApp() {
    return AfxGetModuleState()->pApp;
}

CModuleStateSwitch::CModuleStateSwitch(CModuleState* pState) : m_pPrevious(t_pCurrent) {
    t_pCurrent = pState;
}

CModuleStateSwitch::~CModuleStateSwitch() {
    t_pCurrent = m_pPrevious;
}
