// The host's options store: where it keeps things in the registry, what it reads
// back from good and bad data, and the rights it derives from numbered options.
#include "EventLog.h"
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

TEST_F(OptionsTest, RootIsTheProductKeyUnderTovana) {
    EXPECT_EQ(m_options.GetRootKey(), L"Software\\Tovana\\Quillet Test Options");
    EXPECT_EQ(m_options.GetString(HostOption::ProductKey), L"Quillet Test Options");
    EXPECT_EQ(m_options.GetKelvoSubKey(), L"Quillet Test Options");
    // A stored option 18 cannot move the root it is stored under.
    WriteRawText(m_numbered, L"Option18", L"Elsewhere");
    EXPECT_EQ(m_options.GetString(HostOption::ProductKey), L"Quillet Test Options");
}

TEST(OptionsProcessTest, ProcessWideStoreSharesTheModuleProfileRoot) {
    COptions* pOptions = COptions::GetOptions();
    ASSERT_NE(pOptions, nullptr);
    EXPECT_EQ(pOptions, COptions::GetOptions());
    EXPECT_EQ(pOptions->GetString(HostOption::ProductKey), L"Tovana Quillet");
    CWinApp app(L"Tovana Quillet");
    app.SetRegistryKey(L"Tovana");
    EXPECT_EQ(pOptions->GetRootKey(), app.GetSectionPath(nullptr));
}

