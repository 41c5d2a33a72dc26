// UI test kit: drives real Win32 windows the way a user and a host application do.
// Plain Win32 only, so that it tests the module from the outside.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kit {

// ---------------------------------------------------------------- message pump

// Called with each message before it is translated and dispatched, as a host
// application calls its modules' filters; TRUE means the filter handled it.
using MessageFilter = BOOL (*)(MSG*);
void SetMessageFilter(MessageFilter filter);

// Runs the calling thread's message loop until done() is true (checked before
// and after every message) or the time is up; false on timeout.
bool PumpUntil(std::function<bool()> done, DWORD timeoutMs = 5000);
// Pumps until no sent, posted or input message waits for the calling thread, so that
// what other threads posted before the call has been handled.
bool PumpPending(DWORD timeoutMs = 5000);

// ---------------------------------------------------------------- keyboard and mouse
//
// Input is posted to the target's thread one message at a time, in the order a
// real keyboard and mouse deliver it (a key's WM_CHAR before the next key), and
// reaches the window through that thread's own loop: for the test thread, the
// filter above, TranslateMessage and DispatchMessage. While a key or button is
// down, GetKeyState reports it down on that thread.

// Keystrokes for characters on the keyboard layout (Shift as needed); other
// characters arrive as WM_CHAR alone, as an input method sends them.
void TypeText(HWND target, const std::wstring& text);
void PressKey(HWND target, UINT vk, bool ctrl = false, bool shift = false);
// Left-click in the middle of a visible, enabled control; false if it is not.
bool Click(HWND control);
// Mouse down and up (and a double-click's second pair) at a client point.
bool ClickAt(HWND window, POINT client, bool right = false, bool dbl = false);
// True when all posted input has been taken from the queues.
bool InputDone();
// Pumps the calling thread until InputDone().
bool PumpUntilInputDone(DWORD timeoutMs = 5000);

// Replaces an edit control's text in one go (the control sends EN_CHANGE).
void SetEditText(HWND edit, const std::wstring& text);

// ---------------------------------------------------------------- reading windows

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Searches all descendants, depth first; null if none.
HWND FindChild(HWND parent, int id);
HWND FindChildByClass(HWND parent, const std::wstring& className);
// Visible top-level windows of this process.
std::vector<HWND> TopLevelWindows();

// List view (report view).
int ListRowCount(HWND list);
std::vector<std::wstring> ListHeaders(HWND list);
std::wstring ListCell(HWND list, int row, int column);
std::vector<std::wstring> ListRow(HWND list, int row);
std::vector<std::wstring> ListColumn(HWND list, int column);
std::vector<int> ListSelectedRows(HWND list);
LPARAM ListItemData(HWND list, int row);
// Clicks the row's first column as a user does.
bool ClickListRow(HWND list, int row, bool right = false, bool dbl = false);

struct HeaderItem {
    std::wstring text;
    int width = 0;
    int format = 0; // HDF_* flags, e.g. HDF_SORTUP / HDF_SORTDOWN
};
std::vector<HeaderItem> HeaderItems(HWND header);

// Menus.
struct MenuItem {
    UINT id = 0;       // command id; 0 for separators and submenus
    std::wstring text; // as stored: with '&' and any "\t" shortcut text
    bool separator = false;
    bool grayed = false; // grayed or disabled
    bool isDefault = false;
    HMENU submenu = nullptr;
    std::vector<MenuItem> children; // the submenu's items

    // The text a user reads: without '&' markers and shortcut text.
    std::wstring Label() const;
};
std::vector<MenuItem> ReadMenu(HMENU menu);
// A menu in one line, for comparing a whole menu at once: items as "text=id", "*"
// after a grayed one, "-" for a separator, a submenu's items in brackets, all
// separated by " | ".
std::wstring MenuText(const std::vector<MenuItem>& items);
// Searches submenus too.
const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, UINT id);

// Toolbar: a button's TBSTATE_* flags; -1 when the toolbar has no such button.
int ToolbarButtonState(HWND toolbar, int commandId);

// Status bar; in simple mode the text is in part SB_SIMPLEID.
std::wstring StatusText(HWND statusBar, int part = 0);

// Combo box.
std::vector<std::wstring> ComboItems(HWND combo);
// Selects as a user does: the combo box changes and its parent gets CBN_SELCHANGE.
bool SelectComboItem(HWND combo, int index);

