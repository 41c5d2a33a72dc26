#include "RecentSearches.h"

bool KeepsRecentSearches(const CString& attribute) {
    return attribute == L"cn" || attribute == L"mail" || attribute == L"telephoneNumber";
}

CString RecentSearchesKey(const CString& attribute) {
    return CString(L"General") + L"\\RecentLdapSearch" + L"\\" + attribute;
}

void PutRecentSearchFirst(CStringList& list, const CString& text) {
    for (POSITION pos = list.Find(text); pos; pos = list.Find(text))
        list.RemoveAt(pos);
    while (list.GetCount() >= kMaxRecentSearches)
        list.RemoveTail();
    list.AddHead(text);
}

bool RecordRecentSearch(COptions& options, const CString& attribute, const CString& text,
                        CStringList& stored) {
    if (!KeepsRecentSearches(attribute))
        return false;
    CStringList recent;
    options.GetSubKeyValues(RecentSearchesKey(attribute), recent, HKEY_CURRENT_USER);
    PutRecentSearchFirst(recent, text);
    options.SetRecentLdapSearchList(attribute, recent);
    options.GetSubKeyValues(RecentSearchesKey(attribute), stored, HKEY_CURRENT_USER);
    return true;
}
