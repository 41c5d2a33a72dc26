// Times a search as the user sees it: from Enter in the search box to the first
// row and to the last, for 1, 50, 200 and 1,000 entries of the directory, beside
// ldapsearch's times for the same filter (measured by scripts/bench and passed in)
// and the floor of one result per 10 ms tick. A heartbeat thread measures the
// longest time the window's thread went without taking a message. Prints table
// rows; asserts nothing.
//
//   search_bench.exe [--runs N] [--baseline LIMIT:FIRST_US:LAST_US]...
//   search_bench.exe --count-trips   one 1-row and one 200-row search between
//                                    named events, for a trace of Wine server
//                                    requests
#include "DirectorySearch.h"
#include "EventLog.h"
#include "FilterDllMsg.h"
#include "Framework.h"
#include "Manager.h"
#include "Options.h"
#include "Translation.h"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT WM_HEARTBEAT = WM_APP + 1;
constexpr double kTickMs = 10.0;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Fastest(std::vector<double> v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Worst(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

void AddAccount(int port, int maximumHits) {
    COptions& options = *COptions::GetOptions();
    CString key = options.GetRootKey() + L"\\Config\\LDapServers\\Bench Directory";
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"address", L"127.0.0.1", 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", port);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", L"dc=quillet,dc=test", 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"maximumHits", maximumHits);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"ldapVersion", 3);
    CRegKey servers;
    servers.Create(HKEY_CURRENT_USER, options.GetRootKey() + L"\\Config\\LDAPServers");
    servers.SetString(L"Current", L"Bench Directory");
}

// Wine reports no private bytes; the working set it does report.
SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// Posts a time-stamped message to the window's thread whenever the previous one has
// been taken; how late each arrives is how long the thread was busy.
class CHeartbeat {
public:
    explicit CHeartbeat(DWORD nThreadId) : m_nThreadId(nThreadId), m_thread([this] { Beat(); }) {}
    ~CHeartbeat() {
        m_bStop = true;
        m_thread.join();
    }
    // Called by the window's thread for each heartbeat message.
    void Taken(LPARAM nSentMicros) {
        const Clock::time_point now = Clock::now();
        const double dLate = Ms(now.time_since_epoch()) - static_cast<double>(nSentMicros) / 1000.0;
        if (dLate > m_dLongestMs) {
            m_dLongestMs = dLate;
            m_longestAt = now;
        }
        m_bPending = false;
    }
    // The longest stall since the last call, and when it ended.
    double TakeLongest(Clock::time_point* pAt = nullptr) {
        double d = m_dLongestMs;
        if (pAt)
            *pAt = m_longestAt;
        m_dLongestMs = 0;
        return d;
    }

private:
    void Beat() {
        while (!m_bStop) {
            if (!m_bPending) {
                m_bPending = true;
                const auto nMicros =
                    static_cast<LPARAM>(std::chrono::duration_cast<std::chrono::microseconds>(
                                            Clock::now().time_since_epoch())
                                            .count());
                ::PostThreadMessageW(m_nThreadId, WM_HEARTBEAT, 0, nMicros);
            }
            ::Sleep(2);
        }
    }

    DWORD m_nThreadId;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bPending{false};
    double m_dLongestMs = 0;
    Clock::time_point m_longestAt;
    std::thread m_thread;
};

CHeartbeat* g_pHeartbeat = nullptr;

