// The fault tests' host: the ports of the misbehaving servers (fault_servers.py),
// windows searching at once (each with its own component and event log, so that
// outcomes can be told apart) and raw snapshots of what is stored.
#pragma once

#include "HostSession.h"
#include "RegistrySandbox.h"

namespace faults {

using host::FaultPort;

// How a search in a window of its own should end: the box it shows (by the
// translation id its text starts with; 0: none), the caption (the results', or
// the window's title), the rows, the one event logged (empty: none).
struct Expected {
    std::wstring server;
    UINT nBoxText;
    bool bResults;
    int nMinRows, nMaxRows;
    std::wstring event;
};

class FaultTest : public host::SearchWindowTest {
protected:
    static std::wstring Accounts() { return Root() + L"\\Config\\LDapServers"; }
    static std::wstring Layouts() { return Root() + L"\\ListControl\\DirectorySearch"; }
    // An account on 127.0.0.1 (or pszAddress), made current, with a time limit of
    // timeout seconds and the given protocol version.
    void AddServer(const std::wstring& name, int port, int timeout = 1, int version = 3,
                   const wchar_t* pszAddress = nullptr);
    // Opens the window and types in it: what Wine makes, and keeps, for a program's
    // first window and keystrokes exists before anything is counted.
    void WarmUp();
    // Searches each case's server for "John Smith" in a window of its own, all at
    // once, checks each outcome, closes the windows and checks that the stored
    // accounts read back byte for byte. A box that no window owns fails the test.
    void SearchAndCheck(const std::vector<Expected>& cases);
};

} // namespace faults
