// The texts behind CTranslation: one row per id with its English and German text.
#pragma once

#include <windows.h>

struct TranslatedText {
    UINT nID;
    const wchar_t* pszEnglish;
    const wchar_t* pszGerman;
};

// The row of nID, or null when the tables have no such id.
const TranslatedText* FindTranslatedText(UINT nID);
