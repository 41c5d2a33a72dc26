#include "LdapUrl.h"

#include <cwctype>

namespace {

int HexDigit(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    ch = static_cast<wchar_t>(std::towlower(ch));
    return ch >= L'a' && ch <= L'f' ? ch - L'a' + 10 : -1;
}

// A DN with its %XX escapes (of UTF-8 bytes) decoded.
CString Unescape(const std::wstring& text) {
    const std::string escaped = CString(text).ToUtf8();
    std::string bytes;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && HexDigit(escaped[i + 1]) >= 0 &&
            HexDigit(escaped[i + 2]) >= 0) {
            bytes += static_cast<char>(HexDigit(escaped[i + 1]) * 16 + HexDigit(escaped[i + 2]));
            i += 2;
        } else {
            bytes += escaped[i];
        }
    }
    return CString(bytes.c_str()); // as far as a decoded NUL, if any
}

} // namespace

bool ParseLdapUrl(const CString& url, CLdapUrl& parsed) {
    const std::wstring text = url.str();
    const std::wstring scheme = L"ldap://";
    if (text.size() < scheme.size() || _wcsnicmp(text.c_str(), scheme.c_str(), scheme.size()) != 0)
        return false;
    const size_t hostStart = scheme.size();
    const size_t slash = text.find(L'/', hostStart);
    std::wstring hostPort = text.substr(hostStart, slash - hostStart);
    CLdapUrl result;
    // [v6 address]:port, or name:port.
    const size_t close = hostPort[0] == L'[' ? hostPort.find(L']') : 0;
    if (close == std::wstring::npos)
        return false;
    const size_t colon = hostPort.find(L':', close);
    result.host = CString(hostPort.substr(0, colon).c_str());
    if (colon != std::wstring::npos) {
        const std::wstring port = hostPort.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of(L"0123456789") != port.npos)
            return false;
        result.port = std::stoi(port);
        if (result.port < 1 || result.port > 65535)
            return false;
    }
    if (slash != std::wstring::npos)
        result.dn = Unescape(text.substr(slash + 1, text.find(L'?', slash) - slash - 1));
    parsed = result;
    return true;
}
