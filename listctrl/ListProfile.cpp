#include "ListProfile.h"

#include "Options.h"
#include "Registry.h"
#include "WinApp.h"

#include <cwchar>

namespace {

// Gives the key exactly the wanted values. When the names are those stored, in the
// same order, only changed data is written; otherwise the values are written
// afresh, so that they are listed in the order a fresh write gives.
void SyncValues(CRegKey& key, const std::vector<CRegValue>& stored,
                const std::vector<CRegValue>& wanted) {
    bool bSameNames = stored.size() == wanted.size();
    for (size_t i = 0; bSameNames && i < wanted.size(); ++i)
        bSameNames = stored[i].name == wanted[i].name;
    if (bSameNames) {
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (stored[i].type != wanted[i].type || stored[i].data != wanted[i].data)
                key.SetValue(wanted[i]);
        }
        return;
    }
    for (const auto& value : stored)
        key.DeleteValue(value.name);
    for (const auto& value : wanted)
        key.SetValue(value);
}

// Deletes the children of hKey other than the first nKept column keys.
void DeleteChildrenExcept(HKEY hKey, int nKept) {
    std::vector<CString> doomed;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD nName = 256;
        if (::RegEnumKeyExW(hKey, i, name, &nName, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        bool bKept = false;
        for (int k = 0; k < nKept && !bKept; ++k)
            bKept = CListProfile::ColumnKeyName(k) == name;
        if (!bKept)
            doomed.emplace_back(name, static_cast<int>(nName));
    }
    for (const CString& child : doomed)
        ::RegDeleteTreeW(hKey, child);
}

} // namespace

void CProfileValues::AddInt(LPCTSTR pszName, int nValue) {
    const auto nData = static_cast<DWORD>(nValue);
    const auto* p = reinterpret_cast<const BYTE*>(&nData);
    m_values.push_back({pszName, REG_DWORD, std::vector<BYTE>(p, p + sizeof(nData))});
}

void CProfileValues::AddString(LPCTSTR pszName, LPCTSTR pszValue) {
    const wchar_t* pszText = pszValue ? pszValue : L"";
    const auto* p = reinterpret_cast<const BYTE*>(pszText);
    m_values.push_back(
        {pszName, REG_SZ, std::vector<BYTE>(p, p + (wcslen(pszText) + 1) * sizeof(wchar_t))});
}

CListProfile::CListProfile(CModuleState* pState, const CString& strName)
    : m_pState(pState), m_strName(strName) {}

CString CListProfile::ListKey() const {
    CString szKey;
    szKey.Format(L"ListControl\\%s", m_strName.GetString());
    return szKey;
}

CString CListProfile::ColumnKey(int nIndex) const {
    return ListKey() + L"\\" + ColumnKeyName(nIndex);
}

CString CListProfile::LocalizedColumnKey(int nIndex) const {
    CString szKey;
    szKey.Format(L"ListControl\\%s-intl", m_strName.GetString());
    return szKey + L"\\" + ColumnKeyName(nIndex);
}

CString CListProfile::ColumnKeyName(int nIndex) {
    CString szName;
    szName.Format(L"Column %d", nIndex);
    return szName;
}

CWinApp* CListProfile::App() const {
    AFX_MANAGE_STATE(m_pState);
    return AfxGetApp();
}

int CListProfile::GetInt(const CString& szKey, LPCTSTR pszEntry, int nDefault) const {
    CWinApp* pApp = App();
    return pApp ? static_cast<int>(pApp->GetProfileInt(szKey, pszEntry, nDefault)) : nDefault;
}

CString CListProfile::GetString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszDefault) const {
    CWinApp* pApp = App();
    return pApp ? pApp->GetProfileString(szKey, pszEntry, pszDefault) : CString(pszDefault);
}

void CListProfile::WriteInt(const CString& szKey, LPCTSTR pszEntry, int nValue) const {
    if (CWinApp* pApp = App())
        pApp->WriteProfileInt(szKey, pszEntry, nValue);
}

void CListProfile::WriteString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszValue) const {
    if (CWinApp* pApp = App())
        pApp->WriteProfileString(szKey, pszEntry, pszValue);
}

void CListProfile::DeleteKey(LPCTSTR pszKey, LPCTSTR pszChild) {
    COptions::GetOptions()->DeleteSubKey(pszKey, pszChild);
}

void CListProfile::DeleteList(const CString& strName) {
    if (strName.IsEmpty())
        return; // not the settings of every list
    DeleteKey(L"ListControl", strName);
    DeleteKey(L"ListControl", strName + L"-intl");
}

void CListProfile::StoreListKey(const CProfileValues& list,
                                const std::vector<CProfileValues>& columns) const {
    CWinApp* pApp = App();
    if (!pApp) {
        DeleteKey(L"ListControl", m_strName); // nothing can be written
        return;
    }
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, pApp->GetSectionPath(ListKey())) != ERROR_SUCCESS)
        return;
    DWORD nChildren = 0;
    SyncValues(key, key.ReadValues(&nChildren), list.Values());
    DWORD nExisting = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const CString szChild = ColumnKeyName(static_cast<int>(i));
        CRegKey column;
        if (column.Open(key, szChild, KEY_READ | KEY_WRITE) == ERROR_SUCCESS)
            ++nExisting;
        else if (column.Create(key, szChild) != ERROR_SUCCESS)
            continue;
        DWORD nColumnChildren = 0;
        SyncValues(column, column.ReadValues(&nColumnChildren), columns[i].Values());
        if (nColumnChildren)
            DeleteChildrenExcept(column, 0);
    }
    // Children beyond the column keys (a longer catalogue before, or strays).
    if (nChildren > nExisting)
        DeleteChildrenExcept(key, static_cast<int>(columns.size()));
}

void CListProfile::UpdateString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszValue) const {
    CWinApp* pApp = App();
    if (!pApp)
        return;
    CProfileValues wanted;
    wanted.AddString(pszEntry, pszValue);
    const CProfileValues::Value& value = wanted.Values().front();
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, pApp->GetSectionPath(szKey)) == ERROR_SUCCESS) {
        DWORD type = REG_NONE, nData = static_cast<DWORD>(value.data.size());
        std::vector<BYTE> data(nData);
        if (::RegQueryValueExW(key, pszEntry, nullptr, &type, data.data(), &nData) ==
                ERROR_SUCCESS &&
            type == value.type && nData == value.data.size() && data == value.data)
            return;
    }
    pApp->WriteProfileString(szKey, pszEntry, pszValue);
}
