// The account property sheet and the server commands of the search window as a
// user and an administrator meet them: the Search In button and its menu, the
// sheet driven from inside its modal loop, and everything stored for the servers
// read back with the registry API after each step.
#include "FakeLdapApi.h"
#include "HostSession.h"
#include "RegistrySandbox.h"

#include "resource.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <utility>

using host::kServer;

namespace {

const std::wstring kRoot = L"Software\\Tovana\\Tovana Quillet\\";
const std::wstring kAccounts = L"Config\\LDapServers";
const std::wstring kColumns = L"ListControl\\DirectorySearch";

// "<group>|<path below>value name" -> the value as text, for the groups "Current",
// "account <name>" and "columns <name>".
using Stored = std::map<std::wstring, std::wstring>;

Stored ReadStored() {
    Stored stored;
    for (const auto& [path, group] : {std::pair{kAccounts, L"account "}, {kColumns, L"columns "}}) {
        for (const auto& [name, raw] : ReadRawTree(kRoot + path)) {
            const size_t end = name.find_first_of(L"\\|"); // "sub\key|value" of the tree
            std::wstring below = name.substr(end + 1);
            std::replace(below.begin(), below.end(), L'|', L'\\');
            const BYTE* data = raw.second.data();
            const std::wstring text(reinterpret_cast<const wchar_t*>(data), raw.second.size() / 2);
            stored[(end ? group + name.substr(0, end) : L"Current") + L"|" + below] =
                raw.first == REG_DWORD ? std::to_wstring(*reinterpret_cast<const DWORD*>(data))
                                       : text.substr(0, text.find(L'\0'));
        }
    }
    return stored;
}

// The groups that differ.
std::set<std::wstring> Changes(const Stored& before, const Stored& after) {
    std::set<std::wstring> changed;
    for (const auto& [one, other] : {std::pair{&before, &after}, std::pair{&after, &before}}) {
        for (const auto& [entry, value] : *one) {
            if (!other->count(entry) || other->at(entry) != value)
                changed.insert(entry.substr(0, entry.find(L'|')));
        }
    }
    return changed;
}

// A server's stored values, joined with "/"; "(none)" for one that is missing.
std::wstring AccountValues(const Stored& stored, const std::wstring& server,
                           std::initializer_list<const wchar_t*> names) {
    std::wstring values;
    for (const wchar_t* name : names) {
        auto it = stored.find(L"account " + server + L"|" + name);
        values += L"/" + (it == stored.end() ? L"(none)" : it->second);
    }
    return values.substr(1);
}

// A column set as the list stores it, the columns shown in this order.
void StoreColumns(const std::wstring& server, const std::vector<std::wstring>& names) {
    CRegKey list, column;
    list.Create(HKEY_CURRENT_USER, (kRoot + kColumns + L"\\" + server).c_str());
    list.SetDword(L"Style", LVS_REPORT);
    for (DWORD i = 0; i < names.size(); ++i) {
        column.Create(list, (L"Column " + std::to_wstring(i)).c_str());
        column.SetString(L"Name", names[i].c_str());
        column.SetString(L"Title", names[i].c_str());
        column.SetDword(L"Column", i);
    }
}

// Fields are found on the page shown.
HWND Field(HWND sheet, int id) {
    return GetDlgItem(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)),
                      id);
}

// Replaces the field's text by typing.
void Type(HWND sheet, int id, const std::wstring& text) {
    HWND edit = Field(sheet, id);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    kit::PressKey(edit, VK_DELETE);
    kit::TypeText(edit, text);
    kit::PumpUntilInputDone();
}

void PressCtrlTab() {
    kit::PressKey(GetFocus(), VK_TAB, true);
    kit::PumpUntilInputDone();
}

void Press(HWND sheet, int button) {
    EXPECT_TRUE(kit::Click(GetDlgItem(sheet, button)));
    kit::PumpUntilInputDone();
}