TEST_F(OptionsTest, NumberedOptionsDefaultWhenNotStored) {
    struct Case {
        int nOption;
        int nExpected;
    };
    const Case cases[] = {{110, 0}, {112, 0}, {114, 0}, {115, 0}, {116, 0}, {117, 0},
                          {118, 0}, {119, 0}, {120, 0}, {121, 0}, {122, 0}, {196, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(m_options.GetNumber(c.nOption), c.nExpected) << "option " << c.nOption;
        EXPECT_EQ(m_options.Is(c.nOption), c.nExpected != 0) << "option " << c.nOption;
    }
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Quillet");
    EXPECT_EQ(m_options.GetString(4711), L"");
}

TEST_F(OptionsTest, NumberedOptionsComeFromConfigOptions) {
    WriteRawNumber(m_numbered, L"Option110", 2);
    WriteRawNumber(m_numbered, L"Option196", 0);
    WriteRawNumber(m_numbered, L"Option4711", static_cast<DWORD>(-7));
    WriteRawText(m_numbered, L"Option19", L"Handbook");
    EXPECT_EQ(m_options.GetNumber(110), 2);
    EXPECT_FALSE(m_options.Is(196));
    EXPECT_EQ(m_options.GetNumber(4711), -7);
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Handbook");
}

TEST_F(OptionsTest, NumberedOptionOfTheWrongKindKeepsItsDefault) {
    WriteRawText(m_numbered, L"Option196", L"0");
    WriteRawNumber(m_numbered, L"Option19", 5);
    EXPECT_TRUE(m_options.Is(196));
    EXPECT_EQ(m_options.GetString(HostOption::HelpFileName), L"Quillet");
}

TEST_F(OptionsTest, RightsFollowTheirOptionBits) {
    using Check = BOOL (COptions::*)() const;
    struct Case {
        const wchar_t* pszOption;
        DWORD nValue;
        Check pfnCheck;
        BOOL bExpected;
    };
    const Case cases[] = {
        {L"Option115", 4, &COptions::AccessPhoneDirectory, FALSE},
        {L"Option115", 3, &COptions::AccessPhoneDirectory, TRUE},
        {L"Option115", 2, &COptions::ModifyPhoneDirectory, FALSE},
        {L"Option115", 4, &COptions::ModifyPhoneDirectory, FALSE},
        {L"Option115", 1, &COptions::ModifyPhoneDirectory, TRUE},
        {L"Option116", 4, &COptions::AccessCallHistory, FALSE},
        {L"Option117", 4, &COptions::AccessPublicSearch, FALSE},
        {L"Option117", 0xFB, &COptions::AccessPublicSearch, TRUE},
        {L"Option117", 2, &COptions::ModifyPublicSearch, FALSE},
        {L"Option117", 4, &COptions::ModifyPublicSearch, FALSE},
        {L"Option117", 1, &COptions::ModifyPublicSearch, TRUE},
        {L"Option118", 4, &COptions::AccessPhoneFeatures, FALSE},
        {L"Option119", 4, &COptions::AccessAgentGreetings, FALSE},
        {L"Option120", 4, &COptions::AccessScreenPops, FALSE},
        {L"Option121", 4, &COptions::AccessStatboards, FALSE},
        {L"Option122", 4, &COptions::AccessSpeedDials, FALSE},
        {L"Option122", 0, &COptions::AccessSpeedDials, TRUE},
    };
    for (const auto& c : cases) {
        WriteRawNumber(m_numbered, c.pszOption, c.nValue);
        EXPECT_EQ((m_options.*c.pfnCheck)(), c.bExpected)
            << std::string(CString(c.pszOption).ToUtf8()) << " = " << c.nValue;
    }
}

TEST_F(OptionsTest, RightsAreGrantedByDefault) {
    EXPECT_TRUE(m_options.AccessPhoneDirectory());
    EXPECT_TRUE(m_options.AccessCallHistory());
    EXPECT_TRUE(m_options.AccessPublicSearch());
    EXPECT_TRUE(m_options.AccessPhoneFeatures());
    EXPECT_TRUE(m_options.AccessAgentGreetings());
    EXPECT_TRUE(m_options.AccessScreenPops());
    EXPECT_TRUE(m_options.AccessStatboards());
    EXPECT_TRUE(m_options.AccessSpeedDials());
    EXPECT_TRUE(m_options.ModifyPublicSearch());
    EXPECT_TRUE(m_options.ModifyPhoneDirectory());
    EXPECT_TRUE(m_options.ModifyProgramOptions());
}

TEST_F(OptionsTest, ProgramOptionsLockedUnlessAdministratorOrOverride) {
    WriteRawNumber(m_numbered, L"Option112", 1);
    EXPECT_FALSE(m_options.ModifyProgramOptions());
    WriteRawNumber(m_numbered, L"Option112", 6); // only bit 0 locks
    EXPECT_TRUE(m_options.ModifyProgramOptions());
    WriteRawNumber(m_numbered, L"Option112", 1);
    WriteRawNumber(m_numbered, L"Option114", 1);
    EXPECT_TRUE(m_options.ModifyProgramOptions());
    WriteRawNumber(m_numbered, L"Option114", 0);
    m_options.SetOverride(TRUE);
    EXPECT_TRUE(m_options.ModifyProgramOptions());
}

TEST_F(OptionsTest, LanguagePrefixFollowsOption110) {
    struct Case {
        DWORD nLanguage;
        const wchar_t* pszPrefix;
    };
    const Case cases[] = {{0, L"enu\\"}, {2, L"deu\\"}, {4, L"fra\\"},
                          {8, L"ptb\\"}, {9, L"enu\\"}, {static_cast<DWORD>(-1), L"enu\\"}};
    for (const auto& c : cases) {
        WriteRawNumber(m_numbered, L"Option110", c.nLanguage);
        EXPECT_EQ(m_options.GetLanguagePrefix(), c.pszPrefix) << "language " << c.nLanguage;
    }
}

TEST_F(OptionsTest, ProgramPathIsTheFolderOfTheProgram) {
    wchar_t szProgram[MAX_PATH];
    ::GetModuleFileNameW(nullptr, szProgram, MAX_PATH);
    CString path = m_options.GetProgramPath();
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_NE(path[path.GetLength() - 1], L'\\');
    std::wstring program(szProgram);
    EXPECT_EQ(program.substr(0, program.rfind(L'\\')), path.str());
}

TEST_F(OptionsTest, NumbersRoundTripAndCreateTheirKey) {
    std::wstring key = m_sandbox.Path(L"Deep\\Er\\Key");
    for (int nValue : {0, 389, -1, 0x7FFFFFFF, static_cast<int>(0x80000000)}) {
        m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"number", nValue);
        int nRaw = 0;
        ASSERT_TRUE(ReadRawNumber(key, L"number", nRaw));
        EXPECT_EQ(nRaw, nValue);
        EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"number", 42),
                  nValue);
    }
}

TEST_F(OptionsTest, TextsRoundTripWhateverTheyHold) {
    std::wstring key = m_sandbox.Path(L"Texts");
    const std::wstring texts[] = {L"", L" padded ", L"Zo\u00eb \u0141\u00f3d\u017a \"q\" \\",
                                  std::wstring(100000, L'x')};
    for (const auto& text : texts) {
        m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"text", text.c_str(), 0);
        EXPECT_EQ(ReadRawText(key, L"text"), text);
        EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"text", L"default", 0)
                      .str(),
                  text);
    }
}

