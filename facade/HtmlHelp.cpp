#include "HtmlHelp.h"

namespace {

const wchar_t kHtmlHelpServerKey[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

HMODULE LoadRegisteredServer(CHtmlHelpBinding::LoadLibraryFunc pfnLoad) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return nullptr;
    wchar_t path[MAX_PATH + 1] = L"";
    DWORD type = 0, size = MAX_PATH * sizeof(wchar_t);
    LONG result =
        RegQueryValueExW(hKey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(hKey);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || !path[0])
        return nullptr;
    return pfnLoad(path);
}

} // namespace

HtmlHelpProc CHtmlHelpBinding::Resolve() {
    if (m_bTried)
        return m_pfnHtmlHelp;
    m_bTried = true;
    HMODULE hLibrary = LoadRegisteredServer(m_pfnLoad);
    if (!hLibrary)
        hLibrary = m_pfnLoad(L"hhctrl.ocx");
    if (hLibrary) {
        // Kept loaded for the life of the process once bound.
        m_pfnHtmlHelp = reinterpret_cast<HtmlHelpProc>(
            reinterpret_cast<void*>(GetProcAddress(hLibrary, MAKEINTRESOURCEA(15))));
    }
    return m_pfnHtmlHelp;
}

HWND CHtmlHelpBinding::Call(HWND hCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData) {
    HtmlHelpProc pfn = Resolve();
    return pfn ? pfn(hCaller, pszFile, uCommand, dwData) : nullptr;
}

HWND HtmlHelpW(HWND hCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData) {
    static CHtmlHelpBinding binding;
    return binding.Call(hCaller, pszFile, uCommand, dwData);
}
