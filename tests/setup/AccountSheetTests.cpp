// The account property sheet as a user fills it in: what it shows, what it refuses,
// what it stores and what it leaves alone.
#include "ServerSession.h"

#include "resource.h"

using namespace servers;

namespace {

std::vector<std::wstring> Texts(HWND window, std::initializer_list<int> ids) {
    std::vector<std::wstring> texts;
    for (int id : ids)
        texts.push_back(kit::WindowText(GetDlgItem(window, id)));
    return texts;
}

std::vector<std::wstring> TabTexts(HWND sheet) {
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    std::vector<std::wstring> texts;
    for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
        wchar_t text[100] = L"";
        TCITEMW item{TCIF_TEXT, 0, 0, text, 100, 0, 0};
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

} // namespace

TEST_F(ServerTest, ANewServerIsStoredUnderItsDescriptionWithItsEightValues) {
    SetOption(110, 2); // German: every text of the sheet comes from the host's tables
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(ServerButtonText(), Text(3841));
    const Stored before = ReadStored();
    SearchIn(0, [&](HWND sheet) {
        EXPECT_EQ(kit::WindowText(sheet), L"Eigenschaften des Verzeichnisservers");
        EXPECT_EQ(Texts(sheet, {IDOK, IDCANCEL}), (std::vector{Text(2009), Text(2004)}));
        HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(!apply || !IsWindowVisible(apply));
        EXPECT_EQ(TabTexts(sheet), (std::vector{Text(2961), Text(2962)}));
        EXPECT_EQ(Texts(CurrentPage(sheet), {1071, 1072, 1073, 1074, 1075}),
                  (std::vector{Text(2919), Text(2955), Text(2926), Text(2927), Text(2956)}));
        Type(sheet, IDC_DESCRIPTION, L"Head Office  ");
        Type(sheet, IDC_ADDRESS, L"127.0.0.1");
        Type(sheet, IDC_LOGON, L"cn=reader,ou=Service,dc=quillet,dc=test");
        Type(sheet, IDC_PASSWORD, L"reader-secret");
        Type(sheet, IDC_SEARCH_ROOT, L"dc=quillet,dc=test");
        ShowTab(sheet, 1);
        EXPECT_EQ(Texts(CurrentPage(sheet), {1068, 1069, 1070, 1071}),
                  (std::vector{Text(2957), Text(2958), Text(2959), Text(2057)}));
        // The fixed order of the bind options, the simple bind chosen for a new server.
        EXPECT_EQ(kit::ComboItems(Field(sheet, IDC_BIND_OPTION)),
                  (std::vector{Text(3068), Text(3067)}));
        EXPECT_EQ(kit::ComboSelection(Field(sheet, IDC_BIND_OPTION)), 1);
        EXPECT_EQ(kit::WindowText(Field(sheet, IDC_PORT)), L"389");
        Type(sheet, IDC_PORT, std::to_wstring(DirectoryPort()));
        Type(sheet, IDC_TIMEOUT, L"30");
        Type(sheet, IDC_MAXIMUM_HITS, L"50");
        Press(sheet, IDOK);
    });
    const Stored after = ReadStored();
    EXPECT_EQ(Changes(before, after), (std::set<std::wstring>{L"Current", L"account Head Office"}));
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"address", L"127.0.0.1"},
        {L"logon", L"cn=reader,ou=Service,dc=quillet,dc=test"},
        {L"password", L"reader-secret"},
        {L"searchRoot", L"dc=quillet,dc=test"},
        {L"port", std::to_wstring(DirectoryPort())},
        {L"timeout", L"30"},
        {L"maximumHits", L"50"},
        {L"bindSelection", L"1"}};
    for (const auto& [name, value] : values)
        EXPECT_EQ(AccountValue(after, L"Head Office", name), value) << name;
    EXPECT_EQ(after.size() - before.size(), 9u); // the eight values and "Current"
    EXPECT_EQ(ServerButtonText(), L"Head Office");
    TypeSearch(L"John Smith");
    EXPECT_TRUE(WaitForCaption(L"Head Office - John Smith"));
}

TEST_F(ServerTest, AMissingDescriptionOrAddressOrABadNumberKeepsTheSheetOpen) {
    ASSERT_NE(Open(), nullptr);
    const Stored before = ReadStored();
    kit::MessageBoxWatcher boxes(IDOK);
    SearchIn(0, [&](HWND sheet) {
        Type(sheet, IDC_DESCRIPTION, L"   ");
        Press(sheet, IDOK);
        EXPECT_EQ(CurrentTab(sheet), 0);
        EXPECT_EQ(GetFocus(), Field(sheet, IDC_DESCRIPTION));
        Type(sheet, IDC_DESCRIPTION, L"Branch");
        ShowTab(sheet, 1); // leaving the page checks it as OK does
        EXPECT_EQ(CurrentTab(sheet), 0);
        EXPECT_EQ(GetFocus(), Field(sheet, IDC_ADDRESS));
        Type(sheet, IDC_ADDRESS, L"127.0.0.1");
        ShowTab(sheet, 1);
        ASSERT_EQ(CurrentTab(sheet), 1);
        // A port is 1 to 65535: beyond it the connection would reach another port.
        for (const wchar_t* port : {L"0", L"abc", L"65536"}) {
            Type(sheet, IDC_PORT, port);
            Press(sheet, IDOK);
            EXPECT_EQ(CurrentTab(sheet), 1) << port;
            EXPECT_EQ(GetFocus(), Field(sheet, IDC_PORT)) << port;
        }
        Type(sheet, IDC_PORT, L"65535");
        Type(sheet, IDC_TIMEOUT, L"2147483648");
        Press(sheet, IDOK);
        EXPECT_EQ(GetFocus(), Field(sheet, IDC_TIMEOUT));
        Press(sheet, IDCANCEL);
    });
    std::vector<kit::MessageBoxInfo> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].text, Text(2807));
    EXPECT_EQ(seen[0].caption, Text(3220));
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(seen[1].text, Text(2808));
    EXPECT_EQ(seen[2].text, L"Please enter an integer between 1 and 65535.");
    EXPECT_EQ(seen[3].text, L"Please enter an integer.");
    EXPECT_EQ(seen[4].text, L"Please enter an integer between 1 and 65535.");
    EXPECT_EQ(seen[5].text, L"Please enter an integer.");
    EXPECT_EQ(ReadStored(), before); // cancelled: nothing stored
    EXPECT_EQ(ServerButtonText(), Text(3841));
}

