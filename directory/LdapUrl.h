// Where a referral points: the server and base of an "ldap://host:port/dn?..." URL.
#pragma once

#include "String.h"

struct CLdapUrl {
    CString host; // empty: the server that sent the referral
    int port = 389;
    CString dn; // percent-escapes decoded; empty: the search's own base
};

// False for a URL this module cannot follow: another scheme (such as ldaps), or a
// host or port it cannot read.
bool ParseLdapUrl(const CString& url, CLdapUrl& parsed);
