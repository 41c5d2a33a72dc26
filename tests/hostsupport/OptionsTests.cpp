// The host's options store: where it keeps things in the registry, what it reads
// back from good and bad data, and the rights it derives from numbered options.
#include "Options.h"
#include "RegistrySandbox.h"
#include "TestStrings.h"
#include "WinApp.h"

#include <gtest/gtest.h>

namespace {

class OptionsTest : public testing::Test {
protected:
    CRegistrySandbox m_sandbox{L"Quillet Test Options"};
    COptions m_options{m_sandbox.ProductKey().c_str()};
    std::wstring m_numbered = m_sandbox.Path(L"Config\\Options");
};

} // namespace

TEST_F(OptionsTest, RootIsTheProductKeyUnderTovanaAndTheModulesProfileRoot) {
    EXPECT_EQ(m_options.GetRootKey(), L"Software\\Tovana\\Quillet Test Options");
    // A stored option 18 cannot move the root it is stored under.
    WriteRawText(m_numbered, L"Option18", L"Elsewhere");
    EXPECT_EQ(m_options.GetString(HostOption::ProductKey), L"Quillet Test Options");
    EXPECT_EQ(m_options.GetKelvoSubKey(), L"Quillet Test Options");

    CWinApp app(L"Tovana Quillet");
    app.SetRegistryKey(L"Tovana");
    EXPECT_EQ(COptions::GetOptions()->GetRootKey(), app.GetSectionPath(nullptr));
}

TEST_F(OptionsTest, NumberedOptionsComeFromConfigOptionsOrTheirDefaults) {
    EXPECT_EQ(m_options.GetNumber(110), 0);
    EXPECT_TRUE(m_options.Is(196));
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Quillet");
    EXPECT_EQ(m_options.GetString(4711), L"");
    WriteRawNumber(m_numbered, L"Option110", 2);
    WriteRawNumber(m_numbered, L"Option196", 0);
    WriteRawNumber(m_numbered, L"Option4711", static_cast<DWORD>(-7));
    WriteRawText(m_numbered, L"Option19", L"Handbook");
    EXPECT_EQ(m_options.GetNumber(110), 2);
    EXPECT_FALSE(m_options.Is(196));
    EXPECT_EQ(m_options.GetNumber(4711), -7);
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Handbook");
    // Of the wrong kind: the default stays.
    WriteRawText(m_numbered, L"Option196", L"0");
    WriteRawNumber(m_numbered, L"Option19", 5);
    EXPECT_TRUE(m_options.Is(196));
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Quillet");
}

TEST_F(OptionsTest, RightsAreGrantedUnlessTheirOptionBitsSayOtherwise) {
    using Check = BOOL (COptions::*)() const;
    struct Case {
        const wchar_t* pszOption;
        Check pfnCheck;
        DWORD nRefused; // a value that takes the right away
        DWORD nGranted; // a value with other bits that leaves it
    };
    const Case cases[] = {
        {L"Option115", &COptions::AccessPhoneDirectory, 4, 3},
        {L"Option115", &COptions::ModifyPhoneDirectory, 2, 1},
        {L"Option115", &COptions::ModifyPhoneDirectory, 4, 1},
        {L"Option117", &COptions::AccessPublicSearch, 4, 0xFB},
        {L"Option117", &COptions::ModifyPublicSearch, 2, 1},
        {L"Option117", &COptions::ModifyPublicSearch, 4, 1},
        {L"Option122", &COptions::AccessSpeedDials, 4, 0},
        {L"Option112", &COptions::ModifyProgramOptions, 1, 6}, // only bit 0 locks
    };
    for (const auto& c : cases) {
        const std::string what = CString(c.pszOption).ToUtf8();
        EXPECT_TRUE((m_options.*c.pfnCheck)()) << what << " not stored";
        WriteRawNumber(m_numbered, c.pszOption, c.nRefused);
        EXPECT_FALSE((m_options.*c.pfnCheck)()) << what << " = " << c.nRefused;
        WriteRawNumber(m_numbered, c.pszOption, c.nGranted);
        EXPECT_TRUE((m_options.*c.pfnCheck)()) << what << " = " << c.nGranted;
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, m_numbered.c_str(), c.pszOption);
    }
    // Locked program options: an administrator, or the host's override, may still.
    WriteRawNumber(m_numbered, L"Option112", 1);
    WriteRawNumber(m_numbered, L"Option114", 1);
    EXPECT_TRUE(m_options.ModifyProgramOptions());
    WriteRawNumber(m_numbered, L"Option114", 0);
    m_options.SetOverride(TRUE);
    EXPECT_TRUE(m_options.ModifyProgramOptions());
}

