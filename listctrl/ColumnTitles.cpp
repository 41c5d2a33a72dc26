#include "ColumnTitles.h"

namespace {

const wchar_t* const kLanguageValueNames[] = {L"Title.enu", L"Title.chn", L"Title.deu",
                                              L"Title.eso", L"Title.fra", L"Title.ita",
                                              L"Title.jpn", L"Title.kor", L"Title.ptb"};

struct DefaultTitle {
    const wchar_t* pszName;
    UINT nID;
    bool bOnWrite;
};

const DefaultTitle kDefaultTitles[] = {
    {L"DisplayName", 3119, true}, {L"Address", 2046, true},
    {L"Business", 2714, true},    {L"Home", 2745, true},
    {L"Company", 2721, true},     {L"Assistant", 2707, true},
    {L"Mobile", 2750, true},      {L"Car", 2719, true},
    {L"Pager", 2756, true},       {L"BusinessFax", 2713, true},
    {L"HomeFax", 2744, true},     {L"EmailAddress", 3110, true},
    {L"Category", 3100, true},    {L"Notes", 3120, true},
    {L"IMStatus", 3570, false},   {L"InstantMessageAddress", 3569, false},
};

} // namespace

namespace ColumnTitles {

LPCTSTR LanguageValueName(int nLanguageSetting) {
    const int nKnown =
        static_cast<int>(sizeof(kLanguageValueNames) / sizeof(kLanguageValueNames[0]));
    return nLanguageSetting >= 0 && nLanguageSetting < nKnown
               ? kLanguageValueNames[nLanguageSetting]
               : nullptr;
}

UINT DefaultTitleId(const CString& szName, bool bForWrite) {
    for (const auto& entry : kDefaultTitles) {
        if (szName == entry.pszName)
            return !bForWrite || entry.bOnWrite ? entry.nID : 0;
    }
    return 0;
}

} // namespace ColumnTitles
