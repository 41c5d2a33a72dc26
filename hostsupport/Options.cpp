#include "Options.h"

#include "EventLog.h"
#include "Registry.h"
#include "FieldOrganizerDialog.h"
#include "SelectNumbersDialog.h"
#include "Translation.h"

#include <vector>

namespace {

const wchar_t kNumberedOptionsKey[] = L"Config\\Options";
const wchar_t kRecentLdapSearchKey[] = L"General\\RecentLdapSearch";

struct NumberDefault {
    int nOption;
    int nValue;
};

// Options not listed default to 0: every right granted, language 0 (English).
const NumberDefault kNumberDefaults[] = {
    {HostOption::AdvancedSearch, 1},
};

struct TextDefault {
    int nOption;
    const wchar_t* pszValue;
};

const TextDefault kTextDefaults[] = {
    {HostOption::HelpFileName, L"Quillet"},
};

// Folder names of the user languages, by the value of option 110.
const wchar_t* const kLanguageFolders[] = {L"enu", L"chn", L"deu", L"eso", L"fra",
                                           L"ita", L"jpn", L"kor", L"ptb"};

CString NumberedOptionName(int nOption) {
    CString name;
    name.Format(L"Option%d", nOption);
    return name;
}

CString ExpandEnvironment(const CString& text) {
    DWORD nLength = ::ExpandEnvironmentStringsW(text, nullptr, 0);
    if (nLength == 0)
        return text;
    std::vector<wchar_t> buffer(nLength);
    if (::ExpandEnvironmentStringsW(text, buffer.data(), nLength) == 0)
        return text;
    return CString(buffer.data());
}

} // namespace

COptions::COptions(const wchar_t* pszProductKey) : m_strKelvoSubKey(pszProductKey) {}

COptions* COptions::GetOptions() {
    static COptions options;
    return &options;
}

CString COptions::GetRootKey() const {
    return L"Software\\Tovana\\" + m_strKelvoSubKey;
}

CString COptions::RootedPath(const wchar_t* pszKey) const {
    if (!pszKey || !*pszKey)
        return GetRootKey();
    return GetRootKey() + L"\\" + pszKey;
}

int COptions::GetNumber(int nOption) const {
    int nDefault = 0;
    for (const auto& entry : kNumberDefaults) {
        if (entry.nOption == nOption)
            nDefault = entry.nValue;
    }
    return GetRegistryValue(HKEY_CURRENT_USER, RootedPath(kNumberedOptionsKey),
                            NumberedOptionName(nOption), nDefault);
}

BOOL COptions::Is(int nOption) const {
    return GetNumber(nOption) != 0;
}

CString COptions::GetString(int nOption) const {
    if (nOption == HostOption::ProductKey)
        return m_strKelvoSubKey;
    const wchar_t* pszDefault = L"";
    for (const auto& entry : kTextDefaults) {
        if (entry.nOption == nOption)
            pszDefault = entry.pszValue;
    }
    return GetRegistryValue(HKEY_CURRENT_USER, RootedPath(kNumberedOptionsKey),
                            NumberedOptionName(nOption), pszDefault, 0);
}

CString COptions::GetProgramPath() const {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD nLength =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (nLength == 0)
            return CString();
        if (nLength < buffer.size()) {
            CString path(buffer.data(), static_cast<int>(nLength));
            return path.Left(path.ReverseFind(L'\\'));
        }
        buffer.resize(buffer.size() * 2); // truncated: try a larger buffer
    }
}

CString COptions::GetLanguagePrefix() const {
    int nLanguage = GetNumber(HostOption::Language);
    const int nKnown = static_cast<int>(sizeof(kLanguageFolders) / sizeof(kLanguageFolders[0]));
    if (nLanguage < 0 || nLanguage >= nKnown)
        nLanguage = 0;
    return CString(kLanguageFolders[nLanguage]) + L"\\";
}

int COptions::GetRegistryValue(HKEY hRoot, const wchar_t* pszKey, const wchar_t* pszValue,
                               int nDefault) const {
    CRegKey key;
    DWORD nValue = 0;
    if (key.Open(hRoot, pszKey) != ERROR_SUCCESS || !key.QueryDword(pszValue, nValue))
        return nDefault;
    return static_cast<int>(nValue);
}

CString COptions::GetRegistryValue(HKEY hRoot, const wchar_t* pszKey, const wchar_t* pszValue,
                                   const wchar_t* pszDefault, int nFlag) const {
    CRegKey key;
    CString text;
    if (key.Open(hRoot, pszKey) != ERROR_SUCCESS || !key.QueryString(pszValue, text))
        return CString(pszDefault);
    return nFlag & kExpandableText ? ExpandEnvironment(text) : text;
}

