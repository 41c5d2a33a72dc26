// The telephone application's main window, as far as the directory search module is
// concerned: it owns the component and the services it lends it, opens the Directory
// Search window from a button and a menu, answers every message the module sends
// (a call is placed, an entry joins the phone directory, help is shown, the window
// has closed), lets the user change the settings the module reads, and shows the
// host's event log and trace lines.
#pragma once

#include "DirectorySearch.h"
#include "EventLog.h"
#include "Framework.h"
#include "HostSettings.h"
#include "Manager.h"
#include "Translation.h"

// What the host has done for the module so far, for the tour's checks.
struct CHostActivity {
    int nCalls = 0;          // host messages 11 and 36
    CString strLastNumber;   // the number last called
    CString strLastName;     // the name that came with it (36 only)
    int nRecordsFreed = 0;   // records of message 36, which the host frees
    int nHelpRequests = 0;   // host message 19
    int nWindowsClosed = 0;  // host message 15
    int nLastClosedKind = 0; // its window kind
};

class CHostWindow : public CWnd {
public:
    CHostWindow();
    BOOL Create();
    // Adds a time-stamped line to the activity log.
    void Log(const wchar_t* pszFormat, ...);
    void OpenDirectory();

    const CHostActivity& Activity() const { return m_activity; }
    // The telephone's own phone directory, where host message 12 adds entries.
    const CListCtrl& PhoneDirectory() const { return m_phoneDirectory; }
    HWND SearchButton() const { return m_searchButton.m_hWnd; }
    // The Directory Search window, or null when none is open.
    HWND DirectoryWindow() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    void PostNcDestroy() override;

private:
    void CreateControls();
    void OnSize(int cx, int cy);
    void OnInitMenuPopup();
    void OnHostMessage(WPARAM nCode, LPARAM lParam);
    void PlaceCall(const CString& number, const CString& name);
    void AddToPhoneDirectory(const HostEntryRecord& record);
    void ShowNewEventRecords();
    void ShowOnDisplay(const CString& text);
    void NoteNextOpen(const wchar_t* pszWhat, BOOL bOn);

    void OnOpenDirectory(UINT) { OpenDirectory(); }
    void OnCloseDirectory(UINT);
    void OnToggleCalls(UINT);
    void OnToggleSetting(UINT nID);
    void OnLanguage(UINT nID);
    void OnExit(UINT) { SendMessage(WM_CLOSE); }

    CButton m_searchButton;
    CWnd m_display;
    CWnd m_phoneDirectoryLabel;
    CListCtrl m_phoneDirectory;
    CWnd m_logLabel;
    CListBox m_log;
    CFont m_uiFont;
    // The font the host lends the module for its list and search box.
    CFont m_nativeFont;
    CEventLog m_eventLog;
    CTranslation m_translation;
    CManager m_manager;
    CHostSettings m_settings;
    CDirectorySearch* m_pDirectorySearch = nullptr;
    CWnd* m_pDirectoryWindow = nullptr;
    BOOL m_bCallsEnabled = TRUE;
    int m_nEventRecordsShown = 0;
    CHostActivity m_activity;
};