TEST_F(OptionsTest, ValuesRoundTripAndWritesCreateTheirKey) {
    std::wstring key = m_sandbox.Path(L"Deep\\Er\\Key");
    for (int nValue : {0, 389, -1, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
        m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"number", nValue);
        int nRaw = 0;
        ASSERT_TRUE(ReadRawNumber(key, L"number", nRaw));
        EXPECT_EQ(nRaw, nValue);
        EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"number", 42),
                  nValue);
    }
    const std::wstring texts[] = {L"", L" padded ", L"Zo\u00eb \u0141\u00f3d\u017a \"q\" \\",
                                  std::wstring(100000, L'x')};
    for (const auto& text : texts) {
        m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"text", text.c_str(), 0);
        EXPECT_EQ(ReadRawText(key, L"text"), text);
        EXPECT_EQ(
            m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"text", L"x", 0).str(),
            text);
    }
}

TEST_F(OptionsTest, OrderedListsReadBackAsWrittenSkipForeignValuesEndAtAGapAndAreDeleted) {
    const std::vector<std::wstring> texts = {L"zeta", L"Alpha", L"mike", L"alpha",  L"",
                                             L"10",   L"9",     L"x y",  L"\u00e9", L"last"};
    EXPECT_TRUE(m_options.SetRecentLdapSearchList(L"mail", ToList(texts)));
    CStringList list;
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\mail", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), texts);
    // Stored as the values "1", "2", ... of the attribute's key.
    std::wstring key = m_sandbox.Path(L"General\\RecentLdapSearch\\mail");
    EXPECT_EQ(ReadRawText(key, L"10"), L"last");
    m_options.SetRecentLdapSearchList(L"mail", ToList({L"d", L"a"}));
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\mail", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), (std::vector<std::wstring>{L"d", L"a"}));
    EXPECT_EQ(RawValueNames(key).size(), 2u);
    // An empty attribute name must not reach the parent key.
    EXPECT_FALSE(m_options.SetRecentLdapSearchList(L"", ToList({L"x"})));
    EXPECT_TRUE(KeyExists(key));
    // Reading skips values that are no text and ends at a gap.
    WriteRawNumber(key, L"2", 5);
    WriteRawText(key, L"3", L"third");
    WriteRawText(key, L"5", L"after the gap");
    WriteRawText(key, L"name", L"not a position");
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\mail", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), (std::vector<std::wstring>{L"d", L"third"}));
    // DeleteSubKey removes the child with everything below, never the parent.
    std::wstring parent = m_sandbox.Path(L"ListControl\\DirectorySearch");
    WriteRawText(parent + L"\\Office\\Column 0", L"Name", L"cn");
    WriteRawText(parent + L"\\Home", L"Style", L"1");
    EXPECT_TRUE(m_options.IsSubKeyPresent(L"ListControl\\DirectorySearch\\Office\\Column 0"));
    EXPECT_FALSE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", L""));
    EXPECT_FALSE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", nullptr));
    EXPECT_TRUE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", L"Office"));
    EXPECT_FALSE(m_options.IsSubKeyPresent(L"ListControl\\DirectorySearch\\Office\\Column 0"));
    EXPECT_TRUE(KeyExists(parent + L"\\Home"));
    EXPECT_FALSE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", L"Office"));
}