TEST_F(OptionsTest, ReadsOfMissingOrMismatchedValuesGiveTheDefault) {
    std::wstring key = m_sandbox.Path(L"Bad");
    const DWORD nDword = 636;
    const unsigned long long nQword = 636;
    const BYTE binary[4] = {1, 2, 3, 4};
    WriteRawText(key, L"textNumber", L"636");
    WriteRaw(key, L"qword", REG_QWORD, &nQword, sizeof(nQword));
    WriteRaw(key, L"binary", REG_BINARY, binary, sizeof(binary));
    WriteRaw(key, L"shortDword", REG_DWORD, &nDword, 2);
    WriteRawNumber(key, L"number", nDword);
    WriteRaw(key, L"multi", REG_MULTI_SZ, L"a\0b\0", 5 * sizeof(wchar_t));
    for (const wchar_t* pszName : {L"missing", L"textNumber", L"qword", L"binary", L"shortDword"})
        EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), pszName, 389), 389)
            << CString(pszName).ToUtf8();
    for (const wchar_t* pszName : {L"missing", L"number", L"binary", L"multi"})
        EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), pszName, L"dflt", 0),
                  L"dflt")
            << CString(pszName).ToUtf8();
    std::wstring missingKey = m_sandbox.Path(L"NoSuchKey");
    EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, missingKey.c_str(), L"x", 7), 7);
    EXPECT_FALSE(KeyExists(missingKey)); // reading creates nothing
}

TEST_F(OptionsTest, TextStoredWithoutTerminatorReadsAsFound) {
    std::wstring key = m_sandbox.Path(L"Bad");
    WriteRaw(key, L"address", REG_SZ, L"ldap.example", 12 * sizeof(wchar_t));
    WriteRaw(key, L"odd", REG_SZ, "abc", 3); // not even whole characters
    EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"address", L"", 0),
              L"ldap.example");
    EXPECT_EQ(
        m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"odd", L"", 0).GetLength(), 1);
}

TEST_F(OptionsTest, ExpandableTextsKeepTheirReferencesUntilRead) {
    std::wstring key = m_sandbox.Path(L"Texts");
    ::SetEnvironmentVariableW(L"QUILLET_TEST_FOLDER", L"C:\\Quillet");
    m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"path",
                               L"%QUILLET_TEST_FOLDER%\\logs", kExpandableText);
    RawValue raw;
    ASSERT_TRUE(ReadRaw(key, L"path", raw));
    EXPECT_EQ(raw.nType, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(
        m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"path", L"", kExpandableText),
        L"C:\\Quillet\\logs");
    EXPECT_EQ(m_options.GetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"path", L"", 0),
              L"%QUILLET_TEST_FOLDER%\\logs");
}

