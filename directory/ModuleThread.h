// Worker threads that keep the module loaded while they run.
#pragma once

#include "WinApp.h"

// Runs pfnThreadProc(pParam) on a thread of its own that holds a reference on the
// binary containing pfnThreadProc until the procedure has returned, and then gives
// it back by a call that does not return into that binary: a host that unloads the
// module meanwhile never leaves the thread running in an image that has gone.
// False, with nothing started, when the thread cannot be made.
bool BeginModuleThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
