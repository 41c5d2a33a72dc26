#include "HostWindow.h"

#include "Options.h"

#include <cstdarg>

namespace {

const UINT kEventLogMessage = WM_APP + 1;

enum : UINT {
    IDC_SEARCH_BUTTON = 100,
    IDC_DISPLAY,
    IDC_PHONE_DIRECTORY,
    IDC_LOG,
    ID_OPEN_DIRECTORY = 200,
    ID_CLOSE_DIRECTORY,
    ID_EXIT,
    ID_CALLS_ENABLED,
    ID_CONFIRM_DIAL,
    ID_PHONE_DIRECTORY_ACCESS,
    ID_PUBLIC_SEARCH_ACCESS,
    ID_ADVANCED_SEARCH,
    ID_LANGUAGE_ENGLISH,
    ID_LANGUAGE_GERMAN,
};

constexpr int kMargin = 8;
constexpr int kButtonWidth = 150;
constexpr int kRowHeight = 26;
constexpr int kLabelHeight = 18;

HMENU BuildMenuBar() {
    HMENU hPhone = ::CreatePopupMenu();
    ::AppendMenuW(hPhone, MF_STRING, ID_OPEN_DIRECTORY, L"&Search Directory...");
    ::AppendMenuW(hPhone, MF_STRING, ID_CLOSE_DIRECTORY, L"&Close Directory Window");
    ::AppendMenuW(hPhone, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hPhone, MF_STRING, ID_EXIT, L"E&xit");
    HMENU hLanguage = ::CreatePopupMenu();
    ::AppendMenuW(hLanguage, MF_STRING, ID_LANGUAGE_ENGLISH, L"&English");
    ::AppendMenuW(hLanguage, MF_STRING, ID_LANGUAGE_GERMAN, L"&Deutsch");
    HMENU hOptions = ::CreatePopupMenu();
    ::AppendMenuW(hOptions, MF_STRING, ID_CALLS_ENABLED, L"&Calls Enabled");
    ::AppendMenuW(hOptions, MF_STRING, ID_CONFIRM_DIAL, L"C&onfirm Before Dialling");
    ::AppendMenuW(hOptions, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hOptions, MF_STRING, ID_PHONE_DIRECTORY_ACCESS,
                  L"Access to the &Phone Directory");
    ::AppendMenuW(hOptions, MF_STRING, ID_PUBLIC_SEARCH_ACCESS, L"Access to the P&ublic Search");
    ::AppendMenuW(hOptions, MF_STRING, ID_ADVANCED_SEARCH, L"&Advanced Search");
    ::AppendMenuW(hOptions, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hOptions, MF_POPUP, reinterpret_cast<UINT_PTR>(hLanguage), L"&Language");
    // The window destroys its menu bar, and the popups with it.
    HMENU hMenuBar = ::CreateMenu();
    ::AppendMenuW(hMenuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPhone), L"&Phone");
    ::AppendMenuW(hMenuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hOptions), L"&Options");
    return hMenuBar;
}

HMENU ChildId(UINT nID) {
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
}

} // namespace

CHostWindow::CHostWindow()
    : m_translation(COptions::GetOptions()), m_settings(*COptions::GetOptions()) {}

BOOL CHostWindow::Create() {
    if (!CreateEx(0, nullptr, L"Tovana Softphone", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 560,
                  760, 440, nullptr, BuildMenuBar()))
        return FALSE;
    CreateControls();
    RECT rc;
    GetClientRect(&rc);
    OnSize(rc.right, rc.bottom);

    // The host's services, lent to the component: the setters first, then the calls
    // flag, then the window may be shown.
    m_eventLog.SetNotifyWindow(m_hWnd, kEventLogMessage);
    m_pDirectorySearch = new CDirectorySearch(m_hWnd);
    m_pDirectorySearch->SetManager(&m_manager);
    m_pDirectorySearch->SetNativeFont(&m_nativeFont);
    m_pDirectorySearch->SetEventLog(&m_eventLog);
    m_pDirectorySearch->SetTranslation(&m_translation);
    m_pDirectorySearch->EnableCalls(m_bCallsEnabled);
    ShowOnDisplay(L"Ready");
    return TRUE;
}