// One pass of the host's loop; false when the queue was empty.
bool PumpOne() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_HEARTBEAT && !msg.hwnd) {
        if (g_pHeartbeat)
            g_pHeartbeat->Taken(msg.lParam);
        return true;
    }
    if (!FilterDllMsg(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

struct Run {
    double firstRowMs = -1, lastRowMs = -1, longestGapMs = 0;
    double longestGapEndMs = 0; // after Enter
    int rows = 0;
};

// Types the text and presses Enter through the host's loop, then pumps until the
// caption shows the result.
Run Search(HWND hWindow, const wchar_t* pszText) {
    HWND hCombo = ::GetDlgItem(::GetDlgItem(hWindow, 59392), 105);
    HWND hEdit = ::FindWindowExW(hCombo, nullptr, L"Edit", nullptr);
    HWND hList = ::GetDlgItem(hWindow, 1013);
    ::SetWindowTextW(hEdit, pszText);
    const CString expected = CString(L"Bench Directory - ") + pszText;
    while (PumpOne()) {
    }
    if (g_pHeartbeat)
        g_pHeartbeat->TakeLongest();

    wchar_t before[256] = L"";
    ::GetWindowTextW(hWindow, before, 256);
    Run run;
    ::PostMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    const Clock::time_point start = Clock::now();
    // The search has begun once its own caption shows ("... Searching for ..."),
    // which is no caption that any search leaves behind.
    bool bStarted = false;
    for (;;) {
        if (!PumpOne())
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        wchar_t caption[256] = L"";
        ::GetWindowTextW(hWindow, caption, 256);
        bStarted = bStarted || wcscmp(before, caption) != 0;
        if (bStarted && run.firstRowMs < 0 && ::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0) > 0)
            run.firstRowMs = Ms(Clock::now() - start);
        if (bStarted && expected == caption) {
            run.lastRowMs = Ms(Clock::now() - start);
            run.rows = static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
            break;
        }
        if (Clock::now() - start > std::chrono::seconds(120))
            break;
    }
    if (g_pHeartbeat) {
        Clock::time_point at;
        run.longestGapMs = g_pHeartbeat->TakeLongest(&at);
        run.longestGapEndMs = Ms(at - start);
    }
    return run;
}

struct Case {
    const wchar_t* pszText;
    int nRows; // expected rows; also the account's limit
};

struct Baseline {
    std::vector<double> firstMs, lastMs;
};

class CBench {
public:
    explicit CBench(int port) : m_nPort(port) {
        m_host.CreateEx(0, nullptr, L"Bench host", WS_OVERLAPPEDWINDOW, 0, 600, 400, 200, nullptr,
                        nullptr);
    }
    ~CBench() { m_host.DestroyWindow(); }

    // Opens a window for the case's limit, warms it up with a one-row search and
    // hands it to fn.
    template <class TFn> void WithWindow(int maximumHits, TFn fn) {
        AddAccount(m_nPort, maximumHits);
        auto* pSearch = new CDirectorySearch(m_host.m_hWnd);
        pSearch->SetEventLog(&m_eventLog);
        pSearch->SetTranslation(&m_translation);
        pSearch->SetManager(&m_manager);
        CWnd* pWindow = pSearch->DisplaySearchDialog();
        Search(pWindow->m_hWnd, L"John Smith");
        fn(pWindow->m_hWnd);
        pSearch->CloseDialogs();
        delete pSearch;
    }

private:
    int m_nPort;
    CWnd m_host;
    CEventLog m_eventLog;
    CTranslation m_translation{COptions::GetOptions()};
    CManager m_manager;
};

void PrintMs(double d) {
    if (d < 1000)
        std::printf(" %7.1f ms", d);
    else
        std::printf(" %8.2f s", d / 1000);
}

// Named events mark where each search starts and ends in the server's trace.
void Mark(const char* pszWhat, int nRows) {
    wchar_t szName[64];
    std::swprintf(szName, 64, L"bench-%hs-%d", pszWhat, nRows);
    ::CloseHandle(::CreateEventW(nullptr, FALSE, FALSE, szName));
}

int CountTrips(CBench& bench) {
    bench.WithWindow(200, [](HWND hWindow) {
        for (const Case& c : {Case{L"John Smith", 1}, Case{L"Benchmark", 200}}) {
            Mark("begin", c.nRows);
            Run run = Search(hWindow, c.pszText);
            Mark("end", run.rows);
        }
    });
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    if (!pszPort) {
        std::printf("LDAP_TEST_PORT is not set: run scripts/bench\n");
        return 1;
    }
    int nRuns = 3;
    bool bCountTrips = false;
    std::map<int, Baseline> baselines;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            nRuns = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--count-trips")) {
            bCountTrips = true;
        } else if (!std::strcmp(argv[i], "--baseline") && i + 1 < argc) {
            int rows = 0;
            long long firstUs = 0, lastUs = 0;
            if (std::sscanf(argv[++i], "%d:%lld:%lld", &rows, &firstUs, &lastUs) == 3) {
                baselines[rows].firstMs.push_back(firstUs / 1000.0);
                baselines[rows].lastMs.push_back(lastUs / 1000.0);
            }
        }
    }
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBench bench(std::atoi(pszPort));
    if (bCountTrips)
        return CountTrips(bench);

    CHeartbeat heartbeat(::GetCurrentThreadId());
    g_pHeartbeat = &heartbeat;
    // Largest first: the working set per row is measured on the process's first
    // large search, before the heap holds memory that earlier rows gave back.
    const Case cases[] = {
        {L"Benchmark", 1000}, {L"Benchmark", 200}, {L"Benchmark", 50}, {L"John Smith", 1}};
    struct Result {
        std::vector<double> first, last, gaps;
        int rows = 0;
    };
    std::map<int, Result> results;
    double dBytesPerRow = 0;
    for (const Case& c : cases) {
        Result& r = results[c.nRows];
        bench.WithWindow(c.nRows == 1 ? 200 : c.nRows, [&](HWND hWindow) {
            for (int i = 0; i < nRuns; ++i) {
                const SIZE_T nBefore = WorkingSet();
                Run run = Search(hWindow, c.pszText);
                if (c.nRows == 1000 && i == 0 && run.rows > 0)
                    dBytesPerRow = (static_cast<double>(WorkingSet()) - nBefore) / run.rows;
                r.first.push_back(run.firstRowMs);
                r.last.push_back(run.lastRowMs);
                r.gaps.push_back(run.longestGapMs);
                r.rows = run.rows;
                std::fprintf(stderr,
                             "  %d rows: last row after %.0f ms; longest stall %.0f ms, ending "
                             "%.0f ms after Enter\n",
                             run.rows, run.lastRowMs, run.longestGapMs, run.longestGapEndMs);
            }
        });
    }
    for (const auto& [nRows, r] : results) {
        const Baseline& base = baselines[nRows];
        const double floorMs = nRows * kTickMs;
        std::printf("| %5d | %5d |", nRows, r.rows);
        PrintMs(Fastest(r.first));
        std::printf(" /");
        PrintMs(Median(r.first));
        std::printf(" |");
        PrintMs(Median(base.firstMs));
        std::printf(" |");
        PrintMs(Fastest(r.last));
        std::printf(" /");
        PrintMs(Median(r.last));
        std::printf(" |");
        PrintMs(Median(base.lastMs));
        std::printf(" |");
        PrintMs(floorMs);
        std::printf(" | %5.2f |", Median(r.last) / floorMs);
        PrintMs(Median(r.gaps));
        std::printf(" /");
        PrintMs(Worst(r.gaps));
        std::printf(" |\n");
    }
    std::printf("\nWorking set per row (first 1,000-row search of the process): %.0f bytes\n",
                dBytesPerRow);
    g_pHeartbeat = nullptr;
    return 0;
}
