#include "UiKit.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace kit {
namespace {

// How often a wait re-checks conditions that other threads change without
// sending this thread a message.
constexpr DWORD kRecheckMs = 10;

// Owners of what the kit holds while it works.
struct HookRelease {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct HandleRelease {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using HookHandle = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRelease>;
using KernelHandle = std::unique_ptr<void, HandleRelease>;

bool SameText(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

DWORD ThreadOf(HWND window) {
    return GetWindowThreadProcessId(window, nullptr);
}

bool IsOurs(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

// The text stored with the window itself; reading it sends no message, so it
// cannot block on a busy thread.
std::wstring StoredText(HWND window) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        int n = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
        if (n < static_cast<int>(buffer.size()) - 1)
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

// ---------------------------------------------------------------- message pump

namespace {

std::atomic<MessageFilter> g_filter{nullptr};

void HandleMessage(MSG& msg) {
    // Tests decide when to stop pumping, not a stray WM_QUIT.
    if (msg.message == WM_QUIT)
        return;
    MessageFilter filter = g_filter;
    if (filter && filter(&msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

void SetMessageFilter(MessageFilter filter) {
    g_filter = filter;
}

bool PumpUntil(std::function<bool()> done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HandleMessage(msg);
            continue;
        }
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kRecheckMs));
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool PumpPending(DWORD timeoutMs) {
    return PumpUntil(
        [] { return HIWORD(GetQueueStatus(QS_SENDMESSAGE | QS_POSTMESSAGE | QS_INPUT)) == 0; },
        timeoutMs);
}

// ---------------------------------------------------------------- keyboard and mouse
//
// Posting a whole key sequence at once would reorder it: TranslateMessage posts a
// key's WM_CHAR behind everything already queued, so it would arrive after the
// following keys. Instead each thread that gets input has a feed and a
// WH_GETMESSAGE hook. When the thread takes the feed's message from its queue,
// the hook updates the thread's key state (as real input does) and posts a
// "next" marker; by the time the marker is taken, the WM_CHAR is queued ahead of
// it, and only then is the next message posted.

namespace {

struct Feed {
    KernelHandle thread; // to notice that the thread has ended
    HookHandle hook;
    std::deque<MSG> pending;
    enum class Stage { Idle, Message, Marker } stage = Stage::Idle;
    MSG current{};
};

std::mutex g_feedLock;
std::map<DWORD, Feed> g_feeds; // by thread id

UINT NextInputMessage() {
    static const UINT id = RegisterWindowMessageW(L"kit.NextInput");
    return id;
}

bool Ended(const Feed& feed) {
    return feed.thread && WaitForSingleObject(feed.thread.get(), 0) != WAIT_TIMEOUT;
}

// With g_feedLock held.
void PostNext(Feed& feed) {
    while (!feed.pending.empty()) {
        MSG msg = feed.pending.front();
        feed.pending.pop_front();
        if (PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam)) {
            feed.current = msg;
            feed.stage = Feed::Stage::Message;
            return;
        }
        // The target window has gone; a user's input would go nowhere too.
    }
    feed.stage = Feed::Stage::Idle;
}

// With g_feedLock held. Destroying a window discards the messages queued for
// it, ours included; the rest of the input must not wait for it.
void SkipIfDiscarded(Feed& feed) {
    if (feed.stage == Feed::Stage::Message && !IsWindow(feed.current.hwnd))
        PostNext(feed);
}

void UpdateKeyState(const MSG& msg) {
    // The key or button each input message presses or releases.
    UINT vk = 0;
    bool down = true;
    switch (msg.message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
        down = false;
        [[fallthrough]];
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        vk = msg.wParam & 0xFF;
        break;
    case WM_LBUTTONUP:
        down = false;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        vk = VK_LBUTTON;
        break;
    case WM_RBUTTONUP:
        down = false;
        [[fallthrough]];
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        vk = VK_RBUTTON;
        break;
    default:
        return;
    }
    BYTE keys[256];
    if (!GetKeyboardState(keys))
        return;
    // High bit: down. Low bit: toggled by each press. The left Shift, Ctrl and Alt go
    // with the keys themselves.
    const UINT left = vk == VK_SHIFT     ? VK_LSHIFT
                      : vk == VK_CONTROL ? VK_LCONTROL
                      : vk == VK_MENU    ? VK_LMENU
                                         : 0;
    for (UINT key : {vk, left})
        keys[key] = !key   ? keys[key]
                    : down ? static_cast<BYTE>(0x80 | ((keys[key] & 1) ^ 1))
                           : static_cast<BYTE>(keys[key] & ~0x80);
    SetKeyboardState(keys);
}

LRESULT CALLBACK FeedHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        const bool removed = wParam & PM_REMOVE;
        if (!msg->hwnd && msg->message == NextInputMessage()) {
            msg->message = WM_NULL; // the marker is ours alone
            if (removed) {
                std::lock_guard<std::mutex> lock(g_feedLock);
                auto it = g_feeds.find(GetCurrentThreadId());
                if (it != g_feeds.end() && it->second.stage == Feed::Stage::Marker)
                    PostNext(it->second);
            }
        } else if (removed) {
            std::lock_guard<std::mutex> lock(g_feedLock);
            auto it = g_feeds.find(GetCurrentThreadId());
            if (it != g_feeds.end()) {
                Feed& feed = it->second;
                const MSG& cur = feed.current;
                if (feed.stage == Feed::Stage::Message && msg->hwnd == cur.hwnd &&
                    msg->message == cur.message && msg->wParam == cur.wParam &&
                    msg->lParam == cur.lParam) {
                    UpdateKeyState(*msg);
                    PostThreadMessageW(GetCurrentThreadId(), NextInputMessage(), 0, 0);
                    feed.stage = Feed::Stage::Marker;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Send(HWND target, const std::vector<MSG>& input) {
    const DWORD tid = ThreadOf(target);
    if (!tid)
        return;
    std::lock_guard<std::mutex> lock(g_feedLock);
    Feed& feed = g_feeds[tid];
    if (Ended(feed))
        feed = Feed{}; // the id now belongs to a new thread
    if (!feed.hook) {
        feed.thread.reset(OpenThread(SYNCHRONIZE, FALSE, tid));
        feed.hook.reset(SetWindowsHookExW(WH_GETMESSAGE, FeedHook, nullptr, tid));
    }
    SkipIfDiscarded(feed);
    feed.pending.insert(feed.pending.end(), input.begin(), input.end());
    if (feed.stage == Feed::Stage::Idle)
        PostNext(feed);
}

bool IsExtendedKey(UINT vk) {
    static const UINT extended[] = {VK_INSERT,   VK_DELETE, VK_HOME, VK_END,  VK_PRIOR,  VK_NEXT,
                                    VK_LEFT,     VK_RIGHT,  VK_UP,   VK_DOWN, VK_DIVIDE, VK_NUMLOCK,
                                    VK_RCONTROL, VK_RMENU,  VK_LWIN, VK_RWIN, VK_APPS};
    return std::find(std::begin(extended), std::end(extended), vk) != std::end(extended);
}

MSG Key(HWND target, UINT vk, bool up) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0xFF;
    // Repeat count 1, scan code, extended-key flag; a release also has the
    // "was down" and "released" bits.
    UINT flags = 1 | scan << 16 | (IsExtendedKey(vk) ? 1u << 24 : 0u);
    if (up)
        flags |= 0xC0000000u;
    return MSG{target, static_cast<UINT>(up ? WM_KEYUP : WM_KEYDOWN),
               vk,     static_cast<LPARAM>(flags),
               0,      {}};
}

MSG Mouse(HWND target, UINT message, WPARAM buttons, POINT client) {
    return MSG{target, message, buttons, MAKELPARAM(client.x, client.y), 0, {}};
}

void AddKeystroke(std::vector<MSG>& input, HWND target, UINT vk, bool ctrl, bool shift) {
    if (ctrl)
        input.push_back(Key(target, VK_CONTROL, false));
    if (shift)
        input.push_back(Key(target, VK_SHIFT, false));
    input.push_back(Key(target, vk, false));
    input.push_back(Key(target, vk, true));
    if (shift)
        input.push_back(Key(target, VK_SHIFT, true));
    if (ctrl)
        input.push_back(Key(target, VK_CONTROL, true));
}

} // namespace

void TypeText(HWND target, const std::wstring& text) {
    std::vector<MSG> input;
    for (wchar_t ch : text) {
        const SHORT key = VkKeyScanW(ch);
        // Low byte: the key; high byte: 1 Shift, 2 Ctrl, 4 Alt.
        if (key != -1 && (HIBYTE(key) & ~1) == 0) {
            AddKeystroke(input, target, LOBYTE(key), false, HIBYTE(key) & 1);
        } else {
            input.push_back(MSG{target, WM_CHAR, ch, 1, 0, {}});
        }
    }
    Send(target, input);
}

void PressKey(HWND target, UINT vk, bool ctrl, bool shift) {
    std::vector<MSG> input;
    AddKeystroke(input, target, vk, ctrl, shift);
    Send(target, input);
}

bool ClickAt(HWND window, POINT client, bool right, bool dbl) {
    if (!IsWindow(window))
        return false;
    const UINT down = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    const UINT up = right ? WM_RBUTTONUP : WM_LBUTTONUP;
    const UINT twice = right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK;
    const WPARAM held = right ? MK_RBUTTON : MK_LBUTTON;
    std::vector<MSG> input{Mouse(window, WM_MOUSEMOVE, 0, client),
                           Mouse(window, down, held, client), Mouse(window, up, 0, client)};
    if (dbl) {
        input.push_back(Mouse(window, twice, held, client));
        input.push_back(Mouse(window, up, 0, client));
    }
    Send(window, input);
    return true;
}

bool Click(HWND control) {
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    RECT rc;
    GetClientRect(control, &rc);
    return ClickAt(control, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

bool InputDone() {
    std::lock_guard<std::mutex> lock(g_feedLock);
    return std::all_of(g_feeds.begin(), g_feeds.end(), [](auto& entry) {
        SkipIfDiscarded(entry.second);
        return entry.second.stage == Feed::Stage::Idle || Ended(entry.second);
    });
}

bool PumpUntilInputDone(DWORD timeoutMs) {
    return PumpUntil(InputDone, timeoutMs);
}

void SetEditText(HWND edit, const std::wstring& text) {
    SetWindowTextW(edit, text.c_str());
}

// ---------------------------------------------------------------- reading windows

std::wstring WindowText(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    return std::wstring(name, GetClassNameW(window, name, 256));
}

namespace {

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!(*s->match)(child))
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

HWND FindChild(HWND parent, int id) {
    return FindDescendant(parent, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}

HWND FindChildByClass(HWND parent, const std::wstring& className) {
    return FindDescendant(
        parent, [&](HWND child) { return SameText(ClassName(child), className.c_str()); });
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (IsOurs(window) && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

int ListRowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::wstring> ListHeaders(HWND list) {
    std::vector<std::wstring> headers;
    for (int i = 0;; ++i) {
        wchar_t text[512] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 512;
        if (!SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)))
            return headers;
        headers.emplace_back(text);
    }
}

std::wstring ListCell(HWND list, int row, int column) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto n = static_cast<int>(
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (n < static_cast<int>(buffer.size()) - 1)
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::wstring> ListRow(HWND list, int row) {
    std::vector<std::wstring> cells;
    for (int column = 0, n = static_cast<int>(ListHeaders(list).size()); column < n; ++column)
        cells.push_back(ListCell(list, row, column));
    return cells;
}

std::vector<int> ListSelectedRows(HWND list) {
    std::vector<int> rows;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED));
        if (row < 0)
            return rows;
        rows.push_back(row);
    }
}

std::vector<std::wstring> ListColumn(HWND list, int column) {
    std::vector<std::wstring> cells;
    for (int row = 0, n = ListRowCount(list); row < n; ++row)
        cells.push_back(ListCell(list, row, column));
    return cells;
}

LPARAM ListItemData(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

bool ClickListRow(HWND list, int row, bool right, bool dbl) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT rc{};
    rc.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)))
        return false;
    return ClickAt(list, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, right, dbl);
}

std::vector<HeaderItem> HeaderItems(HWND header) {
    std::vector<HeaderItem> items;
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        HDITEMW hd{};
        hd.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        hd.pszText = text;
        hd.cchTextMax = 512;
        SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&hd));
        items.push_back(HeaderItem{text, hd.cxy, hd.fmt});
    }
    return items;
}

std::wstring MenuItem::Label() const {
    std::wstring label;
    for (size_t i = 0; i < text.size() && text[i] != L'\t'; ++i) {
        if (text[i] == L'&' && ++i == text.size())
            break; // "&&" stands for one '&'; any other '&' marks a mnemonic
        label += text[i];
    }
    return label;
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        MenuItem item; // kept even if unreadable, so that indexes stay positions
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (GetMenuItemInfoW(menu, pos, TRUE, &info)) {
            if (info.cch) {
                std::wstring text(info.cch + 1, L'\0');
                info.dwTypeData = text.data();
                info.cch = static_cast<UINT>(text.size());
                GetMenuItemInfoW(menu, pos, TRUE, &info);
                text.resize(info.cch);
                item.text = text;
            }
            item.id = info.hSubMenu ? 0 : info.wID;
            item.separator = info.fType & MFT_SEPARATOR;
            item.grayed = info.fState & (MFS_GRAYED | MFS_DISABLED);
            item.isDefault = info.fState & MFS_DEFAULT;
            item.submenu = info.hSubMenu;
            if (item.submenu)
                item.children = ReadMenu(item.submenu);
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::wstring MenuText(const std::vector<MenuItem>& items) {
    std::wstring text;
    for (const MenuItem& item : items) {
        text += text.empty() ? L"" : L" | ";
        if (item.separator)
            text += L"-";
        else
            text += item.text + L"=" + std::to_wstring(item.id) + (item.grayed ? L"*" : L"");
        if (item.submenu)
            text += L"[" + MenuText(item.children) + L"]";
    }
    return text;
}

const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, UINT id) {
    for (const MenuItem& item : items) {
        if (!item.separator && !item.submenu && item.id == id)
            return &item;
        if (const MenuItem* found = FindMenuItem(item.children, id))
            return found;
    }
    return nullptr;
}

int ToolbarButtonState(HWND toolbar, int commandId) {
    const auto index = static_cast<int>(SendMessageW(toolbar, TB_COMMANDTOINDEX, commandId, 0));
    TBBUTTON button{};
    if (index < 0 || !SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return -1;
    return button.fsState;
}

std::wstring StatusText(HWND statusBar, int part) {
    const auto length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

bool SelectComboItem(HWND combo, int index) {
    if (index < 0 || index >= static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)))
        return false;
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(length + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        items.push_back(text);
    }
    return items;
}

std::string ClipboardData(UINT format) {
    std::string data;
    HANDLE handle = OpenClipboard(nullptr) ? GetClipboardData(format) : nullptr;
    if (const char* p = handle ? static_cast<const char*>(GlobalLock(handle)) : nullptr) {
        data.assign(p, GlobalSize(handle));
        GlobalUnlock(handle);
    }
    CloseClipboard();
    return data;
}

std::wstring ClipboardText() {
    const std::string data = ClipboardData(CF_UNICODETEXT);
    const std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
    return text.substr(0, text.find(L'\0'));
}

void ClearClipboard() {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
}

// ---------------------------------------------------------------- modal windows

namespace {

thread_local ModalSteps* t_modalSteps = nullptr;

// The visible, enabled dialog of this thread that owner owns: its modal window. (The
// active window will not do: under X, activation may have gone elsewhere.)
HWND ModalDialogOf(HWND owner) {
    for (HWND window : TopLevelWindows()) {
        if (GetWindow(window, GW_OWNER) == owner && ThreadOf(window) == GetCurrentThreadId() &&
            IsWindowEnabled(window) && SameText(ClassName(window), L"#32770"))
            return window;
    }
    return nullptr;
}

} // namespace

ModalSteps::ModalSteps(HWND owner, std::vector<Step> steps)
    : m_owner(owner), m_steps(std::move(steps)), m_outer(t_modalSteps) {
    t_modalSteps = this;
    m_timer = SetTimer(nullptr, 0, 20, Tick);
}

ModalSteps::~ModalSteps() {
    KillTimer(nullptr, m_timer);
    t_modalSteps = m_outer;
}

void CALLBACK ModalSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalSteps* self = t_modalSteps;
    HWND window = self ? ModalDialogOf(self->m_owner) : nullptr;
    if (!window || self->m_running || !InputDone())
        return;
    const ULONGLONG now = GetTickCount64();
    if (!self->m_deadline)
        self->m_deadline = now + 10000;
    self->m_running = true;
    const bool done = !self->Finished() && self->m_steps[self->m_next](window);
    self->m_running = false;
    if (done) {
        ++self->m_next;
        self->m_deadline = 0;
    } else if (now > self->m_deadline) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
}

// ---------------------------------------------------------------- message boxes
//
// Under Wine 8 every message box comes from one dialog template: an SS_ICON
// static numbered 1088 (stc1; present even without an icon), the text in a
// static numbered 0xFFFF, and only the buttons asked for, numbered IDOK to
// IDCONTINUE; unused buttons are destroyed. An ordinary dialog's labels may be
// 0xFFFF too, but it has no such icon static or has other controls.

namespace {

constexpr int kBoxIconId = 1088;
constexpr int kBoxTextId = 0xFFFF;

bool IsBoxIcon(HWND child) {
    return GetDlgCtrlID(child) == kBoxIconId && SameText(ClassName(child), L"Static") &&
           (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

bool IsBoxText(HWND child) {
    return GetDlgCtrlID(child) == kBoxTextId && SameText(ClassName(child), L"Static");
}

bool IsBoxButton(HWND child) {
    const int id = GetDlgCtrlID(child);
    return id >= IDOK && id <= IDCONTINUE && SameText(ClassName(child), L"Button");
}

// Shared icons have one handle per process, so the box's icon can be compared.
UINT IconStyle(HICON icon) {
    if (!icon)
        return 0;
    const std::pair<const wchar_t*, UINT> icons[] = {{IDI_HAND, MB_ICONERROR},
                                                     {IDI_QUESTION, MB_ICONQUESTION},
                                                     {IDI_EXCLAMATION, MB_ICONWARNING},
                                                     {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (const auto& [name, style] : icons) {
        if (LoadIconW(nullptr, name) == icon)
            return style;
    }
    return 0;
}

// Presses without waiting: the box's own thread closes it once it runs its loop.
bool PressButton(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    if (!button || !IsWindowEnabled(button))
        return false;
    return PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
}

} // namespace

bool MessageBoxInfo::HasButton(int id) const {
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

bool IsMessageBox(HWND window) {
    MessageBoxInfo info;
    return ReadMessageBox(window, info);
}

bool ReadMessageBox(HWND box, MessageBoxInfo& out) {
    if (!SameText(ClassName(box), L"#32770"))
        return false;
    MessageBoxInfo info;
    info.hwnd = box;
    info.caption = StoredText(box);
    int icons = 0, texts = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsBoxText(child)) {
            info.text = StoredText(child);
            ++texts;
        } else if (IsBoxIcon(child)) {
            DWORD_PTR icon = 0;
            SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &icon);
            info.icon = IconStyle(reinterpret_cast<HICON>(icon));
            ++icons;
        } else if (IsBoxButton(child)) {
            info.buttons.push_back(GetDlgCtrlID(child));
        } else {
            return false;
        }
    }
    if (icons != 1 || texts != 1)
        return false;
    out = std::move(info);
    return true;
}

// The watcher's thread looks at the process's top-level windows every few
// milliseconds. Wine 8 does report window creation as a WinEvent, but a thread
// that has just changed its own hooks may not report it to a hook set by another
// thread, and thread hooks only cover threads known in advance.
struct MessageBoxWatcher::State {
    Decider decide;
    mutable std::mutex lock;
    std::vector<MessageBoxInfo> seen;
    KernelHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread thread;
    std::vector<HWND> handled; // boxes already seen that still exist; the watcher thread's own

    void Scan() {
        handled.erase(
            std::remove_if(handled.begin(), handled.end(), [](HWND box) { return !IsWindow(box); }),
            handled.end());
        for (HWND window : TopLevelWindows()) {
            if (std::find(handled.begin(), handled.end(), window) != handled.end())
                continue;
            MessageBoxInfo info;
            if (!ReadMessageBox(window, info))
                continue;
            handled.push_back(window);
            Answer(std::move(info));
        }
    }

    void Answer(MessageBoxInfo info) {
        const int button = decide(info);
        if (button && info.HasButton(button))
            info.answer = button;
        {
            // Recorded before pressing, so it is there when the box's caller resumes.
            std::lock_guard<std::mutex> guard(lock);
            seen.push_back(info);
        }
        if (info.answer)
            PressButton(info.hwnd, info.answer);
    }

    void Run() {
        do
            Scan();
        while (WaitForSingleObject(stop.get(), kRecheckMs) == WAIT_TIMEOUT);
    }
};

MessageBoxWatcher::MessageBoxWatcher(int answer)
    : MessageBoxWatcher(Decider([answer](const MessageBoxInfo& box) {
          for (int id : {answer, IDCANCEL, IDOK}) {
              if (box.HasButton(id))
                  return id;
          }
          return 0;
      })) {}

MessageBoxWatcher::MessageBoxWatcher(Decider decide) : m_state(std::make_unique<State>()) {
    m_state->decide = std::move(decide);
    m_state->thread = std::thread([state = m_state.get()] { state->Run(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    SetEvent(m_state->stop.get());
    m_state->thread.join();
}

std::vector<MessageBoxInfo> MessageBoxWatcher::Seen() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->seen;
}

size_t MessageBoxWatcher::Count() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->seen.size();
}

bool MessageBoxWatcher::WaitForCount(size_t count, DWORD timeoutMs) {
    return PumpUntil([&] { return Count() >= count; }, timeoutMs);
}

// ---------------------------------------------------------------- popup menus
//
// Wine 8's menu loop sends the owner WM_ENTERIDLE (MSGF_MENU, with the menu
// window) once the menu is shown and its queue is empty; a WH_CALLWNDPROC hook
// sees it. Mouse messages posted to the menu window are taken as clicks at the
// screen point in lParam. Clicking a submenu's item opens the submenu; a marker
// message, seen by a WH_MSGFILTER hook (MSGF_MENU) once the clicks before it
// are done, triggers the next click.

struct MenuHooks {
    PopupMenuCatcher* current = nullptr; // the innermost catcher
    HHOOK callWnd = nullptr;
    HHOOK filter = nullptr;

    static UINT StepMessage() {
        static const UINT id = RegisterWindowMessageW(L"kit.NextMenuStep");
        return id;
    }

    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
};

namespace {
thread_local MenuHooks t_menuHooks;
}

LRESULT CALLBACK MenuHooks::CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU &&
        call->lParam && t_menuHooks.current)
        t_menuHooks.current->OnMenuShown(call->hwnd, reinterpret_cast<HWND>(call->lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MenuHooks::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == StepMessage() && t_menuHooks.current) {
        t_menuHooks.current->ClickNextStep();
        return TRUE; // handled: the menu loop drops it
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

PopupMenuCatcher::PopupMenuCatcher(UINT chooseId)
    : m_choice(chooseId ? Choice::ById : Choice::Dismiss), m_id(chooseId) {
    MenuHooks& hooks = t_menuHooks;
    if (!hooks.current) {
        const DWORD tid = GetCurrentThreadId();
        hooks.callWnd = SetWindowsHookExW(WH_CALLWNDPROC, MenuHooks::CallWndProc, nullptr, tid);
        hooks.filter = SetWindowsHookExW(WH_MSGFILTER, MenuHooks::FilterProc, nullptr, tid);
    }
    m_outer = hooks.current;
    hooks.current = this;
}

PopupMenuCatcher::~PopupMenuCatcher() {
    MenuHooks& hooks = t_menuHooks;
    hooks.current = m_outer;
    if (!hooks.current) {
        UnhookWindowsHookEx(hooks.callWnd);
        UnhookWindowsHookEx(hooks.filter);
        hooks.callWnd = hooks.filter = nullptr;
    }
}

PopupMenuCatcher::PopupMenuCatcher(const std::wstring& chooseText) : PopupMenuCatcher() {
    m_choice = Choice::ByText;
    m_text = chooseText;
}

namespace {

// Positions from the top menu down to the first matching item.
bool FindPath(const std::vector<MenuItem>& items, HMENU menu,
              const std::function<bool(const MenuItem&)>& match,
              std::vector<std::pair<HMENU, int>>& path) {
    for (size_t pos = 0; pos < items.size(); ++pos) {
        const MenuItem& item = items[pos];
        path.emplace_back(menu, static_cast<int>(pos));
        if (match(item) || (item.submenu && FindPath(item.children, item.submenu, match, path)))
            return true;
        path.pop_back();
    }
    return false;
}

} // namespace

void PopupMenuCatcher::OnMenuShown(HWND owner, HWND menuWindow) {
    if (m_shown)
        return; // the same menu again, e.g. idle with a submenu open
    m_shown = true;
    m_owner = owner;
    m_menuWindow = menuWindow;
    m_menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    m_items = ReadMenu(m_menu);
    if (m_choice == Choice::Dismiss) {
        EndMenu();
        return;
    }

    std::function<bool(const MenuItem&)> match;
    std::wstring wanted;
    if (m_choice == Choice::ById) {
        match = [this](const MenuItem& item) {
            return !item.separator && !item.submenu && item.id == m_id;
        };
        wanted = L"id " + std::to_wstring(m_id);
    } else {
        match = [this](const MenuItem& item) {
            return !item.separator && (item.Label() == m_text || item.text == m_text);
        };
        wanted = L"\"" + m_text + L"\"";
    }
    m_path.clear();
    if (!FindPath(m_items, m_menu, match, m_path)) {
        m_problem = L"the menu has no item " + wanted;
        EndMenu();
        return;
    }
    // A user can neither choose a grayed item nor open a grayed submenu.
    const std::vector<MenuItem>* level = &m_items;
    for (const auto& step : m_path) {
        const MenuItem& item = (*level)[step.second];
        if (item.grayed) {
            m_problem = L"menu item \"" + item.Label() + L"\" is grayed";
            EndMenu();
            return;
        }
        level = &item.children;
    }
    m_step = 0;
    ClickNextStep();
}

void PopupMenuCatcher::ClickNextStep() {
    if (m_step >= m_path.size())
        return;
    const auto [menu, pos] = m_path[m_step++];
    RECT rc;
    if (!GetMenuItemRect(nullptr, menu, pos, &rc)) {
        m_problem = L"the menu item is not on the screen";
        EndMenu();
        return;
    }
    // Screen coordinates: the menu loop reads them so from lParam.
    const LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(m_menuWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(m_menuWindow, WM_LBUTTONUP, 0, point);
    if (m_step < m_path.size())
        PostMessageW(m_menuWindow, MenuHooks::StepMessage(), 0, 0);
    else
        m_chosen = true;
}

} // namespace kit
