#include "Registry.h"

#include <vector>

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_hKey = other.m_hKey;
        other.m_hKey = nullptr;
    }
    return *this;
}

LONG CRegKey::Open(HKEY hParent, const wchar_t* pszPath, REGSAM access) {
    Close();
    return RegOpenKeyExW(hParent, pszPath, 0, access, &m_hKey);
}

LONG CRegKey::Create(HKEY hParent, const wchar_t* pszPath, REGSAM access) {
    Close();
    return RegCreateKeyExW(hParent, pszPath, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                           &m_hKey, nullptr);
}

void CRegKey::Close() {
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

BOOL CRegKey::QueryString(const wchar_t* pszName, CString& value) const {
    DWORD type = 0, bytes = 0;
    if (!m_hKey ||
        RegQueryValueExW(m_hKey, pszName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return FALSE;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return FALSE;
    // Room for a terminator the stored data may lack.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(m_hKey, pszName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return FALSE;
    value =
        CString(buffer.data(), static_cast<int>(wcsnlen(buffer.data(), size / sizeof(wchar_t))));
    return TRUE;
}

BOOL CRegKey::QueryDword(const wchar_t* pszName, DWORD& value) const {
    DWORD type = 0, data = 0, size = sizeof(data);
    if (!m_hKey || RegQueryValueExW(m_hKey, pszName, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                                    &size) != ERROR_SUCCESS)
        return FALSE;
    if (type != REG_DWORD || size != sizeof(DWORD))
        return FALSE;
    value = data;
    return TRUE;
}

LONG CRegKey::SetString(const wchar_t* pszName, const wchar_t* pszValue) {
    const wchar_t* text = pszValue ? pszValue : L"";
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG CRegKey::SetDword(const wchar_t* pszName, DWORD value) {
    return RegSetValueExW(m_hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value));
}

LONG CRegKey::DeleteValue(const wchar_t* pszName) {
    return RegDeleteValueW(m_hKey, pszName);
}

LONG CRegKey::DeleteSubKeyTree(const wchar_t* pszChild) {
    // RegDeleteTree would empty the key itself for an empty name; only a named
    // child is ever removed here.
    if (!pszChild || !*pszChild)
        return ERROR_INVALID_PARAMETER;
    return RegDeleteTreeW(m_hKey, pszChild);
}

void CRegKey::EnumSubKeys(CNodeList<CString>& names) const {
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(m_hKey, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.AddTail(CString(name, static_cast<int>(length)));
    }
}

std::vector<CRegValue> CRegKey::ReadValues(DWORD* pnSubKeys) const {
    std::vector<CRegValue> values;
    DWORD nSubKeys = 0, nValues = 0, nMaxName = 0, nMaxData = 0;
    if (::RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr,
                           &nValues, &nMaxName, &nMaxData, nullptr, nullptr) != ERROR_SUCCESS)
        nSubKeys = nValues = 0;
    if (pnSubKeys)
        *pnSubKeys = nSubKeys;
    std::vector<wchar_t> name(nMaxName + 1);
    for (DWORD i = 0; i < nValues; ++i) {
        CRegValue value{CString(), REG_NONE, std::vector<BYTE>(nMaxData)};
        DWORD nName = nMaxName + 1, nData = nMaxData;
        if (::RegEnumValueW(m_hKey, i, name.data(), &nName, nullptr, &value.type,
                            value.data.data(), &nData) != ERROR_SUCCESS)
            break;
        value.name = CString(name.data(), static_cast<int>(nName));
        value.data.resize(nData);
        values.push_back(std::move(value));
    }
    return values;
}

LONG CRegKey::SetValue(const CRegValue& value) {
    return ::RegSetValueExW(m_hKey, value.name, 0, value.type, value.data.data(),
                            static_cast<DWORD>(value.data.size()));
}

void CRegKey::EnumValueNames(CNodeList<CString>& names) const {
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = 16384;
        if (RegEnumValueW(m_hKey, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.AddTail(CString(name, static_cast<int>(length)));
    }
}