TEST_F(ServerTest, TheNegotiatedBindReplacesTheTypedLogon) {
    AddAccount(kServer, DirectoryPort(), L"cn=reader", L"secret");
    ASSERT_NE(Open(), nullptr);
    auto stored = [&](const wchar_t* name) { return AccountValue(ReadStored(), kServer, name); };
    // Chosen on the Advanced page, then back on General: logon and password are
    // blanked there, and what is typed afterwards is kept.
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        ShowTab(sheet, 1);
        kit::SelectComboItem(Field(sheet, IDC_BIND_OPTION), 0);
        ShowTab(sheet, 0);
        EXPECT_EQ(kit::WindowText(Field(sheet, IDC_LOGON)), L"");
        EXPECT_EQ(kit::WindowText(Field(sheet, IDC_PASSWORD)), L"");
        Type(sheet, IDC_LOGON, L"me");
        Press(sheet, IDOK);
    });
    EXPECT_EQ(stored(L"logon"), L"me");
    EXPECT_EQ(stored(L"password"), L"");
    EXPECT_EQ(stored(L"bindSelection"), L"0");
    // A server that binds that way already keeps its logon; back to the simple bind.
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        ShowTab(sheet, 1);
        ShowTab(sheet, 0);
        EXPECT_EQ(kit::WindowText(Field(sheet, IDC_LOGON)), L"me");
        Type(sheet, IDC_PASSWORD, L"pw");
        ShowTab(sheet, 1);
        kit::SelectComboItem(Field(sheet, IDC_BIND_OPTION), 1);
        Press(sheet, IDOK);
    });
    EXPECT_EQ(stored(L"password"), L"pw");
    EXPECT_EQ(stored(L"bindSelection"), L"1");
    // Chosen and confirmed on the Advanced page: no logon is kept either.
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        ShowTab(sheet, 1);
        kit::SelectComboItem(Field(sheet, IDC_BIND_OPTION), 0);
        Press(sheet, IDOK);
    });
    EXPECT_EQ(stored(L"logon"), L"");
    EXPECT_EQ(stored(L"password"), L"");
    EXPECT_EQ(stored(L"bindSelection"), L"0");
}

TEST_F(ServerTest, RenamingOntoAnotherServerAsksFirst) {
    AddAccount(L"Branch", DirectoryPort());
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    const Stored before = ReadStored();
    auto renameToBranch = [](HWND sheet) {
        Type(sheet, IDC_DESCRIPTION, L"branch");
        Type(sheet, IDC_SEARCH_ROOT, L"ou=People,dc=quillet,dc=test");
        Press(sheet, IDOK);
    };
    {
        kit::MessageBoxWatcher no(IDNO);
        SearchIn(ID_SERVER_PROPERTIES, renameToBranch);
        ASSERT_EQ(no.Count(), 1u);
        EXPECT_EQ(no.Seen()[0].text, Text(3451));
        EXPECT_EQ(no.Seen()[0].caption, Text(3232));
        EXPECT_EQ(no.Seen()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    }
    EXPECT_EQ(ReadStored(), before);
    EXPECT_EQ(SearchIn().size(), 6u); // both servers, a separator and three commands
    {
        kit::MessageBoxWatcher yes(IDYES);
        SearchIn(ID_SERVER_PROPERTIES, renameToBranch);
    }
    const Stored after = ReadStored();
    EXPECT_EQ(Changes(before, after),
              (std::set<std::wstring>{L"Current", L"account Branch", L"account branch",
                                      L"account Test Directory", L"columns branch"}));
    EXPECT_EQ(AccountValue(after, L"branch", L"searchRoot"), L"ou=People,dc=quillet,dc=test");
    std::vector<kit::MenuItem> menu = SearchIn();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].text, L"branch");
    EXPECT_TRUE(menu[0].isDefault);
    EXPECT_EQ(ServerButtonText(), L"branch");
}

TEST_F(ServerTest, HelpGoesToTheHostAndTheHostClosingTheWindowEndsTheSheet) {
    AddAccount(kServer, DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        Type(sheet, IDC_ADDRESS, L"changed.example");
        HELPINFO help{sizeof(help), HELPINFO_WINDOW, IDC_ADDRESS, Field(sheet, IDC_ADDRESS), 0, {}};
        SendMessageW(Field(sheet, IDC_ADDRESS), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        EXPECT_EQ(m_host.m_messages, (std::vector<std::pair<WPARAM, LPARAM>>{{19, 0}}));
        m_pSearch->CloseDialogs();
        EXPECT_FALSE(IsWindow(sheet));
    });
    EXPECT_FALSE(IsWindow(m_hWnd));
    EXPECT_EQ(m_host.m_messages, (std::vector<std::pair<WPARAM, LPARAM>>{{19, 0}, {15, 7}}));
    // The sheet's edits were not stored.
    EXPECT_EQ(AccountValue(ReadStored(), kServer, L"address"), L"127.0.0.1");
}
