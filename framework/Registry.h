// CRegKey: an owned registry key handle with the few value operations the
// framework and the host support library need.
#pragma once

#include "Collections.h"

#include <vector>

// One value as stored: its name, kind and bytes.
struct CRegValue {
    CString name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class FW_API CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(CRegKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    CRegKey& operator=(CRegKey&& other) noexcept;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // Opens an existing key; ERROR_SUCCESS or the registry's error code.
    LONG Open(HKEY hParent, const wchar_t* pszPath, REGSAM access = KEY_READ);
    // Opens the key, creating it and any missing parents.
    LONG Create(HKEY hParent, const wchar_t* pszPath, REGSAM access = KEY_READ | KEY_WRITE);
    void Close();
    operator HKEY() const { return m_hKey; }
    bool IsOpen() const { return m_hKey != nullptr; }

    // Text values: REG_SZ and REG_EXPAND_SZ (unexpanded). FALSE for other kinds.
    BOOL QueryString(const wchar_t* pszName, CString& value) const;
    // Integer values: REG_DWORD only. FALSE for other kinds.
    BOOL QueryDword(const wchar_t* pszName, DWORD& value) const;
    LONG SetString(const wchar_t* pszName, const wchar_t* pszValue);
    LONG SetDword(const wchar_t* pszName, DWORD value);
    LONG DeleteValue(const wchar_t* pszName);
    // Every value, in the registry's order, read in one pass; pnSubKeys, if given,
    // receives the number of sub-keys.
    std::vector<CRegValue> ReadValues(DWORD* pnSubKeys = nullptr) const;
    LONG SetValue(const CRegValue& value);
    // Deletes the named child with all its values and sub-keys.
    LONG DeleteSubKeyTree(const wchar_t* pszChild);

    // Names of the direct sub-keys and of the values, in the registry's order.
    void EnumSubKeys(CNodeList<CString>& names) const;
    void EnumValueNames(CNodeList<CString>& names) const;

private:
    HKEY m_hKey = nullptr;
};
