// Which of an entry's telephone numbers to dial: the one number there is, or the
// one the user picks from a popup menu under the entry's row.
#pragma once

#include "ListCtrlEx.h"

// The most numbers one menu offers.
constexpr int kMaxPhoneNumberChoices = 49;

// Offers the values of the list's phone-number columns (in catalogue order, shown
// or not) that the entry has, every value of a multi-valued one ("Name (Title 2)"); returns the
// chosen number, or "" when the entry has none or the user dismisses the menu. rowRect is the row's
// label rectangle in screen coordinates; the menu opens at its bottom left, owned by hOwner.
CString ChoosePhoneNumber(const CListCtrlEx& list, const CMapStringToString& entry,
                          const RECT& rowRect, HWND hOwner);
