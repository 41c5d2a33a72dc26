// The search window's way to its Customize Search & Display window (ICustomizeSearch),
// plugged in by the façade when it creates the window.
#pragma once

#include "LdapCustomizeSearchDlg.h"

#include "CustomizeSearch.h"

class CCustomizeSearchLink : public ICustomizeSearch {
public:
    CCustomizeSearchLink(CDirectorySearchDialog& window,
                         CLdapCustomizeSearchDlg::HelpFunction pfnHelp)
        : m_window(window), m_pfnHelp(pfnHelp) {}

    void Open() override { CLdapCustomizeSearchDlg::Open(&m_window, m_pfnHelp); }
    void Release() override { CLdapCustomizeSearchDlg::Release(&m_window); }

private:
    CDirectorySearchDialog& m_window;
    CLdapCustomizeSearchDlg::HelpFunction m_pfnHelp;
};
