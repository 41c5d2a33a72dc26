// Directory entries as the search window keeps them: a map from lower-case
// attribute name to the attribute's first value, plus "dn" for the entry's name.
#pragma once

#include "LdapApi.h"

#include "Collections.h"

#include <map>
#include <vector>

// An entry map that also keeps, beside it, the further values of multi-valued
// attributes; they go with the map when it is deleted. The map itself holds the
// first values only, so whoever reads it as a plain map sees what it always saw.
class CEntryMap : public CMapStringToString {
public:
    // The values after the first of an attribute (lower-case name); replaces any.
    void SetFurtherValues(const CString& attribute, std::vector<CString> values);
    const std::vector<CString>* FurtherValues(const CString& attribute) const;

private:
    std::map<CString, std::vector<CString>> m_further;
};

// Fills map from every entry of message (in practice one). Attributes without
// values are left out; of several values the map keeps the first, and a CEntryMap
// keeps the others beside it.
void BuildEntryMap(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage,
                   CMapStringToString& map);

// Every value of an attribute, the first one (the map's) first; the others only when
// map is a CEntryMap. Empty when the entry has no such attribute.
std::vector<CString> AllValues(const CMapStringToString& map, const CString& attribute);

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
// The person's name as "Last, First", as the host's records and the number menu give it.
CString LastCommaFirst(const CPersonFields& person);

// The translation id of the column title of an entry map key that entries commonly
// have ("cn", "mail", "telephonenumber", ...); 0 for any other key.
UINT AttributeTitleId(const CString& key);
