// CEventLog: the host's event log. Records and trace lines go to the log file the
// host chose, to the debugger output and to a short in-memory history that the host
// can show; a window of the host may ask to be told of each new one.
#pragma once

#include "HostSupportApi.h"

#include "Collections.h"

#include <deque>
#include <mutex>

class CTranslation;

enum class EventKind { Event, Trace, Debug };

struct CEventRecord {
    EventKind kind = EventKind::Trace;
    CString strText;
    // Only event records carry the fields below.
    UINT nCode = 0;
    CString strSourceFile;
    int nLine = 0;
    UINT nEventId = 0;
    UINT nSeverity = 0;
    UINT nCategory = 0;
    UINT nData = 0;
};

class CEventLog {
public:
    // An empty file name keeps the log off the disk.
    HOSTSUPPORT_API explicit CEventLog(const wchar_t* pszFileName = L"");
    CEventLog(const CEventLog&) = delete;
    CEventLog& operator=(const CEventLog&) = delete;

    // One event record: its code, where it was raised, its numbers and its text.
    HOSTSUPPORT_API void EventLog(UINT nCode, const char* pszSourceFile, int nLine, UINT nEventId,
                                  UINT nSeverity, UINT nCategory, const wchar_t* pszText,
                                  UINT nData);
    // A printf-style trace line, wide (%s is a wide string) or narrow.
    HOSTSUPPORT_API void Trace(const wchar_t* pszFormat, ...);
    HOSTSUPPORT_API void Debug(const char* pszFormat, ...);

    // After each new record nMessage is posted to hWnd with the record's kind in
    // wParam. Records may come from any thread; posting keeps the host's window on
    // its own thread. A null window ends the notifications.
    HOSTSUPPORT_API void SetNotifyWindow(HWND hWnd, UINT nMessage);
    // The latest records, oldest first (at most kHistorySize).
    HOSTSUPPORT_API CArray<CEventRecord> GetRecentRecords() const;
    static constexpr int kHistorySize = 200;

    // Inline accessors; the module exports its copies.
    HOSTSUPPORT_INLINE void SetTranslation(CTranslation* pTranslation) {
        m_pTranslation = pTranslation;
    }
    HOSTSUPPORT_INLINE CString GetEventLogFileName() const { return m_strFileName; }

    CTranslation* GetTranslation() const { return m_pTranslation; }

private:
    void Add(CEventRecord record);
    void WriteToFile(const CString& line) const;

    const CString m_strFileName;
    CTranslation* m_pTranslation = nullptr;
    // Search workers write records while the host's thread reads them.
    mutable std::mutex m_mutex;
    std::deque<CEventRecord> m_history;
    HWND m_hNotifyWnd = nullptr;
    UINT m_nNotifyMessage = 0;
};
