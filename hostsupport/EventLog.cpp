#include "EventLog.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// Trace formats end their lines with "\n"; records keep the text without it.
CString WithoutLineEnd(CString text) {
    int nLength = text.GetLength();
    while (nLength > 0 && (text[nLength - 1] == L'\n' || text[nLength - 1] == L'\r'))
        --nLength;
    return text.Left(nLength);
}

CString FormatNarrow(const char* pszFormat, va_list args) {
    va_list counting;
    va_copy(counting, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, counting);
    va_end(counting);
    if (nLength < 0)
        return CString();
    std::string text(nLength + 1, '\0');
    std::vsnprintf(text.data(), text.size(), pszFormat, args);
    text.resize(nLength);
    return CString(text.c_str());
}

CString Timestamp() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString stamp;
    stamp.Format(L"%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
                 now.wMinute, now.wSecond, now.wMilliseconds);
    return stamp;
}

CString Describe(const CEventRecord& record) {
    CString line;
    switch (record.kind) {
    case EventKind::Event:
        line.Format(L"EVENT %u %s(%d) [%u %u %u %u] %s", record.nCode,
                    record.strSourceFile.GetString(), record.nLine, record.nEventId,
                    record.nSeverity, record.nCategory, record.nData, record.strText.GetString());
        break;
    case EventKind::Trace:
        line = L"TRACE " + record.strText;
        break;
    case EventKind::Debug:
        line = L"DEBUG " + record.strText;
        break;
    }
    return line;
}

struct FileCloser {
    void operator()(FILE* pFile) const { std::fclose(pFile); }
};

} // namespace

CEventLog::CEventLog(const wchar_t* pszFileName) : m_strFileName(pszFileName) {}

void CEventLog::EventLog(UINT nCode, const char* pszSourceFile, int nLine, UINT nEventId,
                         UINT nSeverity, UINT nCategory, const wchar_t* pszText, UINT nData) {
    CEventRecord record;
    record.kind = EventKind::Event;
    record.strText = pszText;
    record.nCode = nCode;
    record.strSourceFile = CString(pszSourceFile);
    record.nLine = nLine;
    record.nEventId = nEventId;
    record.nSeverity = nSeverity;
    record.nCategory = nCategory;
    record.nData = nData;
    Add(std::move(record));
}

void CEventLog::Trace(const wchar_t* pszFormat, ...) {
    CEventRecord record;
    if (pszFormat) {
        va_list args;
        va_start(args, pszFormat);
        record.strText.FormatV(pszFormat, args);
        va_end(args);
    }
    record.strText = WithoutLineEnd(record.strText);
    Add(std::move(record));
}

void CEventLog::Debug(const char* pszFormat, ...) {
    CEventRecord record;
    record.kind = EventKind::Debug;
    if (pszFormat) {
        va_list args;
        va_start(args, pszFormat);
        record.strText = WithoutLineEnd(FormatNarrow(pszFormat, args));
        va_end(args);
    }
    Add(std::move(record));
}

void CEventLog::SetNotifyWindow(HWND hWnd, UINT nMessage) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hNotifyWnd = hWnd;
    m_nNotifyMessage = nMessage;
}

CArray<CEventRecord> CEventLog::GetRecentRecords() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    CArray<CEventRecord> records;
    for (const auto& record : m_history)
        records.Add(record);
    return records;
}

void CEventLog::Add(CEventRecord record) {
    CString line = Timestamp() + L" " + Describe(record);
    ::OutputDebugStringW(line + L"\n");
    HWND hNotifyWnd;
    UINT nNotifyMessage;
    EventKind kind = record.kind;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        WriteToFile(line);
        m_history.push_back(std::move(record));
        if (m_history.size() > kHistorySize)
            m_history.pop_front();
        hNotifyWnd = m_hNotifyWnd;
        nNotifyMessage = m_nNotifyMessage;
    }
    if (hNotifyWnd)
        ::PostMessageW(hNotifyWnd, nNotifyMessage, static_cast<WPARAM>(kind), 0);
}

void CEventLog::WriteToFile(const CString& line) const {
    if (m_strFileName.IsEmpty())
        return;
    std::unique_ptr<FILE, FileCloser> file(_wfopen(m_strFileName, L"ab"));
    if (!file)
        return; // the log is best effort; the caller carries on
    std::string text = (line + L"\r\n").ToUtf8();
    std::fwrite(text.data(), 1, text.size(), file.get());
}
