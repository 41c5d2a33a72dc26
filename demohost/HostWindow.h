// The telephone application's main window, as far as the module is concerned: it
// owns the directory search component, answers the messages the module sends it and
// shows them, with the host's event log, in a log list.
#pragma once

#include "DirectorySearch.h"
#include "EventLog.h"
#include "Framework.h"
#include "Manager.h"
#include "Translation.h"

class CHostWindow : public CWnd {
public:
    CHostWindow();
    BOOL Create();
    // Adds a line to the window's log.
    void Log(const wchar_t* pszFormat, ...);
    void OpenDirectory();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    void PostNcDestroy() override;

private:
    void OnSize(int cx, int cy);
    void OnHostMessage(WPARAM nCode, LPARAM lParam);
    void ShowNewEventRecords();
    void OnOpenDirectory(UINT) { OpenDirectory(); }
    void OnCloseDirectory(UINT);
    void OnToggleCalls(UINT);
    void OnExit(UINT) { SendMessage(WM_CLOSE); }

    CListBox m_log;
    CFont m_font;
    CEventLog m_eventLog;
    CTranslation m_translation;
    CManager m_manager;
    CDirectorySearch* m_pDirectorySearch = nullptr;
    BOOL m_bCallsEnabled = TRUE;
    int m_nEventRecordsShown = 0;
};
