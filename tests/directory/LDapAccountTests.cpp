// Server accounts: their exact registry layout, loading good, missing and bad data,
// deleting, copying, and picking the current server.
#include "EventLog.h"
#include "LDapAccount.h"
#include "RegistrySandbox.h"
#include "TestStrings.h"
#include "WinApp.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// What an account holds, in one line: address, search root, logon, password,
// maximum hits, port, time-out, bind selection and method, version and referral.
std::wstring Describe(const CLDapAccount& a) {
    CString text;
    text.Format(L"%s|%s|%s|%s|%d|%d|%d|%d|%x|%d|%d", a.address.GetString(),
                a.searchRoot.GetString(), a.logon.GetString(), a.password.GetString(),
                a.maximumHits, a.port, a.timeout, a.bindSelection, a.bindMethod, a.ldapVersion,
                a.ldapReferral);
    return text.str();
}

class LDapAccountTest : public testing::Test {
protected:
    LDapAccountTest() { m_app.SetRegistryKey(L"Tovana"); }

    std::wstring AccountPath(const std::wstring& description) const {
        return m_sandbox.Path(L"Config\\LDapServers\\" + description);
    }
    void SetCurrent(const wchar_t* pszDescription) {
        m_app.WriteProfileString(L"Config\\LDAPServers", L"Current", pszDescription);
    }
    CLDapAccount SampleAccount(const wchar_t* pszDescription, int nVersion = 3, int nReferral = 1) {
        CLDapAccount account;
        account.ldapVersion = nVersion;
        account.ldapReferral = nReferral;
        account.options = &m_options;
        account.description = pszDescription;
        account.address = L"ldap.quillet.test";
        account.searchRoot = L"ou=People,dc=quillet,dc=test";
        account.logon = L"cn=reader,ou=Service,dc=quillet,dc=test";
        account.password = L"reader-secret";
        account.maximumHits = 50;
        account.port = 3389;
        account.timeout = 15;
        account.bindSelection = 0;
        return account;
    }

    CRegistrySandbox m_sandbox{L"Quillet Test Accounts"};
    COptions m_options{m_sandbox.ProductKey().c_str()};
    // The module's profile functions under the same root, as the host arranges it.
    CWinApp m_app{m_sandbox.ProductKey().c_str()};
};

const wchar_t kSample[] = L"ldap.quillet.test|ou=People,dc=quillet,dc=test|"
                          L"cn=reader,ou=Service,dc=quillet,dc=test|reader-secret|50|3389|15|0|486";

} // namespace

TEST_F(LDapAccountTest, SaveWritesExactlyTheEightValuesInOrderAndTheyLoadBack) {
    CEventLog log;
    m_options.SetEventLog(&log);
    SampleAccount(L"Head Office", 2, 0).Save();
    std::vector<std::wstring> names = RawValueNames(AccountPath(L"Head Office"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::wstring>{L"address", L"bindSelection", L"logon", L"maximumHits",
                                         L"password", L"port", L"searchRoot", L"timeout"}));
    // The store reports each write, by name only; their order is the order of Save.
    std::wstring written;
    CArray<CEventRecord> records = log.GetRecentRecords();
    for (int i = 0; i < records.GetSize(); ++i)
        written += records[i].strText.str().substr(records[i].strText.ReverseFind(L'\\')) + L" ";
    EXPECT_EQ(written, L"\\searchRoot \\address \\logon \\password \\maximumHits \\port \\timeout "
                       L"\\bindSelection ");
    // "ldapVersion" is never saved, so the server will be asked.
    EXPECT_EQ(Describe(CLDapAccount(L"Head Office", &m_options)), kSample + std::wstring(L"|0|1"));
}

TEST_F(LDapAccountTest, BindMethodFollowsBindSelectionPasswordsStayAsTypedAdminValuesAreKept) {
    for (const auto& [nSelection, nMethod] :
         {std::pair<DWORD, int>{0, 0x486}, {1, 0x80}, {2, 0x80}, {static_cast<DWORD>(-1), 0x80}}) {
        WriteRawNumber(AccountPath(L"Bind"), L"bindSelection", nSelection);
        CLDapAccount account(L"Bind", &m_options);
        EXPECT_EQ(account.bindSelection, static_cast<int>(nSelection));
        EXPECT_EQ(account.bindMethod, nMethod) << "bindSelection " << nSelection;
    }
    CLDapAccount edited;
    edited.bindSelection = 0;
    edited.UpdateBindMethod();
    EXPECT_EQ(edited.bindMethod, 0x486);

    for (const std::wstring& password :
         {std::wstring(L" lead and trail "), std::wstring(L"p\u00e4ss\u20ac\"w'rd\\%s%d"),
          std::wstring(600, L'#'), std::wstring()}) {
        CLDapAccount account = SampleAccount(L"Secret");
        account.password = password.c_str();
        account.Save();
        EXPECT_EQ(ReadRawText(AccountPath(L"Secret"), L"password"), password);
        EXPECT_EQ(CLDapAccount(L"Secret", &m_options).password.str(), password);
    }
    std::wstring key = AccountPath(L"Head Office");
    WriteRawNumber(key, L"ldapVersion", 2);
    WriteRawNumber(key, L"ldapReferral", 0);
    WriteRawText(key, L"comment", L"set by the administrator");
    SampleAccount(L"Head Office").Save();
    EXPECT_EQ(ReadRawText(key, L"comment"), L"set by the administrator");
    EXPECT_EQ(RawValueNames(key).size(), 11u);
    EXPECT_EQ(Describe(CLDapAccount(L"Head Office", &m_options)), kSample + std::wstring(L"|2|0"));
}

