// Strings in tests: framework string lists as standard vectors, so that a test can
// state a whole list and compare it at once, and CString in failure messages.
#pragma once

#include "Collections.h"

#include <ostream>
#include <string>
#include <vector>

// Found by GoogleTest through argument-dependent lookup.
inline void PrintTo(const CString& text, std::ostream* pStream) {
    *pStream << '"' << text.ToUtf8() << '"';
}

inline std::vector<std::wstring> ToVector(const CStringList& list) {
    std::vector<std::wstring> items;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        items.push_back(list.GetNext(pos).str());
    return items;
}

inline CStringList ToList(const std::vector<std::wstring>& items) {
    CStringList list;
    for (const auto& item : items)
        list.AddTail(CString(item));
    return list;
}
