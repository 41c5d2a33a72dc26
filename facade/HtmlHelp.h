// Binding to the platform's HTML Help at its first use.
#pragma once

#include <windows.h>

using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// Finds HtmlHelpW once: the library registered for the HTML Help control class,
// then "hhctrl.ocx" by name; the export with ordinal 15. A failed search is
// remembered and not repeated.
class CHtmlHelpBinding {
public:
    using LoadLibraryFunc = HMODULE(WINAPI*)(LPCWSTR);

    explicit CHtmlHelpBinding(LoadLibraryFunc pfnLoad = ::LoadLibraryW) : m_pfnLoad(pfnLoad) {}
    CHtmlHelpBinding(const CHtmlHelpBinding&) = delete;
    CHtmlHelpBinding& operator=(const CHtmlHelpBinding&) = delete;

    // Null when HTML Help is not available.
    HWND Call(HWND hCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData);
    HtmlHelpProc Resolve();

private:
    LoadLibraryFunc m_pfnLoad;
    HtmlHelpProc m_pfnHtmlHelp = nullptr;
    bool m_bTried = false;
};

// The module's one binding.
HWND HtmlHelpW(HWND hCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData);
