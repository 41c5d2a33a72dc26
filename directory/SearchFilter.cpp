#include "SearchFilter.h"

namespace {

CString TrimmedRight(CString text) {
    return text.TrimRight();
}

CString TrimmedLeft(CString text) {
    return text.TrimLeft();
}

} // namespace

CSearchName SplitSearchName(const CString& text) {
    CSearchName name;
    int nComma = text.Find(L',');
    int nBlank = text.Find(L' ');
    if (nComma >= 0) {
        // "Last, First": everything before the comma is the surname.
        name.strLastName = TrimmedRight(text.Left(nComma));
        name.strFirstName = TrimmedLeft(text.Mid(nComma + 1));
    } else if (nBlank >= 0) {
        // "First Last", where a third word joins the first name: "Mary Ann Smith".
        name.strFirstName = TrimmedRight(text.Left(nBlank));
        CString rest = TrimmedLeft(text.Mid(nBlank + 1));
        int nNextBlank = rest.Find(L' ');
        if (nNextBlank >= 0) {
            name.strFirstName += L" " + rest.Left(nNextBlank);
            name.strLastName = rest.Mid(nNextBlank + 1);
        } else {
            name.strLastName = rest;
        }
    } else {
        return name;
    }
    name.bSingleWord = false;
    name.strFullName = name.strFirstName + L" " + name.strLastName;
    return name;
}

CString BuildSearchFilter(const CString& attribute, const CString& text) {
    if (attribute != L"cn")
        return attribute + L"=" + text;
    CSearchName name = SplitSearchName(text);
    if (name.bSingleWord)
        return L"(|(|(givenName=" + text + L"*)(sn=" + text + L"*))(cn=" + text + L"*))";
    return L"(|(&(sn=" + name.strLastName + L"*)(givenName=" + name.strFirstName + L"*))(cn=" +
           name.strFullName + L"*))";
}
