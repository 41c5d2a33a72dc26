// What the module tells its host: synchronous messages to the host's control
// window, and the entry record some of them carry. Part of the host-facing
// interface of the module.
#pragma once

#include "String.h"

namespace HostMessage {
// Sent (never posted) to the host control window, the code in wParam.
constexpr UINT kId = WM_USER + 105;
constexpr WPARAM kDial = 11;            // lParam: the number, valid during the call
constexpr WPARAM kAddToDirectory = 12;  // lParam: HostEntryRecord*, freed by the module
constexpr WPARAM kWindowDestroyed = 15; // lParam: the window's kind code (7)
constexpr WPARAM kHelp = 19;            // lParam: 0
constexpr WPARAM kDialConfirm = 36;     // lParam: HostEntryRecord*, the host frees it
} // namespace HostMessage

// An entry handed to the host with host messages 12 and 36. The host and the
// module share one C++ runtime, so either side may delete what the other made.
struct HostEntryRecord {
    CString name; // "last name, first name"
    CString number;
    CString email;
    int flagA = 0;
    int flagB = 1;
    int flagC = 1;
    int flagD = 0;
};
