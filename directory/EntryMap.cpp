#include "EntryMap.h"

void CEntryMap::SetFurtherValues(const CString& attribute, std::vector<CString> values) {
    if (values.empty())
        m_further.erase(attribute);
    else
        m_further[attribute] = std::move(values);
}

const std::vector<CString>* CEntryMap::FurtherValues(const CString& attribute) const {
    auto it = m_further.find(attribute);
    return it == m_further.end() ? nullptr : &it->second;
}

std::vector<CString> AllValues(const CMapStringToString& map, const CString& attribute) {
    std::vector<CString> values;
    CString first;
    if (!map.Lookup(attribute, first))
        return values;
    values.push_back(first);
    if (const auto* pEntry = dynamic_cast<const CEntryMap*>(&map)) {
        if (const std::vector<CString>* pFurther = pEntry->FurtherValues(attribute))
            values.insert(values.end(), pFurther->begin(), pFurther->end());
    }
    return values;
}

void BuildEntryMap(ILdapApi& api, LDAP* pConnection, LDAPMessage* pMessage,
                   CMapStringToString& map) {
    auto* pEntryMap = dynamic_cast<CEntryMap*>(&map);
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
            if (pEntryMap) {
                std::vector<CString> further;
                for (wchar_t** ppValue = values.Get() + 1; *ppValue; ++ppValue)
                    further.emplace_back(*ppValue);
                pEntryMap->SetFurtherValues(name, std::move(further));
            }
        }
    }
}

CString LastCommaFirst(const CPersonFields& person) {
    CString name;
    name.Format(L"%s, %s", person.strLastName.GetString(), person.strFirstName.GetString());
    return name;
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