TEST_F(OptionsTest, ListNamesTheSubKeysInTheStoreOrder) {
    for (const wchar_t* pszName : {L"Zulu", L"alpha", L"Mike", L"Bravo Two"})
        CreateRawKey(m_sandbox.Path(std::wstring(L"Config\\LDapServers\\") + pszName));
    WriteRawText(m_sandbox.Path(L"Config\\LDapServers"), L"notAKey", L"x");
    CStringList list;
    list.AddTail(L"stale");
    m_options.GetList(L"Config\\LDapServers", list);
    EXPECT_EQ(ToVector(list), RawSubKeyNames(m_sandbox.Path(L"Config\\LDapServers")));
    EXPECT_EQ(list.GetCount(), 4);
    m_options.GetList(L"Config\\NoSuchKey", list);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(OptionsTest, RecentListReadsBackInTheOrderWritten) {
    const std::vector<std::wstring> texts = {L"zeta", L"Alpha", L"mike", L"alpha",  L"",
                                             L"10",   L"9",     L"x y",  L"\u00e9", L"last"};
    EXPECT_TRUE(m_options.SetRecentLdapSearchList(L"cn", ToList(texts)));
    CStringList list;
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\cn", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), texts);
    // Stored as the values "1", "2", ... of the attribute's key.
    std::wstring key = m_sandbox.Path(L"General\\RecentLdapSearch\\cn");
    EXPECT_EQ(ReadRawText(key, L"1"), L"zeta");
    EXPECT_EQ(ReadRawText(key, L"10"), L"last");
    EXPECT_EQ(RawValueNames(key).size(), texts.size());
}

TEST_F(OptionsTest, ShorterRecentListLeavesNothingOfTheLongerOne) {
    m_options.SetRecentLdapSearchList(L"mail", ToList({L"a", L"b", L"c", L"d"}));
    m_options.SetRecentLdapSearchList(L"mail", ToList({L"d", L"a"}));
    CStringList list;
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\mail", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), (std::vector<std::wstring>{L"d", L"a"}));
    EXPECT_EQ(RawValueNames(m_sandbox.Path(L"General\\RecentLdapSearch\\mail")).size(), 2u);
    m_options.SetRecentLdapSearchList(L"mail", CStringList());
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\mail", list, HKEY_CURRENT_USER);
    EXPECT_TRUE(list.IsEmpty());
    // An empty attribute name must not reach the parent key.
    m_options.SetRecentLdapSearchList(L"cn", ToList({L"Smith"}));
    EXPECT_FALSE(m_options.SetRecentLdapSearchList(L"", ToList({L"x"})));
    EXPECT_TRUE(KeyExists(m_sandbox.Path(L"General\\RecentLdapSearch\\cn")));
}

TEST_F(OptionsTest, OrderedListSkipsForeignValuesAndEndsAtAGap) {
    std::wstring key = m_sandbox.Path(L"General\\RecentLdapSearch\\cn");
    WriteRawText(key, L"1", L"first");
    WriteRawNumber(key, L"2", 5);
    WriteRawText(key, L"3", L"third");
    WriteRawText(key, L"5", L"after the gap");
    WriteRawText(key, L"name", L"not a position");
    CStringList list;
    m_options.GetSubKeyValues(L"General\\RecentLdapSearch\\cn", list, HKEY_CURRENT_USER);
    EXPECT_EQ(ToVector(list), (std::vector<std::wstring>{L"first", L"third"}));
}

TEST_F(OptionsTest, DeleteSubKeyRemovesTheChildWithEverythingBelowIt) {
    std::wstring parent = m_sandbox.Path(L"ListControl\\DirectorySearch");
    WriteRawText(parent + L"\\Office", L"Style", L"1");
    WriteRawText(parent + L"\\Office\\Column 0", L"Name", L"cn");
    WriteRawText(parent + L"\\Office\\Column 1", L"Name", L"mail");
    WriteRawText(parent + L"\\Home", L"Style", L"1");
    EXPECT_TRUE(m_options.IsSubKeyPresent(L"ListControl\\DirectorySearch\\Office\\Column 0"));
    EXPECT_TRUE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", L"Office"));
    EXPECT_FALSE(KeyExists(parent + L"\\Office"));
    EXPECT_FALSE(m_options.IsSubKeyPresent(L"ListControl\\DirectorySearch\\Office\\Column 0"));
    EXPECT_TRUE(KeyExists(parent + L"\\Home"));
    EXPECT_FALSE(m_options.DeleteSubKey(L"ListControl\\DirectorySearch", L"Office"));
}

TEST_F(OptionsTest, DeleteSubKeyRefusesAnEmptyChildName) {
    std::wstring parent = m_sandbox.Path(L"Config\\LDapServers");
    WriteRawText(parent + L"\\Office", L"address", L"ldap.office");
    EXPECT_FALSE(m_options.DeleteSubKey(L"Config\\LDapServers", L""));
    EXPECT_FALSE(m_options.DeleteSubKey(L"Config\\LDapServers", nullptr));
    EXPECT_EQ(ReadRawText(parent + L"\\Office", L"address"), L"ldap.office");
}

TEST_F(OptionsTest, HostStateIsKeptOnTheObject) {
    CEventLog log;
    HWND hWnd = reinterpret_cast<HWND>(0x1234);
    m_options.SetEventLog(&log);
    m_options.SetTranslation(reinterpret_cast<CTranslation*>(0x10));
    m_options.SetPhoneControlWnd(hWnd);
    m_options.SetMainWindow(reinterpret_cast<CWnd*>(0x20));
    m_options.SetLogFilePath(L"C:\\Logs\\quillet.log");
    EXPECT_EQ(m_options.GetEventLog(), &log);
    EXPECT_EQ(m_options.GetTranslation(), reinterpret_cast<CTranslation*>(0x10));
    EXPECT_EQ(m_options.GetPhoneControlWnd(), hWnd);
    EXPECT_EQ(m_options.GetMainWindow(), reinterpret_cast<CWnd*>(0x20));
    EXPECT_EQ(m_options.GetLogFilePath(), L"C:\\Logs\\quillet.log");
    EXPECT_NE(COptions::GetOptions()->GetMainWindow(), reinterpret_cast<CWnd*>(0x20));

    EXPECT_FALSE(m_options.RestartNeeded());
    EXPECT_FALSE(m_options.RebootNeeded());
    m_options.RequestRestart();
    EXPECT_TRUE(m_options.RestartNeeded());
    EXPECT_FALSE(m_options.RebootNeeded());
    m_options.RequestReboot();
    m_options.ResetRestartRebootStatus();
    EXPECT_FALSE(m_options.RestartNeeded());
    EXPECT_FALSE(m_options.RebootNeeded());
}

TEST_F(OptionsTest, WritesAreTracedByNameOnly) {
    CEventLog log;
    m_options.SetEventLog(&log);
    std::wstring key = m_sandbox.Path(L"Traced");
    m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"password", L"s3cret", 0);
    m_options.SetRegistryValue(HKEY_CURRENT_USER, key.c_str(), L"port", 389);
    CArray<CEventRecord> records = log.GetRecentRecords();
    ASSERT_EQ(records.GetSize(), 2);
    EXPECT_EQ(records[0].strText,
              L"COptions::SetRegistryValue " + CString(key.c_str()) + L"\\password");
    EXPECT_EQ(records[1].strText,
              L"COptions::SetRegistryValue " + CString(key.c_str()) + L"\\port");
    EXPECT_EQ(records[0].strText.Find(L"s3cret"), -1);
}