void CHostWindow::CreateControls() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_uiFont.CreateFontIndirect(&metrics.lfMessageFont);
    // Names come in every script: the module shows them in the dialog font, whose
    // substitute on this system covers them.
    LOGFONTW names = metrics.lfMessageFont;
    wcscpy_s(names.lfFaceName, L"MS Shell Dlg");
    m_nativeFont.CreateFontIndirect(&names);

    const DWORD child = WS_CHILD | WS_VISIBLE;
    m_searchButton.CreateEx(0, L"BUTTON", L"Search &Directory...", child | WS_TABSTOP, 0, 0, 0, 0,
                            m_hWnd, ChildId(IDC_SEARCH_BUTTON));
    m_display.CreateEx(WS_EX_STATICEDGE, L"STATIC", nullptr,
                       child | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0, 0, 0, 0, m_hWnd,
                       ChildId(IDC_DISPLAY));
    m_phoneDirectoryLabel.CreateEx(0, L"STATIC", L"Phone directory", child, 0, 0, 0, 0, m_hWnd,
                                   nullptr);
    m_phoneDirectory.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                              child | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                              m_hWnd, ChildId(IDC_PHONE_DIRECTORY));
    m_logLabel.CreateEx(0, L"STATIC", L"Activity", child, 0, 0, 0, 0, m_hWnd, nullptr);
    m_log.CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                   child | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0, 0, m_hWnd,
                   ChildId(IDC_LOG));
    for (CWnd* pControl : {static_cast<CWnd*>(&m_searchButton), &m_display, &m_phoneDirectoryLabel,
                           &m_logLabel, static_cast<CWnd*>(&m_log)})
        pControl->SetFont(m_uiFont);
    m_phoneDirectory.SetFont(m_nativeFont);
    m_phoneDirectory.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_phoneDirectory.InsertColumn(0, L"Name", LVCFMT_LEFT, 220);
    m_phoneDirectory.InsertColumn(1, L"Number", LVCFMT_LEFT, 160);
    m_phoneDirectory.InsertColumn(2, L"E-mail", LVCFMT_LEFT, 240);
}

