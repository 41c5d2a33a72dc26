#include "PhoneNumberChooser.h"

#include "EntryMap.h"

#include "Menu.h"

#include <vector>

CString ChoosePhoneNumber(const CListCtrlEx& list, const CMapStringToString& entry,
                          const RECT& rowRect, HWND hOwner) {
    const CPersonFields person = GetPersonFields(entry);
    const CString label = CMenu::LiteralText(LastCommaFirst(person));

    CMenu menu;
    if (!menu.CreatePopupMenu())
        return CString();
    std::vector<CString> numbers{CString()}; // command 0 is the empty answer
    for (const auto& pColumn : list.m_columns) {
        if (!pColumn->m_bPhoneNumber)
            continue;
        // Every value of a multi-valued field; the second and later ones numbered.
        const std::vector<CString> values = AllValues(entry, pColumn->m_szName);
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i].IsEmpty() || static_cast<int>(numbers.size()) > kMaxPhoneNumberChoices)
                continue;
            CString text;
            if (i == 0)
                text.Format(L"%s (%s)", label.GetString(), pColumn->m_szTitle.GetString());
            else
                text.Format(L"%s (%s %d)", label.GetString(), pColumn->m_szTitle.GetString(),
                            static_cast<int>(i + 1));
            menu.AppendMenu(MF_STRING, numbers.size(), text);
            numbers.push_back(values[i]);
        }
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
