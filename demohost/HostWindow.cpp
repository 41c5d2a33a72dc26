#include "HostWindow.h"

#include "Options.h"

#include <cstdarg>

namespace {

const int kLogId = 100;
const UINT kEventLogMessage = WM_APP + 1;

enum : UINT {
    ID_OPEN_DIRECTORY = 100,
    ID_CLOSE_DIRECTORY,
    ID_CALLS_ENABLED,
    ID_EXIT,
};

} // namespace

CHostWindow::CHostWindow() : m_translation(COptions::GetOptions()) {}

BOOL CHostWindow::Create() {
    HMENU hPhone = ::CreatePopupMenu();
    ::AppendMenuW(hPhone, MF_STRING, ID_OPEN_DIRECTORY, L"&Search Directory...");
    ::AppendMenuW(hPhone, MF_STRING, ID_CLOSE_DIRECTORY, L"&Close Directory Window");
    ::AppendMenuW(hPhone, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPhone, MF_STRING | MF_CHECKED, ID_CALLS_ENABLED, L"Calls &Enabled");
    ::AppendMenuW(hPhone, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPhone, MF_STRING, ID_EXIT, L"E&xit");
    // The window destroys its menu bar with itself.
    HMENU hMenuBar = ::CreateMenu();
    ::AppendMenuW(hMenuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPhone), L"&Phone");

    if (!CreateEx(0, nullptr, L"Tovana Softphone (demo host)",
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 80, 640, 720, 300, nullptr, hMenuBar))
        return FALSE;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMessageFont);
    m_log.CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0,
                   0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLogId)));
    m_log.SetFont(m_font);
    RECT rc;
    GetClientRect(&rc);
    OnSize(rc.right, rc.bottom);

    m_eventLog.SetNotifyWindow(m_hWnd, kEventLogMessage);
    m_pDirectorySearch = new CDirectorySearch(m_hWnd);
    m_pDirectorySearch->SetEventLog(&m_eventLog);
    m_pDirectorySearch->SetTranslation(&m_translation);
    m_pDirectorySearch->SetManager(&m_manager);
    m_pDirectorySearch->EnableCalls(m_bCallsEnabled);
    return TRUE;
}

void CHostWindow::Log(const wchar_t* pszFormat, ...) {
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString stamped;
    stamped.Format(L"%02u:%02u:%02u  %s", now.wHour, now.wMinute, now.wSecond, line.GetString());
    int index = m_log.AddString(stamped);
    m_log.SendMessage(LB_SETTOPINDEX, index);
}

void CHostWindow::OpenDirectory() {
    if (!m_pDirectorySearch->DisplaySearchDialog())
        Log(L"The Directory Search window could not be opened.");
}

void CHostWindow::OnCloseDirectory(UINT) {
    m_pDirectorySearch->CloseDialogs();
}

void CHostWindow::OnToggleCalls(UINT) {
    m_bCallsEnabled = !m_bCallsEnabled;
    m_pDirectorySearch->EnableCalls(m_bCallsEnabled);
    ::CheckMenuItem(GetMenu(), ID_CALLS_ENABLED, m_bCallsEnabled ? MF_CHECKED : MF_UNCHECKED);
    Log(L"Calls %s.", m_bCallsEnabled ? L"enabled" : L"disabled");
}

BOOL CHostWindow::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CHostWindow> map[] = {
        {ID_OPEN_DIRECTORY, ID_OPEN_DIRECTORY, &CHostWindow::OnOpenDirectory, nullptr},
        {ID_CLOSE_DIRECTORY, ID_CLOSE_DIRECTORY, &CHostWindow::OnCloseDirectory, nullptr},
        {ID_CALLS_ENABLED, ID_CALLS_ENABLED, &CHostWindow::OnToggleCalls, nullptr},
        {ID_EXIT, ID_EXIT, &CHostWindow::OnExit, nullptr},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI) || CWnd::OnCmdMsg(nID, nCode, pCmdUI);
}

void CHostWindow::OnHostMessage(WPARAM nCode, LPARAM lParam) {
    switch (nCode) {
    case HostMessage::kDial:
        Log(L"Dial %s", reinterpret_cast<const wchar_t*>(lParam));
        break;
    case HostMessage::kAddToDirectory: {
        const auto* pRecord = reinterpret_cast<const HostEntryRecord*>(lParam);
        Log(L"Add to the phone directory: %s, %s, %s", pRecord->name.GetString(),
            pRecord->number.GetString(), pRecord->email.GetString());
        break;
    }
    case HostMessage::kWindowDestroyed:
        Log(L"The directory window (kind %d) has closed.", static_cast<int>(lParam));
        break;
    case HostMessage::kHelp:
        Log(L"Help requested.");
        break;
    case HostMessage::kDialConfirm: {
        // The record is ours now.
        auto* pRecord = reinterpret_cast<HostEntryRecord*>(lParam);
        Log(L"Dial after confirmation: %s, %s", pRecord->name.GetString(),
            pRecord->number.GetString());
        delete pRecord;
        break;
    }
    default:
        Log(L"Host message %u", static_cast<unsigned>(nCode));
        break;
    }
}

void CHostWindow::ShowNewEventRecords() {
    CArray<CEventRecord> records = m_eventLog.GetRecentRecords();
    // One notification comes per record; once the history is full, the newest
    // record is the one this notification stands for.
    int nNew =
        records.GetSize() < CEventLog::kHistorySize ? records.GetSize() - m_nEventRecordsShown : 1;
    for (int i = records.GetSize() - nNew; i < records.GetSize(); ++i) {
        const CEventRecord& record = records[i];
        CString text = record.strText;
        text.TrimRight();
        if (record.kind == EventKind::Event)
            Log(L"Event %u: %s", record.nCode, text.GetString());
        else
            Log(L"Trace: %s", text.GetString());
    }
    m_nEventRecordsShown = records.GetSize();
}

void CHostWindow::OnSize(int cx, int cy) {
    if (m_log.m_hWnd)
        ::MoveWindow(m_log.m_hWnd, 0, 0, cx, cy, TRUE);
}

LRESULT CHostWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case HostMessage::kId:
        OnHostMessage(wParam, lParam);
        return 0;
    case kEventLogMessage:
        ShowNewEventRecords();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        // The component goes before the window that receives its messages.
        m_pDirectorySearch->CloseDialogs();
        delete m_pDirectorySearch;
        m_pDirectorySearch = nullptr;
        m_eventLog.SetNotifyWindow(nullptr, 0);
        break;
    case WM_DESTROY:
        m_log.DestroyWindow();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CHostWindow::PostNcDestroy() {
    ::PostQuitMessage(0);
    delete this;
}