// The texts of a window's controls; of its tabs when ids is empty.
std::vector<std::wstring> Texts(HWND window, std::vector<int> ids) {
    std::vector<std::wstring> texts;
    HWND tab = reinterpret_cast<HWND>(SendMessageW(window, PSM_GETTABCONTROL, 0, 0));
    for (int i = 0; ids.empty() && i < TabCtrl_GetItemCount(tab); ++i) {
        wchar_t text[100] = L"";
        TCITEMW item{TCIF_TEXT, 0, 0, text, 100, 0, 0};
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    for (int id : ids)
        texts.push_back(kit::WindowText(GetDlgItem(window, id)));
    return texts;
}

class ServerTest : public host::SearchWindowTest {
protected:
    // Clicks Search In and works through what that starts: the menu (choosing
    // nChoice, or dismissing it) and the account sheet, which drive(sheet) works
    // from inside its modal loop (a sheet left open is cancelled). Returns the
    // menu's items as shown: "-" for a separator, " (default)" after the default.
    std::vector<std::wstring> SearchIn(UINT nChoice = 0, std::function<void(HWND)> drive = {}) {
        kit::PopupMenuCatcher menu(nChoice);
        std::vector<kit::ModalSteps::Step> steps;
        if (drive)
            steps.push_back([&](HWND sheet) { return drive(sheet), true; });
        kit::ModalSteps sheet(m_hWnd, steps);
        EXPECT_TRUE(ClickToolbarButton(35002));
        // What the click set going is queued by now: work through it, sheet included.
        const UINT kWorkedThrough = WM_APP + 0x3FF;
        PostThreadMessageW(GetCurrentThreadId(), kWorkedThrough, 0, 0);
        MSG msg;
        EXPECT_TRUE(kit::PumpUntil([&] {
            return !PeekMessageW(&msg, reinterpret_cast<HWND>(-1), kWorkedThrough, kWorkedThrough,
                                 PM_NOREMOVE);
        }));
        std::vector<std::wstring> items;
        for (const kit::MenuItem& item : menu.Items())
            items.push_back(item.separator ? L"-"
                                           : item.text + (item.isDefault ? L" (default)" : L""));
        return items;
    }
};

} // namespace

TEST_F(ServerTest, ANewServerIsCheckedThenStoredUnderItsDescriptionWithItsEightValues) {
    SetOption(110, 2); // German: every text of the sheet comes from the host's tables
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(ButtonText(35002), Text(3841));
    const Stored before = ReadStored();
    kit::MessageBoxWatcher boxes(IDOK);
    SearchIn(0, [&](HWND sheet) { // no server yet: Search In goes to Add
        EXPECT_EQ(kit::WindowText(sheet), L"Eigenschaften des Verzeichnisservers");
        EXPECT_EQ(Texts(sheet, {IDOK, IDCANCEL}), (std::vector{Text(2009), Text(2004)}));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, 0x3021))); // no Apply
        EXPECT_EQ(Texts(sheet, {}), (std::vector{Text(2961), Text(2962)}));
        EXPECT_EQ(Texts(GetParent(Field(sheet, 1071)), {1071, 1072, 1073, 1074, 1075}),
                  (std::vector{Text(2919), Text(2955), Text(2926), Text(2927), Text(2956)}));
        for (const wchar_t* description : {L"   ", L"Head\\Office"}) {
            Type(sheet, IDC_DESCRIPTION, description);
            Press(sheet, IDOK);
            EXPECT_EQ(GetFocus(), Field(sheet, IDC_DESCRIPTION));
        }
        Type(sheet, IDC_DESCRIPTION, L"Head Office  ");
        PressCtrlTab(); // leaving the page checks it as OK does
        EXPECT_EQ(GetFocus(), Field(sheet, IDC_ADDRESS));
        Type(sheet, IDC_ADDRESS, L"127.0.0.1");
        Type(sheet, IDC_LOGON, L"cn=reader,ou=Service,dc=quillet,dc=test");
        Type(sheet, IDC_PASSWORD, L"reader-secret"); // a simple bind, as the search shows
        Type(sheet, IDC_SEARCH_ROOT, L"dc=quillet,dc=test");
        PressCtrlTab();
        EXPECT_EQ(Texts(GetParent(Field(sheet, 1071)), {1068, 1069, 1070, 1071}),
                  (std::vector{Text(2957), Text(2958), Text(2959), Text(2057)}));
        // The bind options in their fixed order, the simple bind chosen.
        EXPECT_EQ(kit::ComboItems(Field(sheet, IDC_BIND_OPTION)),
                  (std::vector{Text(3068), Text(3067)}));
        EXPECT_EQ(SendMessageW(Field(sheet, IDC_BIND_OPTION), CB_GETCURSEL, 0, 0), 1);
        // A port is 1 to 65535: a larger number would reach another port; pasted text
        // with a letter (the field takes only digits from the keyboard) is no number.
        for (const wchar_t* port : {L"0", L"12x", L"65536"}) {
            kit::SetEditText(Field(sheet, IDC_PORT), port);
            Press(sheet, IDOK);
            EXPECT_EQ(GetFocus(), Field(sheet, IDC_PORT)) << port;
        }
        Type(sheet, IDC_PORT, std::to_wstring(DirectoryPort()));
        Type(sheet, IDC_TIMEOUT, L" 30 "); // blanks around a number are no error
        Type(sheet, IDC_MAXIMUM_HITS, L"50");
        Press(sheet, IDOK);
    });
    std::vector<std::wstring> texts;
    for (const kit::MessageBoxInfo& box : boxes.Seen())
        texts.push_back(box.text);
    const std::wstring range = L"Please enter an integer between 1 and 65535.";
    EXPECT_EQ(texts, (std::vector<std::wstring>{Text(2807), Text(2809), Text(2808), range,
                                                L"Please enter an integer.", range}));
    EXPECT_EQ(boxes.Seen()[0].caption + L"|" + std::to_wstring(boxes.Seen()[0].icon),
              Text(3220) + L"|" + std::to_wstring(MB_ICONINFORMATION));
    const Stored after = ReadStored();
    EXPECT_EQ(Changes(before, after), (std::set<std::wstring>{L"Current", L"account Head Office"}));
    EXPECT_EQ(AccountValues(after, L"Head Office",
                            {L"address", L"logon", L"password", L"searchRoot", L"port", L"timeout",
                             L"maximumHits", L"bindSelection"}),
              L"127.0.0.1/cn=reader,ou=Service,dc=quillet,dc=test/reader-secret/"
              L"dc=quillet,dc=test/" +
                  std::to_wstring(DirectoryPort()) + L"/30/50/1");
    EXPECT_EQ(ButtonText(35002), L"Head Office");
    TypeSearch(L"John Smith");
    EXPECT_TRUE(WaitForCaption(L"Head Office - John Smith"));
}

