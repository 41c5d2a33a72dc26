#include "LDapAccount.h"

#include "Registry.h"
#include "WinApp.h"

const wchar_t kLDapServersKey[] = L"Config\\LDapServers";

namespace {
// The profile spells the section with capitals; registry key names ignore case,
// so it is the same key as kLDapServersKey.
const wchar_t kCurrentServerSection[] = L"Config\\LDAPServers";
const wchar_t kCurrentServerEntry[] = L"Current";
const wchar_t kEncryptionValue[] = L"Encryption";

// Whether the key holds the value in a form that does not read as its kind (a
// text where a number belongs, or the reverse), so that it reads as its default.
bool StoredUnreadable(const CString& key, const wchar_t* pszName, bool bText) {
    CRegKey reg;
    if (reg.Open(HKEY_CURRENT_USER, key) != ERROR_SUCCESS ||
        ::RegQueryValueExW(reg, pszName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    CString text;
    DWORD number = 0;
    return bText ? !reg.QueryString(pszName, text) : !reg.QueryDword(pszName, number);
}
} // namespace

CLDapAccount::CLDapAccount(const CString& strDescription, COptions* pOptions)
    : description(strDescription), options(pOptions) {
    Load();
}

CLDapAccount::CLDapAccount(const CLDapAccount& other) : CObject(), options(other.options) {
    *this = other;
}

CLDapAccount& CLDapAccount::operator=(const CLDapAccount& other) {
    description = other.description;
    maximumHits = other.maximumHits;
    bound = other.bound;
    connection = other.connection;
    scope = other.scope;
    filter = other.filter;
    searchRoot = other.searchRoot;
    port = other.port;
    address = other.address;
    timeout = other.timeout;
    logon = other.logon;
    password = other.password;
    ldapVersion = other.ldapVersion;
    ldapReferral = other.ldapReferral;
    bindSelection = other.bindSelection;
    bindMethod = other.bindMethod;
    encryption = other.encryption;
    return *this;
}

CString CLDapAccount::GetKeyPath() const {
    CString path;
    path.Format(L"Software\\%s\\%s\\%s\\%s", L"Tovana",
                options->GetString(HostOption::ProductKey).GetString(), kLDapServersKey,
                description.GetString());
    return path;
}

void CLDapAccount::UpdateBindMethod() {
    bindMethod = bindSelection == 0 ? kNegotiateBind : kSimpleBind;
}

void CLDapAccount::Load() {
    CString key = GetKeyPath();
    auto text = [&](const wchar_t* pszName) {
        return options->GetRegistryValue(HKEY_CURRENT_USER, key, pszName, L"", 0);
    };
    auto number = [&](const wchar_t* pszName, int nDefault) {
        return options->GetRegistryValue(HKEY_CURRENT_USER, key, pszName, nDefault);
    };
    searchRoot = text(L"searchRoot");
    address = text(L"address");
    logon = text(L"logon");
    password = text(L"password");
    maximumHits = number(L"maximumHits", 200);
    port = number(L"port", LDAP_PORT);
    timeout = number(L"timeout", 200);
    ldapVersion = number(L"ldapVersion", 0);
    ldapReferral = number(L"ldapReferral", 1);
    bindSelection = number(L"bindSelection", 1);
    UpdateBindMethod();
    encryption = number(kEncryptionValue, kEncryptionNone);
    if (encryption != kEncryptionNone && encryption != kEncryptionStartTls)
        encryption = kEncryptionSsl;
}

void CLDapAccount::Save() {
    CString key = GetKeyPath();
    // A value stored in a form that read as its default stays as it is while the
    // account still holds that default: saving must not destroy what an
    // administrator wrote, only what the user changed.
    auto text = [&](const wchar_t* pszName, const CString& value) {
        if (!value.IsEmpty() || !StoredUnreadable(key, pszName, true))
            options->SetRegistryValue(HKEY_CURRENT_USER, key, pszName, value, 0);
    };
    auto number = [&](const wchar_t* pszName, int nValue, int nDefault) {
        if (nValue != nDefault || !StoredUnreadable(key, pszName, false))
            options->SetRegistryValue(HKEY_CURRENT_USER, key, pszName, nValue);
    };
    text(L"searchRoot", searchRoot);
    text(L"address", address);
    text(L"logon", logon);
    text(L"password", password);
    number(L"maximumHits", maximumHits, 200);
    number(L"port", port, LDAP_PORT);
    number(L"timeout", timeout, 200);
    number(L"bindSelection", bindSelection, 1);
    if (encryption != kEncryptionNone) {
        options->SetRegistryValue(HKEY_CURRENT_USER, key, kEncryptionValue, encryption);
    } else {
        CRegKey stored;
        if (stored.Open(HKEY_CURRENT_USER, key, KEY_SET_VALUE) == ERROR_SUCCESS)
            stored.DeleteValue(kEncryptionValue);
    }
}

void CLDapAccount::Delete() {
    options->DeleteSubKey(kLDapServersKey, description);
}

void CLDapAccountArray::LoadAll(COptions* pOptions) {
    RemoveAll();
    CStringList names(10);
    pOptions->GetList(kLDapServersKey, names);
    for (POSITION pos = names.GetHeadPosition(); pos;)
        Add(CLDapAccount(names.GetNext(pos), pOptions));
}

void CLDapAccountArray::SaveAll() {
    for (int i = 0; i < GetSize(); ++i)
        ElementAt(i).Save();
    RemoveAll();
}

CString CLDapAccountArray::CurrentName(const CWinApp& app) {
    return app.GetProfileString(kCurrentServerSection, kCurrentServerEntry, L"");
}

void CLDapAccountArray::WriteCurrentName(CWinApp& app, const CString& description) {
    app.WriteProfileString(kCurrentServerSection, kCurrentServerEntry, description);
}

CLDapAccount* CLDapAccountArray::ChooseCurrent(const CWinApp& app) {
    if (IsEmpty())
        return nullptr;
    const CString current = CurrentName(app);
    if (current.IsEmpty())
        return &ElementAt(0);
    for (int i = GetUpperBound(); i >= 0; --i) {
        if (ElementAt(i).description == current)
            return &ElementAt(i);
    }
    // A server that no longer exists: the first one, as when none is named, rather
    // than a window where nothing can be searched and nothing says why.
    return &ElementAt(0);
}
