// The server commands of the search window (the Search In button's menu, adding,
// removing, editing and choosing servers). They are carried out by the setup
// layer above the window, which the façade plugs in when it creates the window.
#pragma once

#include <windows.h>

class IServerManagement {
public:
    virtual ~IServerManagement() = default;
    // Rebuilds the Search In button's menu from the window's server list.
    virtual void BuildServerMenu() = 0;
    // The Search In button (35002): its menu, or Add when there is no server.
    virtual void OnSearchIn() = 0;
    // Add Public Directory (35007).
    virtual void OnAddServer() = 0;
    // While the Customize Search & Display window is open, only the current server
    // and its Properties stay available in the menu.
    virtual void SetCustomizeOpen(BOOL bOpen) = 0;
};
