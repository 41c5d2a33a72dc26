// The module's message filter: the host calls it for every message of its
// user-interface thread before translating and dispatching it.
#pragma once

#include "DirectorySearchApi.h"

#include <windows.h>

// TRUE when one of the module's windows has handled the message; the host then
// neither translates nor dispatches it.
extern "C" DIRSEARCH_API BOOL FilterDllMsg(MSG* pMsg);
