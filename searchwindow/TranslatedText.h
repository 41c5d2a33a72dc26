// A text of the host's translation tables; empty when the host gave none.
#pragma once

#include "Translation.h"

inline CString TranslatedText(const CTranslation* pTranslation, UINT nID) {
    return pTranslation ? pTranslation->LoadStringW(nID, 512) : CString();
}
