// Registry helpers for tests: a product key of the test's own, removed with all it
// holds before and after the test, and plain registry-API readers and writers, so
// that a test sees the stored layout without going through the code under test.
// Paths are relative to HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

class CRegistrySandbox {
public:
    explicit CRegistrySandbox(std::wstring productKey) : m_productKey(std::move(productKey)) {
        Clear();
    }
    ~CRegistrySandbox() { Clear(); }
    CRegistrySandbox(const CRegistrySandbox&) = delete;
    CRegistrySandbox& operator=(const CRegistrySandbox&) = delete;

    const std::wstring& ProductKey() const { return m_productKey; }
    // Software\Tovana\<product key>.
    std::wstring Root() const { return L"Software\\Tovana\\" + m_productKey; }
    std::wstring Path(const std::wstring& relative) const { return Root() + L"\\" + relative; }

private:
    void Clear() const { ::RegDeleteTreeW(HKEY_CURRENT_USER, Root().c_str()); }
    std::wstring m_productKey;
};

struct RawValue {
    DWORD nType = REG_NONE;
    std::vector<BYTE> data;
};

inline bool KeyExists(const std::wstring& path) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

inline bool ReadRaw(const std::wstring& path, const wchar_t* pszName, RawValue& value) {
    DWORD nSize = 0;
    const DWORD nFlags = RRF_RT_ANY | RRF_NOEXPAND;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), pszName, nFlags, &value.nType, nullptr,
                       &nSize) != ERROR_SUCCESS)
        return false;
    value.data.resize(nSize);
    return ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), pszName, nFlags, &value.nType,
                          value.data.data(), &nSize) == ERROR_SUCCESS;
}

// The text of a REG_SZ value, without its terminator; "<missing>" or "<type N>"
// when there is no such text value.
inline std::wstring ReadRawText(const std::wstring& path, const wchar_t* pszName) {
    RawValue value;
    if (!ReadRaw(path, pszName, value))
        return L"<missing>";
    if (value.nType != REG_SZ)
        return L"<type " + std::to_wstring(value.nType) + L">";
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                      value.data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

// A REG_DWORD value as a signed number; false when missing or of another kind.
inline bool ReadRawNumber(const std::wstring& path, const wchar_t* pszName, int& nValue) {
    RawValue value;
    if (!ReadRaw(path, pszName, value) || value.nType != REG_DWORD || value.data.size() != 4)
        return false;
    std::memcpy(&nValue, value.data.data(), sizeof(nValue));
    return true;
}

// Creates the key when it is missing; with a name, writes that value.
inline void WriteRaw(const std::wstring& path, const wchar_t* pszName = nullptr,
                     DWORD nType = REG_NONE, const void* pData = nullptr, DWORD nSize = 0) {
    HKEY hKey = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                      nullptr);
    if (pszName)
        ::RegSetValueExW(hKey, pszName, 0, nType, static_cast<const BYTE*>(pData), nSize);
    ::RegCloseKey(hKey);
}

inline void WriteRawText(const std::wstring& path, const wchar_t* pszName,
                         const std::wstring& text) {
    WriteRaw(path, pszName, REG_SZ, text.c_str(),
             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline void WriteRawNumber(const std::wstring& path, const wchar_t* pszName, DWORD nValue) {
    WriteRaw(path, pszName, REG_DWORD, &nValue, sizeof(nValue));
}

// Value names, or sub-key names, of a key in the registry's enumeration order.
inline std::vector<std::wstring> RawNames(const std::wstring& path, bool bSubKeys) {
    std::vector<std::wstring> names;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD nLength = static_cast<DWORD>(name.size());
        LONG nResult = bSubKeys ? ::RegEnumKeyExW(hKey, i, name.data(), &nLength, nullptr, nullptr,
                                                  nullptr, nullptr)
                                : ::RegEnumValueW(hKey, i, name.data(), &nLength, nullptr, nullptr,
                                                  nullptr, nullptr);
        if (nResult != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), nLength);
    }
    ::RegCloseKey(hKey);
    return names;
}

inline std::vector<std::wstring> RawValueNames(const std::wstring& path) {
    return RawNames(path, false);
}

inline std::vector<std::wstring> RawSubKeyNames(const std::wstring& path) {
    return RawNames(path, true);
}

// Every value under path as "sub\key|name" -> type and bytes.
using RawTree = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
inline RawTree ReadRawTree(const std::wstring& path) {
    RawTree tree;
    for (const std::wstring& name : RawValueNames(path)) {
        RawValue value;
        ReadRaw(path, name.c_str(), value);
        tree[L"|" + name] = {value.nType, value.data};
    }
    for (const std::wstring& key : RawSubKeyNames(path)) {
        for (auto& [name, value] : ReadRawTree(path + L"\\" + key))
            tree[key + (name[0] == L'|' ? L"" : L"\\") + name] = value;
    }
    return tree;
}
