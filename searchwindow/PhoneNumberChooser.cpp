#include "PhoneNumberChooser.h"

#include "EntryMap.h"

#include "Menu.h"

#include <vector>

CString ChoosePhoneNumber(const CListCtrlEx& list, const CMapStringToString& entry,
                          const RECT& rowRect, HWND hOwner) {
    const CPersonFields person = GetPersonFields(entry);
    CString label;
    label.Format(L"%s, %s", person.strLastName.GetString(), person.strFirstName.GetString());
    label.Replace(L"&", L"&&"); // a menu shows "&&" as one "&"

    CMenu menu;
    if (!menu.CreatePopupMenu())
        return CString();
    std::vector<CString> numbers{CString()}; // command 0 is the empty answer
    for (const auto& pColumn : list.m_columns) {
        CString value;
        if (!pColumn->m_bPhoneNumber || !entry.Lookup(pColumn->m_szName, value) || value.IsEmpty())
            continue;
        if (static_cast<int>(numbers.size()) > kMaxPhoneNumberChoices)
            break;
        CString text;
        text.Format(L"%s (%s)", label.GetString(), pColumn->m_szTitle.GetString());
        menu.AppendMenu(MF_STRING, numbers.size(), text);
        numbers.push_back(value);
    }
    if (numbers.size() == 2)
        return numbers[1];
    if (numbers.size() == 1)
        return CString();
    UINT nChoice =
        static_cast<UINT>(::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                           rowRect.left, rowRect.bottom, 0, hOwner, nullptr));
    return nChoice < numbers.size() ? numbers[nChoice] : CString();
}
