// The translation tables: a text for every id the module shows, in English and in
// German, chosen by the user's language option at each call.
#include "Options.h"
#include "RegistrySandbox.h"
#include "TestStrings.h"
#include "Translation.h"

#include <gtest/gtest.h>

namespace {

// Every id the module loads.
const UINT kModuleIds[] = {
    2000, 2004, 2006, 2009, 2010, 2011, 2046, 2054, 2057, 2076, 2600, 2603, 2702, 2707, 2713,
    2714, 2717, 2719, 2720, 2721, 2729, 2733, 2734, 2739, 2742, 2744, 2745, 2750, 2756, 2768,
    2783, 2791, 2793, 2807, 2808, 2814, 2815, 2816, 2817, 2822, 2840, 2841, 2847, 2919, 2926,
    2927, 2955, 2956, 2957, 2958, 2959, 2961, 2962, 3011, 3012, 3067, 3068, 3100, 3101, 3102,
    3103, 3106, 3110, 3112, 3114, 3115, 3116, 3119, 3120, 3121, 3122, 3123, 3125, 3126, 3127,
    3130, 3162, 3177, 3187, 3195, 3220, 3228, 3231, 3232, 3239, 3401, 3418, 3437, 3451, 3461,
    3468, 3479, 3569, 3570, 3711, 3712, 3714, 3717, 3801, 3802, 3803, 3804, 3831, 3841, 3848};

// Command prompts: a status-bar prompt, a line feed and a tooltip.
const UINT kPromptIds[] = {3401, 3418, 3437, 3461, 3468, 3479, 3801, 3802, 3803, 3804, 3831};

// Texts shown both as a menu caption and as a prompt or window title.
const UINT kSharedCaptionIds[] = {3714, 3717, 3115};

class TranslationTest : public testing::Test {
protected:
    void SetLanguage(DWORD nLanguage) {
        WriteRawNumber(m_sandbox.Path(L"Config\\Options"), L"Option110", nLanguage);
    }
    CRegistrySandbox m_sandbox{L"Quillet Test Translation"};
    COptions m_options{m_sandbox.ProductKey().c_str()};
    CTranslation m_translation{&m_options};
};

} // namespace

// In both languages every text the module loads exists, and the prompts are a
// status-bar text, a line feed and a tooltip; an unknown id gives no text. The option
// chooses the table at each call.
TEST_F(TranslationTest, EveryModuleTextExistsInBothLanguagesPromptsSplitInTwoChosenAtEachCall) {
    for (DWORD nLanguage : {0u, 2u}) {
        SetLanguage(nLanguage);
        for (UINT nID : kModuleIds)
            EXPECT_FALSE(m_translation.LoadStringW(nID, 512).IsEmpty())
                << "id " << nID << " language " << nLanguage;
        for (UINT nID : kPromptIds) {
            CString text = m_translation.LoadStringW(nID, 512);
            int nBreak = text.Find(L'\n');
            EXPECT_TRUE(nBreak > 0 && nBreak < text.GetLength() - 1 &&
                        text.Find(L'\n', nBreak + 1) == -1)
                << nID;
        }
        for (UINT nID : kSharedCaptionIds)
            EXPECT_EQ(m_translation.LoadStringW(nID, 512).FindOneOf(L"\n&"), -1) << nID;
        for (UINT nID : {0u, 1u, 2001u, 3999u, 57344u, 0xFFFFFFFFu})
            EXPECT_TRUE(m_translation.LoadStringW(nID, 512).IsEmpty()) << nID;
    }
    // The language option chooses the table at each call.
    const std::pair<DWORD, const wchar_t*> cases[] = {{0, L"Directory Search"},
                                                      {2, L"Verzeichnissuche"},
                                                      {1, L"Directory Search"},
                                                      {4, L"Directory Search"},
                                                      {2, L"Verzeichnissuche"}};
    for (const auto& [nLanguage, pszTitle] : cases) {
        SetLanguage(nLanguage);
        EXPECT_EQ(m_translation.LoadStringW(3231, 512), pszTitle) << "language " << nLanguage;
    }
    EXPECT_EQ(m_translation.LoadStringW(3126, 512), L"Stra\u00dfe");
}
