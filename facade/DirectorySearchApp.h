// The module's application object: its name (string 57344) and the registry key
// together give the profile root Software\Tovana\<name>.
#pragma once

#include "WinApp.h"

class CDirectorySearchApp : public CWinApp {
public:
    using CWinApp::CWinApp;
    BOOL InitInstance() override;
};
