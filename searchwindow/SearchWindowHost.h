// What the search window needs from the side that created it, and the host
// services it borrows. The façade implements the one and hands over the other.
#pragma once

#include <windows.h>

class CEventLog;
class CFont;
class CManager;
class CTranslation;

class ISearchWindowHost {
public:
    virtual ~ISearchWindowHost() = default;
    // Sends a host message (HostMessages.h) to the host's control window.
    virtual LRESULT SendHostMessage(WPARAM nCode, LPARAM lParam) = 0;
    // The window is gone: the last thing it does before its object is deleted.
    virtual void OnSearchWindowDestroyed(int nWindowKind) = 0;
};

// Borrowed from the host; each may be null.
struct CSearchWindowServices {
    CEventLog* pEventLog = nullptr;
    CTranslation* pTranslation = nullptr;
    CManager* pManager = nullptr;
    CFont* pNativeFont = nullptr;
};
