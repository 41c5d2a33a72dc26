// The telephone's message loop: every message of the user-interface thread passes
// the directory search module's filter before it is translated and dispatched, so
// the module's windows get their keyboard handling (Tab, Enter, Escape).
#pragma once

#include <windows.h>

#include <functional>

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Handles the messages waiting now; false once WM_QUIT has been taken (it is posted
// again for the outer loop).
bool PumpWaitingMessages();
// Handles messages until done() holds or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD nTimeoutMs);
// Handles messages until none is waiting, paint included, and then lets the thread
// idle a moment, when Wine hands what the windows drew to the display.
void Settle();
