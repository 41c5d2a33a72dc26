#include "DirectorySearch.h"

#include "LdapVersionProbe.h"

// The host classes whose inline accessors the module exports: including them here
// compiles the module's copies.
#include "EventLog.h"
#include "Manager.h"
#include "Options.h"
#include "Translation.h"

int CDirectorySearch::ldapCheckVersion(CString server, int port) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return ProbeLdapVersion(server, port);
}
