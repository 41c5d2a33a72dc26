// Directory entries as the search window keeps them: a map from lower-case
// attribute name to the attribute's first value, plus "dn" for the entry's name.
#pragma once

#include "LdapApi.h"

#include "Collections.h"

// Fills map from every entry of message (in practice one). Attributes without
// values are left out; of several values only the first is kept.
void BuildEntryMap(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage,
                   CMapStringToString& map);

// A person's names, number and address as derived from an entry map: "cn" split at
// its first comma ("Last, First") or else its first blank ("First Last"), or the
// "givenname" and "sn" values when there is no "cn".
struct CPersonFields {
    CString strLastName;
    CString strFirstName;
    CString strTelephoneNumber;
    CString strEmail;
};
CPersonFields GetPersonFields(const CMapStringToString& map);

// The translation id of the column title of an entry map key that entries commonly
// have ("cn", "mail", "telephonenumber", ...); 0 for any other key.
UINT AttributeTitleId(const CString& key);