TEST_F(ServerTest, ChoosingAServerAbandonsTheSearchAndShowsItsColumns) {
    AddAccount(L"R&D", DirectoryPort(), L"", L"", 200, 3);
    StoreColumns(L"R&D", {L"cn", L"telephonenumber", L"o"});
    AddAccount(kServer, DirectoryPort());
    StoreColumns(kServer, {L"cn", L"mail"});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (Root() + L"\\Config\\LDAPServers").c_str(), L"Current");
    // A search that finds one person, then nothing more for as long as it runs.
    CFakeLdapApi fake;
    fake.results = {{LDAP_RES_SEARCH_ENTRY, LDAP_SUCCESS, {{L"cn=A,dc=test", {{L"cn", {L"A"}}}}}}};
    CInstalledLdapApi installed(fake);
    ASSERT_NE(Open(), nullptr);
    // Without "Current" the first server is current, the menu's default item and the
    // button's text; choosing it writes nothing.
    EXPECT_EQ(ButtonText(35002), L"R&&D");
    const Stored before = ReadStored();
    EXPECT_EQ(SearchIn(1),
              (std::vector<std::wstring>{L"R&&D (default)", kServer, L"-", Text(2000) + L"...",
                                         Text(2011), Text(2010) + L"..."}));
    EXPECT_EQ(ReadStored(), before);

    TypeSearch(L"Bulk");
    ASSERT_TRUE(kit::PumpUntil([&] { return kit::ListRowCount(List()) > 0; }, 15000));
    SearchIn(2);
    EXPECT_EQ(fake.Calls().back(), L"Unbind");
    EXPECT_EQ(fake.OpenObjects(), 0);
    EXPECT_EQ(kit::WindowText(m_hWnd), Text(3231));
    EXPECT_EQ(kit::ListHeaders(List()), (std::vector<std::wstring>{L"cn", L"mail"}));
    kit::PumpPending();
    EXPECT_EQ(kit::ListRowCount(List()), 0); // nothing more arrives
    EXPECT_EQ(ButtonText(35002), kServer);
    EXPECT_EQ(Changes(before, ReadStored()), (std::set<std::wstring>{L"Current", L"columns R&D"}));
    SearchIn(1);
    EXPECT_EQ(kit::ListHeaders(List()),
              (std::vector<std::wstring>{L"cn", L"telephonenumber", L"o"}));
    // Without the right to change the public search only the servers are offered.
    m_pSearch->CloseDialogs();
    SetOption(117, 4);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(SearchIn(), (std::vector<std::wstring>{L"R&&D (default)", kServer}));
    // A list taller than the screen, walked by keyboard: the servers' items pass over
    // the commands' ids (the 106th would otherwise be Add).
    m_pSearch->CloseDialogs();
    for (int i = 1; i <= 110; ++i)
        AddAccount(L"Branch " + std::to_wstring(1000 + i), DirectoryPort());
    ASSERT_NE(Open(), nullptr);
    const UINT_PTR nSafety = ::SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        ::EndMenu(); // should the keys not reach the menu
    });
    EXPECT_TRUE(ClickToolbarButton(35002));
    for (UINT vk : {VK_END, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN})
        kit::PressKey(ToolBar(), vk); // from the last item up to the 106th, and chosen
    kit::PumpUntilInputDone();
    ::KillTimer(nullptr, nSafety);
    EXPECT_EQ(ButtonText(35002), L"Branch 1106");
}

