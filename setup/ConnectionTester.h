// Runs connection tests on worker threads, so that the account sheet stays
// responsive, and hands each result to a window as a posted message. Only the latest
// test counts: a test that was superseded, given up on (time-out), or whose window
// has gone ends silently, whenever its thread comes back from the network.
#pragma once

#include "ConnectionTest.h"

#include <memory>
#include <mutex>

class CConnectionTester {
public:
    // Results are announced to hWnd as nMessage.
    CConnectionTester(HWND hWnd, UINT nMessage);
    // The window is going: no result is announced any more.
    ~CConnectionTester();
    CConnectionTester(const CConnectionTester&) = delete;
    CConnectionTester& operator=(const CConnectionTester&) = delete;

    // Tests account (a copy) on a thread of its own; false when none could be started.
    bool Start(const CLDapAccount& account);
    // The running test no longer counts.
    void Abandon();
    bool IsRunning() const;
    // The result of the latest test, once its message has come; false otherwise.
    bool TakeResult(CConnectionTestResult& result);

private:
    struct Shared;
    struct Job;
    static UINT __cdecl RunJob(LPVOID pJob);

    std::shared_ptr<Shared> m_pShared;
};
