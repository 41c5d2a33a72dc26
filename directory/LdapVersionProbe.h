// Asks an LDAP server which protocol version it speaks, from the
// supportedLDAPVersion attribute of its root DSE.
#pragma once

#include "String.h"

#include <winldap.h>

// 3 when the server lists version 3, else 2; every failure gives 2 and a line in the
// debugger output. Blocks until the server answers, the time limit (when there is
// one) is over or the LDAP library gives up. The connection is of the kind
// nEncryption names (an account's "Encryption").
int ProbeLdapVersion(const CString& server, int nPort, int nEncryption = 0,
                     l_timeval* pTimeLimit = nullptr);
