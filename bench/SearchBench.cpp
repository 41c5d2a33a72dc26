// Times a search as the user sees it: from Enter in the search box to the first
// row and to the last, for 1, 50 and 200 entries of the test directory, with the
// longest time the window's thread went without processing a message and the
// memory each row costs. Prints figures; asserts nothing.
#include "DirectorySearch.h"
#include "EventLog.h"
#include "FilterDllMsg.h"
#include "Framework.h"
#include "Manager.h"
#include "Options.h"
#include "Translation.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
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

// The working set: Wine does not count private bytes.
SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

struct Run {
    double firstRowMs = -1, lastRowMs = -1, longestGapMs = 0;
    int rows = 0;
    double bytesPerRow = 0;
};

// Types the text and presses Enter through the host's loop, then pumps until the
// caption shows the result.
Run Search(HWND hWindow, const wchar_t* pszText) {
    HWND hCombo = ::GetDlgItem(::GetDlgItem(hWindow, 59392), 105);
    HWND hEdit = ::FindWindowExW(hCombo, nullptr, L"Edit", nullptr);
    HWND hList = ::GetDlgItem(hWindow, 1013);
    ::SetWindowTextW(hEdit, pszText);
    const CString expected = CString(L"Bench Directory - ") + pszText;
    const SIZE_T before = WorkingSet();

    Run run;
    ::PostMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    const Clock::time_point start = Clock::now();
    Clock::time_point last = start;
    for (;;) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Clock::time_point now = Clock::now();
            run.longestGapMs = std::max(run.longestGapMs, Ms(now - last));
            last = now;
            if (!FilterDllMsg(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        int rows = static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
        if (rows > 0 && run.firstRowMs < 0)
            run.firstRowMs = Ms(Clock::now() - start);
        wchar_t caption[256] = L"";
        ::GetWindowTextW(hWindow, caption, 256);
        if (expected == caption) {
            run.lastRowMs = Ms(Clock::now() - start);
            run.rows = rows;
            break;
        }
        if (Clock::now() - start > std::chrono::seconds(60))
            break;
    }
    if (run.rows > 0)
        run.bytesPerRow = static_cast<double>(WorkingSet() - before) / run.rows;
    return run;
}

} // namespace

int main() {
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    if (!pszPort) {
        std::printf("LDAP_TEST_PORT is not set: run bench/run\n");
        return 1;
    }
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWnd host;
    host.CreateEx(0, nullptr, L"Bench host", WS_OVERLAPPEDWINDOW, 0, 600, 400, 200, nullptr,
                  nullptr);
    CEventLog eventLog;
    CTranslation translation(COptions::GetOptions());
    CManager manager;

    struct Case {
        const wchar_t* pszText;
        int maximumHits;
    };
    const Case cases[] = {{L"John Smith", 200}, {L"Bulk", 50}, {L"Bulk", 200}};
    std::printf("%-12s %6s %12s %12s %14s %12s\n", "search", "rows", "first row", "last row",
                "longest gap", "memory/row");
    for (const Case& c : cases) {
        AddAccount(std::atoi(pszPort), c.maximumHits);
        auto* pSearch = new CDirectorySearch(host.m_hWnd);
        pSearch->SetEventLog(&eventLog);
        pSearch->SetTranslation(&translation);
        pSearch->SetManager(&manager);
        CWnd* pWindow = pSearch->DisplaySearchDialog();
        // Warm up once so that the first figures do not include start-up costs.
        Search(pWindow->m_hWnd, c.pszText);
        Run run = Search(pWindow->m_hWnd, c.pszText);
        std::printf("%-12ls %6d %9.1f ms %9.1f ms %11.1f ms %12.0f\n", c.pszText, run.rows,
                    run.firstRowMs, run.lastRowMs, run.longestGapMs, run.bytesPerRow);
        pSearch->CloseDialogs();
        delete pSearch;
    }
    return 0;
}