// An administrator renames, edits, cancels, switches and removes servers; after
// each step only what was meant has changed.
TEST_F(ServerTest, AnAdministratorsChangesTouchOnlyWhatTheyMean) {
    AddAccount(L"Archive", DirectoryPort());
    AddAccount(L"Branch", DirectoryPort(), L"cn=reader", L"secret");
    AddAccount(kServer, DirectoryPort(), L"cn=reader", L"secret");
    StoreColumns(L"Archive", {L"cn", L"l"});
    StoreColumns(L"Branch", {L"cn", L"mail"});
    StoreColumns(kServer, {L"cn", L"telephonenumber", L"o"});
    // An administrator's own setting, which the sheet never writes.
    const DWORD nNoReferrals = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, (Root() + L"\\Config\\LDapServers\\" + kServer).c_str(),
                    L"ldapReferral", REG_DWORD, &nNoReferrals, sizeof(nNoReferrals));
    ASSERT_NE(Open(), nullptr);
    Stored stored = ReadStored();
    auto changes = [&] {
        const Stored now = ReadStored();
        return Changes(std::exchange(stored, now), now);
    };
    auto renameTo = [](const wchar_t* name) {
        return [name](HWND sheet) {
            Type(sheet, IDC_DESCRIPTION, name);
            Press(sheet, IDOK);
        };
    };
    auto chooseNegotiatedBind = [](HWND sheet) {
        PressCtrlTab();
        kit::SelectComboItem(Field(sheet, IDC_BIND_OPTION), 0);
    };
    auto bind = [&](const wchar_t* server) {
        return AccountValues(stored, server, {L"logon", L"password", L"bindSelection"});
    };

    // The current server renamed: its account, its columns and "Current" follow.
    SearchIn(ID_SERVER_PROPERTIES, renameTo(L"Head Office"));
    EXPECT_EQ(changes(),
              (std::set<std::wstring>{L"Current", L"account Test Directory", L"account Head Office",
                                      L"columns Test Directory", L"columns Head Office"}));
    EXPECT_EQ(AccountValues(stored, L"Head Office", {L"ldapReferral", L"address"}), L"0/127.0.0.1");
    EXPECT_EQ(stored[L"columns Head Office|Column 2\\Name"], L"o");
    EXPECT_EQ(SearchIn()[2], L"Head Office (default)");

    // Edited under its new name; then edited and cancelled.
    SearchIn(ID_SERVER_PROPERTIES, [](HWND sheet) {
        PressCtrlTab();
        Type(sheet, IDC_TIMEOUT, L"30");
        Press(sheet, IDOK);
    });
    EXPECT_EQ(changes(), std::set<std::wstring>{L"account Head Office"});
    SearchIn(ID_SERVER_PROPERTIES, [](HWND sheet) {
        Type(sheet, IDC_DESCRIPTION, L"Nonsense");
        Press(sheet, IDCANCEL);
    });
    EXPECT_EQ(changes(), std::set<std::wstring>{});

    // Renamed onto another server's name (key names ignore letter case): asked
    // first; No leaves both.
    {
        kit::MessageBoxWatcher no(IDNO);
        SearchIn(ID_SERVER_PROPERTIES, renameTo(L"archive"));
        ASSERT_EQ(no.Count(), 1u);
        EXPECT_EQ(no.Seen()[0].text + L"|" + no.Seen()[0].caption, Text(3451) + L"|" + Text(3232));
        EXPECT_EQ(no.Seen()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    }
    EXPECT_EQ(changes(), std::set<std::wstring>{});

    // The negotiated bind chosen and confirmed on the Advanced page: the logon goes.
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        chooseNegotiatedBind(sheet);
        Press(sheet, IDOK);
    });
    EXPECT_EQ(changes(), std::set<std::wstring>{L"account Head Office"});
    EXPECT_EQ(bind(L"Head Office"), L"//0");

    // Another server chosen; the negotiated bind chosen there, then back on General:
    // logon and password are blanked, and what is typed afterwards is kept.
    SearchIn(2);
    EXPECT_EQ(changes(), std::set<std::wstring>{L"Current"}); // its columns were saved as shown
    EXPECT_EQ(kit::ListHeaders(List()), (std::vector<std::wstring>{L"cn", L"mail"}));
    SearchIn(ID_SERVER_PROPERTIES, [&](HWND sheet) {
        chooseNegotiatedBind(sheet);
        PressCtrlTab();
        EXPECT_EQ(kit::WindowText(Field(sheet, IDC_LOGON)) +
                      kit::WindowText(Field(sheet, IDC_PASSWORD)),
                  L"");
        Type(sheet, IDC_LOGON, L"me");
        Press(sheet, IDOK);
    });
    EXPECT_EQ(changes(), std::set<std::wstring>{L"account Branch"});
    EXPECT_EQ(bind(L"Branch"), L"me//0");

    // Removed, with its localized titles: the first server left becomes current.
    StoreColumns(L"Branch-intl", {L"cn"});
    changes();
    SearchIn(ID_SERVER_REMOVE);
    EXPECT_EQ(changes(), (std::set<std::wstring>{L"Current", L"account Branch", L"columns Branch",
                                                 L"columns Branch-intl"}));
    EXPECT_EQ(ButtonText(35002), L"Archive");
    EXPECT_EQ(kit::ListHeaders(List()), (std::vector<std::wstring>{L"cn", L"l"}));

    // Renamed onto the other server again, Yes: one server of that name is left,
    // with the renamed one's settings and columns; it is current and searchable.
    {
        kit::MessageBoxWatcher yes(IDYES);
        SearchIn(ID_SERVER_PROPERTIES, renameTo(L"head office"));
    }
    EXPECT_EQ(changes(),
              (std::set<std::wstring>{L"Current", L"account Archive", L"account Head Office",
                                      L"account head office", L"columns Archive",
                                      L"columns Head Office", L"columns head office"}));
    EXPECT_EQ(bind(L"head office"), L"//1");
    EXPECT_EQ(SearchIn()[0], L"head office (default)");
    TypeSearch(L"John Smith");
    EXPECT_TRUE(WaitForCaption(L"head office - John Smith"));

    // The only server removed: no server, no columns; Search In goes to Add. There,
    // help goes to the host, and the host closing the window ends the sheet.
    SearchIn(ID_SERVER_REMOVE);
    EXPECT_EQ(ReadStored(), (Stored{{L"Current|Current", L""}}));
    EXPECT_EQ(ButtonText(35002), Text(3841));
    EXPECT_TRUE(kit::ListHeaders(List()).empty());
    SearchIn(0, [&](HWND sheet) {
        Type(sheet, IDC_DESCRIPTION, L"Branch");
        HELPINFO help{
            sizeof(help), HELPINFO_WINDOW, IDC_DESCRIPTION, Field(sheet, IDC_DESCRIPTION), 0, {}};
        SendMessageW(Field(sheet, IDC_DESCRIPTION), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        EXPECT_EQ(m_host.m_messages, (std::vector<std::pair<WPARAM, LPARAM>>{{19, 0}}));
        m_pSearch->CloseDialogs();
        EXPECT_FALSE(IsWindow(sheet));
    });
    EXPECT_FALSE(IsWindow(m_hWnd));
    EXPECT_EQ(m_host.m_messages, (std::vector<std::pair<WPARAM, LPARAM>>{{19, 0}, {15, 7}}));
    EXPECT_EQ(ReadStored(), (Stored{{L"Current|Current", L""}}));

    // Without the right to change the public search, not even that.
    SetOption(117, 4);
    ASSERT_NE(Open(), nullptr);
    bool bSheet = false;
    SendMessageW(m_hWnd, WM_COMMAND, ID_ADD_PUBLIC_DIRECTORY, 0);
    EXPECT_TRUE(SearchIn(0, [&](HWND) { bSheet = true; }).empty());
    EXPECT_FALSE(bSheet);
}
