#include "SampleAccounts.h"

#include "Registry.h"

namespace {

struct SampleServer {
    const wchar_t* pszDescription;
    const wchar_t* pszSearchRoot;
    int nEncryption; // the account's "Encryption": 1 is SSL/TLS, on the sample's TLS port
};
const SampleServer kServers[] = {
    {L"Quillet Directory", L"dc=quillet,dc=example", 0},
    {L"Branch Office", L"dc=branch,dc=example", 0},
    {L"Quillet Directory (encrypted)", L"dc=quillet,dc=example", 1},
};
const SampleServer& kEncryptedServer = kServers[2];
const wchar_t kAddress[] = L"127.0.0.1";

CString AccountKey(const COptions& options, const wchar_t* pszDescription) {
    return options.GetRootKey() + L"\\Config\\LDapServers\\" + pszDescription;
}

int PortOf(const SampleServer& server, int nPort, int nTlsPort) {
    return server.nEncryption ? nTlsPort : nPort;
}

void AddServer(COptions& options, const SampleServer& server, int nPort, int nMaximumHits) {
    const CString key = AccountKey(options, server.pszDescription);
    if (nMaximumHits > 0)
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"maximumHits", nMaximumHits);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"address", kAddress, 0);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", nPort);
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", server.pszSearchRoot, 0);
    // Version 3 is known, so no search has to ask the server first.
    options.SetRegistryValue(HKEY_CURRENT_USER, key, L"ldapVersion", 3);
    if (server.nEncryption)
        options.SetRegistryValue(HKEY_CURRENT_USER, key, L"Encryption", server.nEncryption);
}

// Still as the demo made it: the user has not pointed it elsewhere.
bool IsSampleOwn(const COptions& options, const SampleServer& server) {
    const CString key = AccountKey(options, server.pszDescription);
    return options.GetRegistryValue(HKEY_CURRENT_USER, key, L"address", L"", 0) == kAddress &&
           options.GetRegistryValue(HKEY_CURRENT_USER, key, L"searchRoot", L"", 0) ==
               server.pszSearchRoot &&
           options.GetRegistryValue(HKEY_CURRENT_USER, key, L"Encryption", 0) == server.nEncryption;
}

} // namespace

CString CSampleAccounts::Provide(COptions& options, int nPort, int nTlsPort, int nMaximumHits) {
    CStringList names;
    options.GetList(L"Config\\LDapServers", names);
    CString line;
    if (names.IsEmpty()) {
        for (const SampleServer& server : kServers) {
            if (PortOf(server, nPort, nTlsPort) > 0)
                AddServer(options, server, PortOf(server, nPort, nTlsPort), nMaximumHits);
        }
        CRegKey current;
        if (current.Create(HKEY_CURRENT_USER, options.GetRootKey() + L"\\Config\\LDAPServers") ==
            ERROR_SUCCESS)
            current.SetString(L"Current", kServers[0].pszDescription);
        line.Format(L"Added the sample servers \"%s\", \"%s\" and \"%s\" (127.0.0.1:%d, SSL/TLS "
                    L"on %d).",
                    kServers[0].pszDescription, kServers[1].pszDescription,
                    kEncryptedServer.pszDescription, nPort, nTlsPort);
        return line;
    }
    int nMoved = 0;
    for (const SampleServer& server : kServers) {
        const int nServerPort = PortOf(server, nPort, nTlsPort);
        if (!names.Find(server.pszDescription) || !IsSampleOwn(options, server) || nServerPort <= 0)
            continue;
        const CString key = AccountKey(options, server.pszDescription);
        if (options.GetRegistryValue(HKEY_CURRENT_USER, key, L"port", 0) != nServerPort) {
            options.SetRegistryValue(HKEY_CURRENT_USER, key, L"port", nServerPort);
            ++nMoved;
        }
    }
    // A demo prefix from before the encrypted sample server gets it beside the
    // sample's own servers.
    const bool bAddEncrypted = nTlsPort > 0 && !names.Find(kEncryptedServer.pszDescription) &&
                               names.Find(kServers[0].pszDescription) &&
                               IsSampleOwn(options, kServers[0]);
    if (bAddEncrypted)
        AddServer(options, kEncryptedServer, nTlsPort, nMaximumHits);
    line.Format(L"%d server(s) configured; the sample server runs on 127.0.0.1:%d (SSL/TLS on "
                L"%d)%s%s.",
                names.GetCount() + (bAddEncrypted ? 1 : 0), nPort, nTlsPort,
                nMoved ? L" (sample accounts moved to it)" : L"",
                bAddEncrypted ? L"; added the encrypted sample server" : L"");
    return line;
}
