// Linked into every binary that uses the framework: this binary's own state record.
#include "ModuleState.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

CModuleState* AfxGetStaticModuleState() {
    static CModuleState state = [] {
        CModuleState s;
        s.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
        s.hResources = s.hInstance;
        return s;
    }();
    return &state;
}
