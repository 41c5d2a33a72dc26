#include "Translation.h"

#include "Options.h"
#include "TranslationTexts.h"

namespace {
constexpr int kGerman = 2;
}

CTranslation::CTranslation(const COptions* pOptions) : m_pOptions(pOptions) {}

CString CTranslation::LoadStringW(UINT nID, int nMaxLength) const {
    const TranslatedText* pRow = FindTranslatedText(nID);
    if (!pRow || nMaxLength <= 0)
        return CString();
    bool bGerman = m_pOptions && m_pOptions->GetNumber(HostOption::Language) == kGerman;
    CString text(bGerman ? pRow->pszGerman : pRow->pszEnglish);
    return text.Left(nMaxLength - 1);
}
