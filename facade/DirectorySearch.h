// CDirectorySearch: the one class through which the host drives the directory
// search module.
#pragma once

#include "ModuleApi.h"

#include "Wnd.h"

class DIRSEARCH_API CDirectorySearch : public CWnd {
public:
    // Which LDAP protocol version server:port supports: 3 when its root DSE lists
    // version 3, else 2. Never fails; blocks until the server answers or the LDAP
    // library gives up.
    static int ldapCheckVersion(CString server, int port);
};
