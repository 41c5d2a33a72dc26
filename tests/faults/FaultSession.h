// The host of the fault tests: the search window fixture with the ports of the
// misbehaving servers (tests/faults/fault_servers.py), more windows at once (each
// with its own component and event log, so that outcomes can be told apart), raw
// snapshots of what is stored, and a watch that ends the run when the host's
// thread stops answering.
#pragma once

#include "HostSession.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace faults {

// The port of one of the misbehaving servers, by its name ("hang", "dead", ...).
int FaultPort(const std::wstring& name);

// Every value under HKCU\path as "sub\key|name" -> type and bytes, to compare byte
// for byte.
using RawTree = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
RawTree ReadRawTree(const std::wstring& path);

// What one search in a window of its own came to.
struct Outcome {
    std::vector<std::wstring> boxes; // texts of the message boxes it owned
    std::vector<std::wstring> events;
    std::wstring caption;
    int rows = 0;
};

// A search that should end in one way: the box it shows (by the translation id its
// text starts with; 0: none), its caption and rows, the event it logs.
struct Expected {
    std::wstring server;
    UINT nBoxText;
    bool bResults; // the caption names the results (else: the window's title)
    int nMinRows, nMaxRows;
    std::wstring event; // empty: none
};

class FaultTest : public host::SearchWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::wstring Accounts() { return Root() + L"\\Config\\LDapServers"; }
    static std::wstring Layouts() { return Root() + L"\\ListControl\\DirectorySearch"; }
    // An account on 127.0.0.1 (or pszAddress), made current, with a time limit of
    // timeout seconds and the given protocol version.
    void AddServer(const std::wstring& name, int port, int timeout = 1, int version = 3,
                   const wchar_t* pszAddress = nullptr);
    // Opens a window of its own on each server and searches there for text, all at
    // once; returns what each came to once every caption reads `done(i)`.
    std::vector<Outcome> SearchAtOnce(const std::vector<std::wstring>& servers,
                                      const std::wstring& text,
                                      const std::function<bool(size_t, const Outcome&)>& done);
    // Searches each server at once, checks each outcome, then that the stored
    // accounts read back byte for byte.
    void SearchAndCheck(const std::vector<Expected>& cases);
    // Closes the windows SearchAtOnce opened.
    void CloseAll();

    struct Window {
        CDirectorySearch* pSearch;
        std::unique_ptr<CEventLog> log;
        HWND hWnd;
    };
    std::vector<Window> m_windows;

private:
    HANDLE m_hStop = nullptr;
    std::thread m_watch;
    std::atomic<bool> m_bWatchEnded{false};
};

} // namespace faults
