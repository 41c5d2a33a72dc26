#include "DirectorySearchApp.h"

BOOL CDirectorySearchApp::InitInstance() {
    SetRegistryKey(L"Tovana");
    return CWinApp::InitInstance();
}
