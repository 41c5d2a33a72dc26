#include "SampleAccounts.h"

#include "Registry.h"

namespace {

struct SampleServer {
    const wchar_t* pszDescription;
    const wchar_t* pszSearchRoot;
};
const SampleServer kServers[] = {
    {L"Quillet Directory", L"dc=quillet,dc=example"},
    {L"Branch Office", L"dc=branch,dc=example"},
};
const wchar_t kAddress[] = L"127.0.0.1";

CString AccountKey(const COptions& options, const wchar_t* pszDescription) {
    return options.GetRootKey() + L"\\Config\\LDapServers\\" + pszDescription;
}

} // namespace

CString CSampleAccounts::Provide(COptions& options, int nPort) {
    CStringList names;
    options.GetList(L"Config\\LDapServers", names);
    CString line;
    if (names.IsEmpty()) {
        for (const SampleServer& server : kServers) {
            const CString key = AccountKey(options, server.pszDescription);
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"address", kAddress, 0);
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", nPort);
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", server.pszSearchRoot,
                                     0);
            // Version 3 is known, so no search has to ask the server first.
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"ldapVersion", 3);
        }
        CRegKey current;
        if (current.Create(HKEY_CURRENT_USER, options.GetRootKey() + L"\\Config\\LDAPServers") ==
            ERROR_SUCCESS)
            current.SetString(L"Current", kServers[0].pszDescription);
        line.Format(L"Added the sample servers \"%s\" and \"%s\" (127.0.0.1:%d).",
                    kServers[0].pszDescription, kServers[1].pszDescription, nPort);
        return line;
    }
    int nMoved = 0;
    for (const SampleServer& server : kServers) {
        if (!names.Find(server.pszDescription))
            continue;
        const CString key = AccountKey(options, server.pszDescription);
        const bool bSampleOwn =
            options.GetRegistryValue(HKEY_CURRENT_USER, key, L"address", L"", 0) == kAddress &&
            options.GetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", L"", 0) ==
                server.pszSearchRoot;
        if (bSampleOwn && options.GetRegistryValue(HKEY_CURRENT_USER, key, L"port", 0) != nPort) {
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", nPort);
            ++nMoved;
        }
    }
    line.Format(L"%d server(s) configured; the sample server runs on 127.0.0.1:%d%s.",
                names.GetCount(), nPort, nMoved ? L" (sample accounts moved to it)" : L"");
    return line;
}
