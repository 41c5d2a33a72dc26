// The host's event log: what a record keeps, where records and trace lines go, and
// how the host hears of them.
#include "EventLog.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// The records, one a line: the kind, an event's code, place, ids and data, the text.
std::wstring Lines(const CEventLog& log) {
    std::wstring lines;
    CArray<CEventRecord> records = log.GetRecentRecords();
    for (int i = 0; i < records.GetSize(); ++i) {
        const CEventRecord& r = records[i];
        CString line;
        if (r.kind == EventKind::Event)
            line.Format(L"%u %s(%d) [%u %u %u %u] ", r.nCode, r.strSourceFile.GetString(), r.nLine,
                        r.nEventId, r.nSeverity, r.nCategory, r.nData);
        lines +=
            std::to_wstring(static_cast<int>(r.kind)) + L" " + line.str() + r.strText.str() + L"\n";
    }
    return lines;
}

// A fresh file name in the temporary folder, deleted again at the end.
class CTemporaryFile {
public:
    CTemporaryFile() {
        wchar_t szFolder[MAX_PATH], szName[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szFolder);
        ::GetTempFileNameW(szFolder, L"qlg", 0, szName);
        m_path = szName;
    }
    ~CTemporaryFile() { ::DeleteFileW(m_path.c_str()); }
    const std::wstring& Path() const { return m_path; }
    std::string Contents() const {
        std::ifstream file(CString(m_path).ToUtf8(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

private:
    std::wstring m_path;
};

} // namespace

TEST(EventLogTest, RecordsKeepWhatTheyWereGivenLinesLoseTheirLineEndAWindowHearsOfEach) {
    CEventLog log;
    log.EventLog(1224, "directory/SearchWorker.cpp", 118, 10001, 3, 5, L"Error binding", 9);
    log.Trace(L" description: <%s> ldapVersion: %d ldapReferral: %d\n", L"Zo\u00eb's server", 3, 1);
    log.Debug("No tooltip for: %d (%s)\r\n", 35099, "narrow");
    log.Trace(L"100%% plain");
    EXPECT_EQ(Lines(log), L"0 1224 directory/SearchWorker.cpp(118) [10001 3 5 9] Error binding\n"
                          L"1  description: <Zo\u00eb's server> ldapVersion: 3 ldapReferral: 1\n"
                          L"2 No tooltip for: 35099 (narrow)\n1 100% plain\n");
    const UINT WM_EVENT_RECORDED = WM_APP + 7;
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(hWnd, nullptr);
    log.SetNotifyWindow(hWnd, WM_EVENT_RECORDED);
    log.EventLog(1224, __FILE__, __LINE__, 10001, 3, 0, L"Error on ldap_result", 0);
    log.Debug("debug");
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, hWnd, WM_EVENT_RECORDED, WM_EVENT_RECORDED, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(EventKind::Event));
    ASSERT_TRUE(::PeekMessageW(&msg, hWnd, WM_EVENT_RECORDED, WM_EVENT_RECORDED, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(EventKind::Debug));
    log.SetNotifyWindow(nullptr, 0);
    log.Trace(L"unheard");
    EXPECT_FALSE(::PeekMessageW(&msg, hWnd, WM_EVENT_RECORDED, WM_EVENT_RECORDED, PM_REMOVE));
    ::DestroyWindow(hWnd);
}

TEST(EventLogTest, FileGetsOneUtf8LinePerRecordInOrder) {
    CTemporaryFile file;
    CEventLog log(file.Path().c_str());
    log.Trace(L"first \u0141\u00f3d\u017a\n");
    log.EventLog(1224, "Worker.cpp", 7, 10001, 3, 0, L"Error searching", 0);
    log.Debug("third");
    std::string text = file.Contents();
    std::istringstream lines(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_EQ(all.size(), 3u) << text;
    EXPECT_NE(all[0].find(u8"TRACE first \u0141\u00f3d\u017a\r"), std::string::npos) << all[0];
    EXPECT_NE(all[1].find("EVENT 1224 Worker.cpp(7) [10001 3 0 0] Error searching\r"),
              std::string::npos)
        << all[1];
    EXPECT_NE(all[2].find("DEBUG third\r"), std::string::npos) << all[2];
}

TEST(EventLogTest, RecordsFromSeveralThreadsAllReachTheFileAndTheHistoryKeepsTheLatest) {
    CTemporaryFile file;
    CEventLog log(file.Path().c_str());
    const int nThreads = 4, nEach = CEventLog::kHistorySize / 3;
    std::vector<std::thread> threads;
    for (int t = 0; t < nThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < nEach; ++i)
                log.Trace(L"thread %d line %d", t, i);
        });
    for (auto& thread : threads)
        thread.join();
    const std::wstring lines = Lines(log);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L'\n'), CEventLog::kHistorySize);
    for (int t = 0; t < nThreads; ++t)
        EXPECT_NE(lines.find(L"thread " + std::to_wstring(t) + L" line " +
                             std::to_wstring(nEach - 1) + L"\n"),
                  std::wstring::npos)
            << t;
    std::string contents = file.Contents();
    EXPECT_EQ(std::count(contents.begin(), contents.end(), '\n'), nThreads * nEach);
}