void CHostWindow::OnSize(int cx, int cy) {
    if (!m_log.m_hWnd)
        return;
    const int nWidth = cx - 2 * kMargin;
    int y = kMargin;
    ::MoveWindow(m_searchButton, kMargin, y, kButtonWidth, kRowHeight, TRUE);
    ::MoveWindow(m_display, 2 * kMargin + kButtonWidth, y, nWidth - kButtonWidth - kMargin,
                 kRowHeight, TRUE);
    y += kRowHeight + kMargin;
    const int nListsHeight = cy - y - 2 * kLabelHeight - kMargin;
    const int nDirectoryHeight = nListsHeight * 2 / 5;
    ::MoveWindow(m_phoneDirectoryLabel, kMargin, y, nWidth, kLabelHeight, TRUE);
    y += kLabelHeight;
    ::MoveWindow(m_phoneDirectory, kMargin, y, nWidth, nDirectoryHeight, TRUE);
    y += nDirectoryHeight;
    ::MoveWindow(m_logLabel, kMargin, y + 2, nWidth, kLabelHeight, TRUE);
    y += kLabelHeight;
    ::MoveWindow(m_log, kMargin, y, nWidth, cy - y - kMargin, TRUE);
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

void CHostWindow::ShowOnDisplay(const CString& text) {
    m_display.SetWindowText(L"  " + text);
}

HWND CHostWindow::DirectoryWindow() const {
    return m_pDirectoryWindow ? m_pDirectoryWindow->m_hWnd : nullptr;
}

void CHostWindow::OpenDirectory() {
    m_pDirectoryWindow = m_pDirectorySearch->DisplaySearchDialog();
    if (!m_pDirectoryWindow)
        Log(L"The Directory Search window could not be opened.");
}

void CHostWindow::OnCloseDirectory(UINT) {
    m_pDirectorySearch->CloseDialogs();
}

void CHostWindow::OnToggleCalls(UINT) {
    m_bCallsEnabled = !m_bCallsEnabled;
    m_pDirectorySearch->EnableCalls(m_bCallsEnabled);
    Log(L"Calls %s.", m_bCallsEnabled ? L"enabled" : L"disabled");
}

void CHostWindow::NoteNextOpen(const wchar_t* pszWhat, BOOL bOn) {
    Log(L"%s %s; the Directory Search window reads it when it opens.", pszWhat,
        bOn ? L"on" : L"off");
}

void CHostWindow::OnToggleSetting(UINT nID) {
    switch (nID) {
    case ID_CONFIRM_DIAL:
        m_settings.SetConfirmDial(!m_settings.ConfirmDial());
        Log(L"Confirm before dialling %s: the module sends %s.",
            m_settings.ConfirmDial() ? L"on" : L"off",
            m_settings.ConfirmDial() ? L"the name and number (36)" : L"the number alone (11)");
        break;
    case ID_PHONE_DIRECTORY_ACCESS:
        m_settings.SetPhoneDirectoryAccess(!m_settings.PhoneDirectoryAccess());
        NoteNextOpen(L"Access to the phone directory (option 115)",
                     m_settings.PhoneDirectoryAccess());
        break;
    case ID_PUBLIC_SEARCH_ACCESS:
        m_settings.SetPublicSearchAccess(!m_settings.PublicSearchAccess());
        NoteNextOpen(L"Access to the public search (option 117)", m_settings.PublicSearchAccess());
        break;
    case ID_ADVANCED_SEARCH:
        m_settings.SetAdvancedSearch(!m_settings.AdvancedSearch());
        NoteNextOpen(L"Advanced search (option 196)", m_settings.AdvancedSearch());
        break;
    default:
        break;
    }
}

void CHostWindow::OnLanguage(UINT nID) {
    m_settings.SetGerman(nID == ID_LANGUAGE_GERMAN);
    Log(L"Language (option 110): %s; the Directory Search window takes it when it opens.",
        m_settings.German() ? L"Deutsch" : L"English");
}

void CHostWindow::OnInitMenuPopup() {
    HMENU hMenu = GetMenu();
    auto check = [hMenu](UINT nID, BOOL bOn) {
        ::CheckMenuItem(hMenu, nID, MF_BYCOMMAND | (bOn ? MF_CHECKED : MF_UNCHECKED));
    };
    check(ID_CALLS_ENABLED, m_bCallsEnabled);
    check(ID_CONFIRM_DIAL, m_settings.ConfirmDial());
    check(ID_PHONE_DIRECTORY_ACCESS, m_settings.PhoneDirectoryAccess());
    check(ID_PUBLIC_SEARCH_ACCESS, m_settings.PublicSearchAccess());
    check(ID_ADVANCED_SEARCH, m_settings.AdvancedSearch());
    ::CheckMenuRadioItem(hMenu, ID_LANGUAGE_ENGLISH, ID_LANGUAGE_GERMAN,
                         m_settings.German() ? ID_LANGUAGE_GERMAN : ID_LANGUAGE_ENGLISH,
                         MF_BYCOMMAND);
    ::EnableMenuItem(hMenu, ID_CLOSE_DIRECTORY,
                     MF_BYCOMMAND | (m_pDirectoryWindow ? MF_ENABLED : MF_GRAYED));
}

BOOL CHostWindow::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CHostWindow> map[] = {
        {IDC_SEARCH_BUTTON, IDC_SEARCH_BUTTON, &CHostWindow::OnOpenDirectory, nullptr},
        {ID_OPEN_DIRECTORY, ID_OPEN_DIRECTORY, &CHostWindow::OnOpenDirectory, nullptr},
        {ID_CLOSE_DIRECTORY, ID_CLOSE_DIRECTORY, &CHostWindow::OnCloseDirectory, nullptr},
        {ID_EXIT, ID_EXIT, &CHostWindow::OnExit, nullptr},
        {ID_CALLS_ENABLED, ID_CALLS_ENABLED, &CHostWindow::OnToggleCalls, nullptr},
        {ID_CONFIRM_DIAL, ID_ADVANCED_SEARCH, &CHostWindow::OnToggleSetting, nullptr},
        {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_GERMAN, &CHostWindow::OnLanguage, nullptr},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI) || CWnd::OnCmdMsg(nID, nCode, pCmdUI);
}

