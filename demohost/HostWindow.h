// The telephone application's main window, as far as the module is concerned: it
// owns the module, shows what the module asks of it and routes its messages.
#pragma once

#include "Framework.h"

class CHostWindow : public CWnd {
public:
    BOOL Create();
    // Adds a line to the window's log of module and host events.
    void Log(const wchar_t* pszFormat, ...);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {
        ::PostQuitMessage(0);
        delete this;
    }

private:
    void OnSize(int cx, int cy);
    CListBox m_log;
    CFont m_font;
};
