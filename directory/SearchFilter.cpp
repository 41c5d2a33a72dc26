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

CString EscapeFilterValue(const CString& text) {
    CString escaped;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        switch (ch) {
        case L'*':
            // "**" would be an empty substring, which no server accepts.
            if (escaped.IsEmpty() || escaped[escaped.GetLength() - 1] != L'*')
                escaped += ch;
            break;
        case L'(':
            escaped += L"\\28";
            break;
        case L')':
            escaped += L"\\29";
            break;
        case L'\\':
            escaped += L"\\5c";
            break;
        case L'\0':
            escaped += L"\\00";
            break;
        default:
            escaped += ch;
            break;
        }
    }
    return escaped;
}

namespace {

// A value matched at the start: "Smi" and "Smi*" both become "Smi*".
CString Prefix(const CString& text) {
    CString value = EscapeFilterValue(text);
    if (value.IsEmpty() || value[value.GetLength() - 1] != L'*')
        value += L'*';
    return value;
}

} // namespace

CString BuildSearchFilter(const CString& attribute, const CString& text) {
    if (attribute != L"cn")
        return attribute + L"=" + EscapeFilterValue(text);
    // The text is split before escaping: an escape holds no blank or comma.
    CSearchName name = SplitSearchName(text);
    if (name.bSingleWord) {
        const CString value = Prefix(text);
        return L"(|(|(givenName=" + value + L")(sn=" + value + L"))(cn=" + value + L"))";
    }
    return L"(|(&(sn=" + Prefix(name.strLastName) + L")(givenName=" + Prefix(name.strFirstName) +
           L"))(cn=" + Prefix(name.strFullName) + L"))";
}

CString CompactFilterComponents(const CString& filter) {
    CString compact = filter;
    compact.Replace(L") (", L")(");
    return compact;
}