// Clipboard: what it holds in a format, as bytes (empty when nothing), its text, and
// emptying it.
std::string ClipboardData(UINT format);
std::wstring ClipboardText();
void ClearClipboard();

// ---------------------------------------------------------------- modal windows

// Works through the next modal window that `owner` owns (a dialog, a property sheet)
// from inside that window's own loop, where a loop of the test's would not see its
// keys: a timer gives the window to each step in turn, once the input of the step
// before has arrived, until the step returns true. A window still open ten seconds
// after its step began is cancelled, so that a failing test does not hang in it.
class ModalSteps {
public:
    using Step = std::function<bool(HWND window)>;
    ModalSteps(HWND owner, std::vector<Step> steps);
    ~ModalSteps();
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    bool Finished() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    HWND m_owner;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    ULONGLONG m_deadline = 0;
    bool m_running = false; // a step pumping messages sees no tick of its own
    UINT_PTR m_timer = 0;
    ModalSteps* m_outer;
};

// ---------------------------------------------------------------- message boxes

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT icon = 0;            // MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING,
                              // MB_ICONINFORMATION or 0
    std::vector<int> buttons; // IDOK, IDCANCEL, IDYES, ...
    int answer = 0;           // the button the watcher pressed

    bool HasButton(int id) const;
};

// Whether a window is a message box (MessageBox on any thread), as opposed to an
// ordinary dialog.
bool IsMessageBox(HWND window);
bool ReadMessageBox(HWND box, MessageBoxInfo& out);

// While it exists, records every message box the process shows, on any thread
// including the one that created the watcher, and answers it. Runs on a thread
// of its own, so boxes are answered even while the test thread is blocked in a
// box's modal loop.
class MessageBoxWatcher {
public:
    // Returns the button to press; 0 leaves the box for the test. Runs on the
    // watcher's thread.
    using Decider = std::function<int(const MessageBoxInfo&)>;

    // Presses `answer`, or when the box lacks it, Cancel, else OK.
    explicit MessageBoxWatcher(int answer = IDOK);
    explicit MessageBoxWatcher(Decider decide);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<MessageBoxInfo> Seen() const;
    size_t Count() const;
    // Pumps the calling thread until `count` boxes have been seen.
    bool WaitForCount(size_t count, DWORD timeoutMs = 5000);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// ---------------------------------------------------------------- popup menus

// Catches the next popup menu (TrackPopupMenu/TrackPopupMenuEx) that the calling
// thread shows while the catcher exists: records its items, then clicks the
// chosen item, in a submenu too, or closes the menu. Without a choice (id 0) it
// closes the menu, as a user pressing Escape does.
class PopupMenuCatcher {
public:
    explicit PopupMenuCatcher(UINT chooseId = 0);
    // Chooses the item whose Label() or stored text this is.
    explicit PopupMenuCatcher(const std::wstring& chooseText);
    ~PopupMenuCatcher();
    PopupMenuCatcher(const PopupMenuCatcher&) = delete;
    PopupMenuCatcher& operator=(const PopupMenuCatcher&) = delete;

    bool Shown() const { return m_shown; }
    // The menu as shown: submenus as they were when the menu opened.
    const std::vector<MenuItem>& Items() const { return m_items; }
    HWND Owner() const { return m_owner; }
    // The chosen item was found, enabled, and clicked.
    bool Chosen() const { return m_chosen; }
    // Why a choice could not be made, for test messages.
    const std::wstring& Problem() const { return m_problem; }

private:
    friend struct MenuHooks;
    void OnMenuShown(HWND owner, HWND menuWindow);
    void ClickNextStep();

    PopupMenuCatcher* m_outer = nullptr; // an enclosing catcher on this thread

    enum class Choice { Dismiss, ById, ByText } m_choice = Choice::Dismiss;
    UINT m_id = 0;
    std::wstring m_text;

    bool m_shown = false;
    bool m_chosen = false;
    std::wstring m_problem;
    std::vector<MenuItem> m_items;
    HWND m_owner = nullptr;
    HWND m_menuWindow = nullptr;
    HMENU m_menu = nullptr;
    // Menus and positions from the top menu down to the chosen item.
    std::vector<std::pair<HMENU, int>> m_path;
    size_t m_step = 0;
};

} // namespace kit
