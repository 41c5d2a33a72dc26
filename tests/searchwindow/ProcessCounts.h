// What the process holds, as Wine reports it truthfully (it reports no GDI, USER or
// handle counts): threads, windows, open descriptors (sockets among them, seen
// through the Z: drive) and the working set.
#pragma once

#include <windows.h>
#include <tlhelp32.h>
#include <psapi.h>

#include "UiKit.h"

#include <gtest/gtest.h>

#include <ostream>

struct ProcessCounts {
    int threads = 0, windows = 0, descriptors = 0;
    SIZE_T workingSet = 0;
};

inline BOOL CALLBACK CountWindow(HWND window, LPARAM counts) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == ::GetCurrentProcessId()) {
        ++reinterpret_cast<ProcessCounts*>(counts)->windows;
        ::EnumChildWindows(window, CountWindow, counts);
    }
    return TRUE;
}

inline ProcessCounts Counts() {
    ProcessCounts counts;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    for (BOOL ok = ::Thread32First(snapshot, &thread); ok; ok = ::Thread32Next(snapshot, &thread))
        counts.threads += thread.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counts));
    WIN32_FIND_DATAW file;
    HANDLE find = ::FindFirstFileW(L"Z:\\proc\\self\\fd\\*", &file);
    for (BOOL ok = find != INVALID_HANDLE_VALUE; ok; ok = ::FindNextFileW(find, &file))
        counts.descriptors += file.cFileName[0] != L'.';
    if (find != INVALID_HANDLE_VALUE)
        ::FindClose(find);
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    counts.workingSet = memory.WorkingSetSize;
    return counts;
}

inline std::ostream& operator<<(std::ostream& out, const ProcessCounts& c) {
    return out << c.threads << " threads, " << c.windows << " windows, " << c.descriptors
               << " descriptors, " << c.workingSet / 1024 << " KB";
}

// Checks that the process has come back to what it held before, once it settles: a
// thread that has ended closes its pipes to the Wine server a moment after the
// system stops listing it. Wine may start one thread of its own on first need (with
// its pipes and up to 4 MB), which is no leak of ours; anything left per search or
// window adds up to more.
inline void ExpectSettledBackTo(const ProcessCounts& before, SIZE_T workingSetSlack) {
    constexpr int kWineThreads = 1, kWineDescriptors = 6;
    kit::PumpUntil(
        [&] {
            const ProcessCounts now = Counts();
            return now.threads <= before.threads && now.descriptors <= before.descriptors;
        },
        10000);
    const ProcessCounts after = Counts();
    EXPECT_LE(after.threads, before.threads + kWineThreads) << before << " / " << after;
    EXPECT_LE(after.descriptors, before.descriptors + kWineDescriptors) << before << " / " << after;
    EXPECT_EQ(after.windows, before.windows) << before << " / " << after;
    EXPECT_LE(after.workingSet, before.workingSet + workingSetSlack) << before << " / " << after;
    EXPECT_GT(before.descriptors, 0) << "no descriptors seen";
}
