#include "ServerSession.h"

namespace servers {

namespace {

const std::wstring kRoot = L"Software\\Tovana\\Tovana Quillet\\";
const std::wstring kAccounts = L"Config\\LDapServers";
const std::wstring kColumns = L"ListControl\\DirectorySearch";

void ReadKey(const std::wstring& path, Stored& out) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (kRoot + path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    wchar_t name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256, size = sizeof(data), type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
        out[path + L"|" + name] = type == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD*>(data))
                                                    : text.substr(0, text.find(L'\0'));
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        ReadKey(path + L"\\" + name, out);
    }
    RegCloseKey(key);
}

SheetDriver* s_pDriver = nullptr;

} // namespace

Stored ReadStored() {
    Stored stored;
    ReadKey(kAccounts, stored);
    ReadKey(kColumns, stored);
    return stored;
}

std::set<std::wstring> Changes(const Stored& before, const Stored& after) {
    std::set<std::wstring> changed;
    auto note = [&](const std::wstring& entry) {
        const std::wstring path = entry.substr(0, entry.find(L'|'));
        if (path == kAccounts)
            return void(changed.insert(L"Current"));
        const bool bAccount = path.rfind(kAccounts + L"\\", 0) == 0;
        const std::wstring rest = path.substr((bAccount ? kAccounts : kColumns).size() + 1);
        changed.insert((bAccount ? L"account " : L"columns ") + rest.substr(0, rest.find(L'\\')));
    };
    for (const auto& [entry, value] : before) {
        auto it = after.find(entry);
        if (it == after.end() || it->second != value)
            note(entry);
    }
    for (const auto& [entry, value] : after) {
        if (!before.count(entry))
            note(entry);
    }
    return changed;
}

std::wstring AccountValue(const Stored& stored, const std::wstring& server, const wchar_t* name) {
    auto it = stored.find(kAccounts + L"\\" + server + L"|" + name);
    return it == stored.end() ? L"(none)" : it->second;
}

void StoreColumns(const std::wstring& server, const std::vector<std::wstring>& names) {
    const std::wstring list = kRoot + kColumns + L"\\" + server;
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, list.c_str()), ERROR_SUCCESS);
    key.SetDword(L"Style", LVS_REPORT);
    for (size_t i = 0; i < names.size(); ++i) {
        CRegKey column;
        ASSERT_EQ(column.Create(HKEY_CURRENT_USER, (list + L"\\Column " + std::to_wstring(i)).c_str()),
                  ERROR_SUCCESS);
        column.SetString(L"Name", names[i].c_str());
        column.SetString(L"Title", names[i].c_str());
        const std::pair<const wchar_t*, DWORD> numbers[] = {
            {L"Column", static_cast<DWORD>(i)}, {L"SortType", 2}, {L"Remove", 1}, {L"Move", 1},
            {L"Edit", 1}, {L"PhoneNumber", 0}, {L"Width", 80}};
        for (const auto& [name, value] : numbers)
            column.SetDword(name, value);
    }
}

SheetDriver::SheetDriver(std::function<void(HWND)> drive) : m_drive(std::move(drive)) {
    s_pDriver = this;
    m_timer = SetTimer(nullptr, 0, 20, Tick);
}

SheetDriver::~SheetDriver() {
    KillTimer(nullptr, m_timer);
    s_pDriver = nullptr;
}

void CALLBACK SheetDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND sheet = nullptr;
    for (HWND window : kit::TopLevelWindows()) {
        if (kit::FindChildByClass(window, L"SysTabControl32"))
            sheet = window;
    }
    if (!s_pDriver || s_pDriver->m_bRan || !sheet)
        return;
    s_pDriver->m_bRan = true;
    KillTimer(nullptr, s_pDriver->m_timer);
    s_pDriver->m_drive(sheet);
    if (IsWindow(sheet) && SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0))
        SendMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
}

HWND Field(HWND sheet, int id) {
    return GetDlgItem(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)), id);
}

void Type(HWND sheet, int id, const std::wstring& text) {
    HWND edit = Field(sheet, id);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    kit::PressKey(edit, VK_DELETE);
    kit::TypeText(edit, text);
    kit::PumpUntilInputDone();
}

void ShowTab(HWND sheet, int index) {
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    RECT rc{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    EXPECT_TRUE(kit::ClickAt(tab, {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}));
    kit::PumpUntilInputDone();
}

int CurrentTab(HWND sheet) {
    LRESULT page = SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    return static_cast<int>(SendMessageW(sheet, PSM_HWNDTOINDEX, page, 0));
}

void Press(HWND sheet, int button) {
    EXPECT_TRUE(kit::Click(GetDlgItem(sheet, button)));
    kit::PumpUntilInputDone();
}

std::wstring ServerTest::ServerButtonText() const {
    wchar_t text[256] = L"";
    SendMessageW(ToolBar(), TB_GETBUTTONTEXTW, 35002, reinterpret_cast<LPARAM>(text));
    return text;
}

void ServerTest::SetCurrent(const wchar_t* pszName) {
    CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, (Root() + L"\\Config\\LDAPServers").c_str()),
              ERROR_SUCCESS);
    if (pszName)
        key.SetString(L"Current", pszName);
    else
        key.DeleteValue(L"Current");
}

std::vector<kit::MenuItem> ServerTest::SearchIn(UINT nChoice, std::function<void(HWND)> drive) {
    kit::PopupMenuCatcher menu;
    if (nChoice)
        menu.ChooseId(nChoice);
    SheetDriver driver(drive ? drive : [](HWND) {});
    RECT rc{};
    SendMessageW(ToolBar(), TB_GETRECT, 35002, reinterpret_cast<LPARAM>(&rc));
    EXPECT_TRUE(kit::ClickAt(ToolBar(), {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}));
    kit::PumpUntilInputDone();
    // What the click set going is queued by now: work through it, sheet included.
    const UINT kWorkedThrough = WM_APP + 0x3FF;
    PostThreadMessageW(GetCurrentThreadId(), kWorkedThrough, 0, 0);
    EXPECT_TRUE(kit::PumpUntil([&] {
        MSG msg;
        return !PeekMessageW(&msg, reinterpret_cast<HWND>(-1), kWorkedThrough, kWorkedThrough,
                             PM_NOREMOVE);
    }));
    return menu.Items();
}

} // namespace servers
