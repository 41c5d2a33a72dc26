#include "EntryMap.h"

void BuildEntryMap(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage,
                   CMapStringToString& map) {
    for (LDAPMessage* pEntry = api.FirstEntry(pConnection, pMessage); pEntry;
         pEntry = api.NextEntry(pConnection, pEntry)) {
        CLdapText dn(api, api.GetDn(pConnection, pEntry));
        map.SetAt(L"dn", dn ? dn.Get() : L"");
        CLdapAttributeCursor cursor(api);
        for (CLdapText attribute(api, api.FirstAttribute(pConnection, pEntry, cursor.Receive()));
             attribute; attribute.Reset(api.NextAttribute(pConnection, pEntry, cursor.Get()))) {
            CLdapValues values(api, api.GetValues(pConnection, pEntry, attribute.Get()));
            if (!values || !values.Get()[0])
                continue;
            CString name(attribute.Get());
            map.SetAt(name.MakeLower(), values.Get()[0]);
        }
    }
}

CPersonFields GetPersonFields(const CMapStringToString& map) {
    CPersonFields fields;
    CString cn;
    if (map.Lookup(L"cn", cn)) {
        int comma = cn.Find(L',');
        int blank = cn.Find(L' ');
        if (comma >= 0) {
            fields.strLastName = cn.Left(comma);
            fields.strFirstName = cn.Mid(comma + 1).TrimLeft();
        } else if (blank >= 0) {
            fields.strFirstName = cn.Left(blank);
            fields.strLastName = cn.Mid(blank + 1).TrimLeft();
        } else {
            fields.strLastName = cn;
        }
    } else {
        map.Lookup(L"givenname", fields.strFirstName);
        map.Lookup(L"sn", fields.strLastName);
    }
    map.Lookup(L"telephonenumber", fields.strTelephoneNumber);
    map.Lookup(L"mail", fields.strEmail);
    return fields;
}

namespace {

struct AttributeTitle {
    const wchar_t* pszAttribute;
    UINT nTextId;
};
const AttributeTitle kAttributeTitles[] = {
    {L"dn", 3106},   {L"cn", 3119},        {L"telephonenumber", 3121},
    {L"mail", 3110}, {L"givenname", 3114}, {L"sn", 3127},
    {L"o", 3122},    {L"ou", 3123},        {L"l", 3101},
    {L"c", 3103},    {L"st", 3125},        {L"street", 3126},
};

} // namespace

UINT AttributeTitleId(const CString& key) {
    for (const auto& t : kAttributeTitles) {
        if (key == t.pszAttribute)
            return t.nTextId;
    }
    return 0;
}
