#include "EntryVCard.h"

#include "EntryMap.h"

#include <initializer_list>

namespace {

// Number attributes and the kinds a card gives them.
struct NumberKind {
    const wchar_t* pszAttribute;
    const char* pszType;
};
const NumberKind kNumberKinds[] = {
    {L"telephonenumber", "work,voice"},
    {L"mobile", "cell"},
    {L"facsimiletelephonenumber", "work,fax"},
    {L"homephone", "home,voice"},
    {L"pager", "pager"},
};

// A text value as a card writes it: backslash, comma, semicolon and line breaks escaped.
std::string Escaped(const CString& value) {
    std::string text;
    for (char c : value.ToUtf8()) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            text += "\\n";
            continue;
        }
        if (c == '\\' || c == ',' || c == ';')
            text += '\\';
        text += c;
    }
    return text;
}

CString First(const CMapStringToString& entry, const wchar_t* pszAttribute) {
    CString value;
    entry.Lookup(pszAttribute, value);
    return value;
}

// Components joined with ";", each escaped.
std::string Structured(std::initializer_list<CString> components) {
    std::string text;
    bool bFirst = true;
    for (const CString& component : components) {
        if (!bFirst)
            text += ';';
        bFirst = false;
        text += Escaped(component);
    }
    return text;
}

class CCardWriter {
public:
    void Line(const std::string& line) {
        // Lines of at most 75 octets; a continuation starts with a blank. A UTF-8
        // sequence is never cut.
        size_t nStart = 0, nLimit = 75;
        while (line.size() - nStart > nLimit) {
            size_t nCut = nStart + nLimit;
            while (nCut > nStart && (static_cast<unsigned char>(line[nCut]) & 0xC0) == 0x80)
                --nCut;
            m_text += line.substr(nStart, nCut - nStart) + "\r\n ";
            nStart = nCut;
            nLimit = 74;
        }
        m_text += line.substr(nStart) + "\r\n";
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

CString FormattedName(const CMapStringToString& entry, const CPersonFields& person) {
    CString name = First(entry, L"cn");
    if (name.IsEmpty())
        name = (person.strFirstName + L" " + person.strLastName).Trim();
    for (const wchar_t* pszFallback : {L"o", L"ou", L"dn"}) {
        if (name.IsEmpty())
            name = First(entry, pszFallback);
    }
    return name;
}

} // namespace

std::string BuildVCard(const CMapStringToString& entry) {
    const CPersonFields person = GetPersonFields(entry);
    CCardWriter card;
    card.Line("BEGIN:VCARD");
    card.Line("VERSION:4.0");
    card.Line("FN:" + Escaped(FormattedName(entry, person)));
    CString surname = First(entry, L"sn"), given = First(entry, L"givenname");
    if (surname.IsEmpty() && given.IsEmpty() && entry.Lookup(L"cn", surname)) {
        surname = person.strLastName;
        given = person.strFirstName;
    }
    if (!surname.IsEmpty() || !given.IsEmpty())
        card.Line("N:" + Structured({surname, given, L"", L"", L""}));
    for (const NumberKind& kind : kNumberKinds) {
        for (const CString& number : AllValues(entry, kind.pszAttribute))
            card.Line(std::string("TEL;TYPE=\"") + kind.pszType + "\":" + Escaped(number));
    }
    for (const CString& address : AllValues(entry, L"mail"))
        card.Line("EMAIL;TYPE=work:" + Escaped(address));
    const CString organisation = First(entry, L"o"), unit = First(entry, L"ou");
    if (!organisation.IsEmpty() || !unit.IsEmpty())
        card.Line("ORG:" + Structured({organisation, unit}));
    if (!First(entry, L"title").IsEmpty())
        card.Line("TITLE:" + Escaped(First(entry, L"title")));
    const CString street = First(entry, L"street"), locality = First(entry, L"l"),
                  region = First(entry, L"st"), postalCode = First(entry, L"postalcode"),
                  country = First(entry, L"c");
    if (!(street + locality + region + postalCode + country).IsEmpty())
        card.Line("ADR;TYPE=work:" +
                  Structured({L"", L"", street, locality, region, postalCode, country}));
    card.Line("END:VCARD");
    return card.Text();
}