void CHostWindow::PlaceCall(const CString& number, const CString& name) {
    ++m_activity.nCalls;
    m_activity.strLastNumber = number;
    m_activity.strLastName = name;
    CString text;
    if (name.IsEmpty())
        text.Format(L"Calling %s ...", number.GetString());
    else
        text.Format(L"Calling %s  (%s) ...", number.GetString(), name.GetString());
    ShowOnDisplay(text);
    Log(L"%s", text.GetString());
}

void CHostWindow::AddToPhoneDirectory(const HostEntryRecord& record) {
    // The record is the module's and goes when this message returns: keep copies.
    const int nRow = m_phoneDirectory.InsertItem(m_phoneDirectory.GetItemCount(), record.name);
    m_phoneDirectory.SetItemText(nRow, 1, record.number);
    m_phoneDirectory.SetItemText(nRow, 2, record.email);
    m_phoneDirectory.EnsureVisible(nRow, FALSE);
    Log(L"Added to the phone directory: %s, %s, %s", record.name.GetString(),
        record.number.GetString(), record.email.GetString());
}

void CHostWindow::OnHostMessage(WPARAM nCode, LPARAM lParam) {
    switch (nCode) {
    case HostMessage::kDial:
        PlaceCall(reinterpret_cast<const wchar_t*>(lParam), CString());
        break;
    case HostMessage::kDialConfirm: {
        // This record is ours to free.
        auto* pRecord = reinterpret_cast<HostEntryRecord*>(lParam);
        PlaceCall(pRecord->number, pRecord->name);
        delete pRecord;
        ++m_activity.nRecordsFreed;
        break;
    }
    case HostMessage::kAddToDirectory:
        AddToPhoneDirectory(*reinterpret_cast<const HostEntryRecord*>(lParam));
        break;
    case HostMessage::kHelp:
        ++m_activity.nHelpRequests;
        ShowOnDisplay(L"Help: Directory Search. Type a name and press Enter; double-click a "
                      L"person to call.");
        Log(L"Help requested for the Directory Search window.");
        break;
    case HostMessage::kWindowDestroyed:
        ++m_activity.nWindowsClosed;
        m_activity.nLastClosedKind = static_cast<int>(lParam);
        m_pDirectoryWindow = nullptr;
        Log(L"The Directory Search window (kind %d) has closed.", static_cast<int>(lParam));
        break;
    default:
        Log(L"Unknown host message %u.", static_cast<unsigned>(nCode));
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
    case WM_INITMENUPOPUP:
        OnInitMenuPopup();
        return 0;
    case WM_CLOSE:
        // The component goes before the window that receives its messages.
        m_pDirectorySearch->CloseDialogs();
        delete m_pDirectorySearch;
        m_pDirectorySearch = nullptr;
        m_eventLog.SetNotifyWindow(nullptr, 0);
        break;
    case WM_DESTROY:
        for (CWnd* pControl :
             {static_cast<CWnd*>(&m_searchButton), &m_display, &m_phoneDirectoryLabel,
              static_cast<CWnd*>(&m_phoneDirectory), &m_logLabel, static_cast<CWnd*>(&m_log)})
            pControl->DestroyWindow();
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