TEST_F(LDapAccountTest, MissingOrBadRegistryDataLoadsAsDefaultsOrAsFound) {
    std::wstring key = AccountPath(L"Broken");
    const BYTE binary[3] = {1, 2, 3};
    const unsigned long long nQword = 7;
    const std::wstring longPassword(70000, L'a');
    WriteRawText(key, L"port", L"636");
    WriteRawNumber(key, L"address", 12);
    WriteRaw(key, L"maximumHits", REG_BINARY, binary, sizeof(binary));
    WriteRaw(key, L"timeout", REG_QWORD, &nQword, sizeof(nQword));
    WriteRawText(key, L"bindSelection", L"0");
    WriteRaw(key, L"logon", REG_MULTI_SZ, L"a\0b\0", 5 * sizeof(wchar_t));
    WriteRaw(key, L"searchRoot", REG_SZ, L"dc=unterminated", 15 * sizeof(wchar_t));
    WriteRawText(key, L"password", longPassword);
    EXPECT_EQ(Describe(CLDapAccount(L"Broken", &m_options)),
              L"|dc=unterminated||" + longPassword + L"|200|389|200|1|80|0|1");
    const DWORD nPort = 636;
    WriteRaw(AccountPath(L"Short"), L"port", REG_DWORD, &nPort, 2); // a number cut short
    WriteRaw(AccountPath(L"Short"), L"address", REG_SZ, "abc", 3);  // not whole characters
    CLDapAccount shortened(L"Short", &m_options);
    EXPECT_EQ(shortened.port, 389);
    EXPECT_EQ(shortened.address.GetLength(), 1);
}

TEST_F(LDapAccountTest, DeleteRemovesOnlyThatAccountAndACopyKeepsItsOwnStore) {
    SampleAccount(L"Head Office").Save();
    SampleAccount(L"Branch").Save();
    WriteRaw(AccountPath(L"Head Office") + L"\\Extra");
    CLDapAccount unnamed;
    unnamed.options = &m_options;
    unnamed.Delete();
    EXPECT_TRUE(KeyExists(AccountPath(L"Head Office")));
    CLDapAccount(L"Head Office", &m_options).Delete();
    EXPECT_FALSE(KeyExists(AccountPath(L"Head Office")));
    EXPECT_EQ(ReadRawText(AccountPath(L"Branch"), L"address"), L"ldap.quillet.test");

    COptions other(L"Quillet Test Other Store");
    CLDapAccount source = SampleAccount(L"Head Office", 2);
    CLDapAccount target;
    target.options = &other;
    target = source;
    EXPECT_EQ(target.options, &other);
    EXPECT_EQ(Describe(target), Describe(source));
    EXPECT_EQ(CLDapAccount(source).options, &m_options);
}

TEST_F(LDapAccountTest, SaveAllStoresEveryAccountAndLoadAllReadsThemInTheStoreOrder) {
    CLDapAccountArray accounts;
    for (const wchar_t* pszName : {L"Zulu", L"alpha", L"Mike"}) {
        accounts.Add(SampleAccount(pszName));
        accounts[accounts.GetUpperBound()].address = CString(L"host-") + pszName;
    }
    accounts.SaveAll();
    EXPECT_TRUE(accounts.IsEmpty());
    accounts.Add(SampleAccount(L"stale"));
    accounts.LoadAll(&m_options);
    std::vector<std::wstring> order = RawSubKeyNames(m_sandbox.Path(L"Config\\LDapServers"));
    ASSERT_EQ(accounts.GetSize(), 3);
    for (int i = 0; i < accounts.GetSize(); ++i) {
        EXPECT_EQ(accounts[i].description.str(), order[i]);
        EXPECT_EQ(accounts[i].address, L"host-" + accounts[i].description);
        EXPECT_EQ(accounts[i].options, &m_options);
        EXPECT_EQ(accounts[i].ldapVersion, 0);
    }
    m_options.DeleteSubKey(L"Config", L"LDapServers");
    accounts.LoadAll(&m_options);
    EXPECT_TRUE(accounts.IsEmpty());
}

TEST_F(LDapAccountTest, CurrentAccountFollowsTheProfileValue) {
    CLDapAccountArray accounts;
    // The chosen account's position in the list, -1 for none.
    auto current = [&] {
        CLDapAccount* pCurrent = accounts.ChooseCurrent(m_app);
        return pCurrent ? static_cast<int>(pCurrent - &accounts[0]) : -1;
    };
    SetCurrent(L"Twin");
    EXPECT_EQ(current(), -1); // no accounts
    for (const wchar_t* pszName : {L"Alpha", L"Twin", L"Beta", L"Twin"})
        accounts.Add(SampleAccount(pszName));
    // An empty, missing or stale value picks the first; equal descriptions, the last.
    const std::pair<const wchar_t*, int> cases[] = {{nullptr, 0}, {L"", 0},     {L"Beta", 2},
                                                    {L"beta", 0}, {L"Gone", 0}, {L"Beta ", 0},
                                                    {L"Twin", 3}};
    for (const auto& [pszCurrent, nExpected] : cases) {
        SetCurrent(pszCurrent);
        EXPECT_EQ(current(), nExpected) << CString(pszCurrent ? pszCurrent : L"(none)").ToUtf8();
    }
    // An empty value is not rewritten.
    SetCurrent(L"");
    current();
    EXPECT_EQ(m_app.GetProfileString(L"Config\\LDAPServers", L"Current", L"x"), L"");
    // Written under another spelling of the section, as the registry ignores case.
    WriteRawText(m_sandbox.Path(L"Config\\LDapServers"), L"Current", L"Beta");
    EXPECT_EQ(current(), 2);
}