BOOL COptions::SetRegistryValue(HKEY hRoot, const wchar_t* pszKey, const wchar_t* pszValue,
                                int nNumber) {
    TraceWrite(pszKey, pszValue);
    CRegKey key;
    if (key.Create(hRoot, pszKey) != ERROR_SUCCESS)
        return FALSE;
    return key.SetDword(pszValue, static_cast<DWORD>(nNumber)) == ERROR_SUCCESS;
}

BOOL COptions::SetRegistryValue(HKEY hRoot, const wchar_t* pszKey, const wchar_t* pszValue,
                                const wchar_t* pszText, int nFlag) {
    TraceWrite(pszKey, pszValue);
    CRegKey key;
    if (key.Create(hRoot, pszKey) != ERROR_SUCCESS)
        return FALSE;
    if (!(nFlag & kExpandableText))
        return key.SetString(pszValue, pszText) == ERROR_SUCCESS;
    const wchar_t* pszData = pszText ? pszText : L"";
    DWORD nBytes = static_cast<DWORD>((wcslen(pszData) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, pszValue, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(pszData),
                            nBytes) == ERROR_SUCCESS;
}

void COptions::TraceWrite(const wchar_t* pszKey, const wchar_t* pszValue) const {
    // Only the names: a value may be a password.
    if (m_pEventLog)
        m_pEventLog->Trace(L"COptions::SetRegistryValue %s\\%s\n", pszKey ? pszKey : L"",
                           pszValue ? pszValue : L"");
}

void COptions::GetList(const wchar_t* pszKey, CStringList& list) const {
    list.RemoveAll();
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, RootedPath(pszKey)) == ERROR_SUCCESS)
        key.EnumSubKeys(list);
}

void COptions::GetSubKeyValues(const wchar_t* pszKey, CStringList& list, HKEY hRoot) const {
    list.RemoveAll();
    CRegKey key;
    if (key.Open(hRoot, RootedPath(pszKey)) != ERROR_SUCCESS)
        return;
    CString name, text;
    for (int nIndex = 1;; ++nIndex) {
        name.Format(L"%d", nIndex);
        DWORD nType = 0;
        if (::RegQueryValueExW(key, name, nullptr, &nType, nullptr, nullptr) != ERROR_SUCCESS)
            break; // the list ends at the first missing position
        if (key.QueryString(name, text))
            list.AddTail(text);
    }
}

BOOL COptions::SetRecentLdapSearchList(const wchar_t* pszAttribute, const CStringList& list) {
    if (!pszAttribute || !*pszAttribute)
        return FALSE;
    // Start from an empty key so that no entry of a longer earlier list survives.
    DeleteSubKey(kRecentLdapSearchKey, pszAttribute);
    CString keyPath = RootedPath(CString(kRecentLdapSearchKey) + L"\\" + pszAttribute);
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, keyPath) != ERROR_SUCCESS)
        return FALSE;
    BOOL bStored = TRUE;
    CString name;
    int nIndex = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        name.Format(L"%d", ++nIndex);
        if (key.SetString(name, list.GetNext(pos)) != ERROR_SUCCESS)
            bStored = FALSE;
    }
    return bStored;
}

BOOL COptions::IsSubKeyPresent(const wchar_t* pszKey) const {
    CRegKey key;
    return key.Open(HKEY_CURRENT_USER, RootedPath(pszKey)) == ERROR_SUCCESS;
}

BOOL COptions::DeleteSubKey(const wchar_t* pszKey, const wchar_t* pszSubKey) {
    if (!pszSubKey || !*pszSubKey)
        return FALSE;
    CRegKey parent;
    if (parent.Open(HKEY_CURRENT_USER, RootedPath(pszKey), KEY_READ | KEY_WRITE) != ERROR_SUCCESS)
        return FALSE;
    return parent.DeleteSubKeyTree(pszSubKey) == ERROR_SUCCESS;
}

BOOL COptions::ModifyPublicSearch() const {
    return !(GetNumber(HostOption::PublicSearchRights) &
             (HostRight::NoAccess | HostRight::ReadOnly));
}

BOOL COptions::ModifyPhoneDirectory() const {
    return !(GetNumber(HostOption::PhoneDirectoryRights) &
             (HostRight::NoAccess | HostRight::ReadOnly));
}

BOOL COptions::SelectNumbers(IFieldList& fields, CWnd* pOwner) {
    CTranslation texts(this);
    CSelectNumbersDialog dialog(fields, texts, pOwner);
    return dialog.DoModal() == IDOK;
}

BOOL COptions::ShowFields(IFieldList& fields, CWnd* pOwner) {
    CTranslation texts(this);
    CFieldOrganizerDialog dialog(fields, texts, pOwner);
    return dialog.DoModal() == IDOK;
}
