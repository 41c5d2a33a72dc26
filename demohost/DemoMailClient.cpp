// The demo's mail program: scripts/demo registers it for "mailto:" addresses in
// the demo's Wine prefix, so that Send Email shows where the message would go.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR pszCommandLine, int) {
    std::wstring address = pszCommandLine ? pszCommandLine : L"";
    // The shell passes the address quoted.
    if (address.size() >= 2 && address.front() == L'"' && address.back() == L'"')
        address = address.substr(1, address.size() - 2);
    const std::wstring prefix = L"mailto:";
    if (address.compare(0, prefix.size(), prefix) == 0)
        address.erase(0, prefix.size());
    const std::wstring text = L"A new message would be written to:\n\n" + address;
    ::MessageBoxW(nullptr, text.c_str(), L"Mail (demo)", MB_OK | MB_ICONINFORMATION);
    return 0;
}
