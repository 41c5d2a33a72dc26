#include "MessageLog.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>

namespace kit {
namespace {

std::string Name(UINT message, UINT_PTR param) {
    static const std::pair<UINT, const char*> names[] = {{WM_DESTROY, "WM_DESTROY"},
                                                         {WM_SETFOCUS, "WM_SETFOCUS"},
                                                         {WM_KILLFOCUS, "WM_KILLFOCUS"},
                                                         {WM_SETTEXT, "WM_SETTEXT"},
                                                         {WM_CLOSE, "WM_CLOSE"},
                                                         {WM_NOTIFY, "WM_NOTIFY"},
                                                         {WM_NCDESTROY, "WM_NCDESTROY"},
                                                         {WM_KEYDOWN, "WM_KEYDOWN"},
                                                         {WM_CHAR, "WM_CHAR"},
                                                         {WM_COMMAND, "WM_COMMAND"},
                                                         {WM_TIMER, "WM_TIMER"},
                                                         {WM_MENUSELECT, "WM_MENUSELECT"},
                                                         {WM_ENTERIDLE, "WM_ENTERIDLE"},
                                                         {SB_SETTEXTW, "SB_SETTEXTW"},
                                                         {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}};
    static const std::pair<UINT, const char*> notifications[] = {
        {LVN_ITEMCHANGING, "LVN_ITEMCHANGING"},
        {LVN_ITEMCHANGED, "LVN_ITEMCHANGED"},
        {LVN_COLUMNCLICK, "LVN_COLUMNCLICK"},
        {LVN_ENDLABELEDITW, "LVN_ENDLABELEDITW"},
        {NM_CLICK, "NM_CLICK"},
        {NM_RELEASEDCAPTURE, "NM_RELEASEDCAPTURE"}};
    std::ostringstream out;
    auto known = std::find_if(std::begin(names), std::end(names),
                              [&](const auto& n) { return n.first == message; });
    if (known != std::end(names))
        out << known->second;
    else
        out << "message 0x" << std::hex << message << std::dec;
    auto code = std::find_if(std::begin(notifications), std::end(notifications),
                             [&](const auto& n) { return n.first == static_cast<UINT>(param); });
    if (message == WM_NOTIFY && code != std::end(notifications))
        out << " " << code->second;
    else
        out << " " << static_cast<long long>(param);
    return out.str();
}

std::string Show(const Msg& msg) {
    std::string line = "  [" + std::to_string(msg.window) + "] " + Name(msg.message, msg.param);
    if (!msg.text.empty())
        line += " \"" + std::string(msg.text.begin(), msg.text.end()) + "\"";
    if (msg.flags & kOptional)
        line += " (optional)";
    return line + "\n";
}

bool Same(const Msg& expected, const Msg& seen) {
    return expected.message == seen.message && expected.window == seen.window &&
           (!(expected.flags & kParam) || expected.param == seen.param) &&
           (expected.text.empty() || expected.text == seen.text);
}

} // namespace

MessageLog::~MessageLog() {
    for (const Watched& w : m_windows) {
        if (w.hwnd)
            RemoveWindowSubclass(w.hwnd, Proc, reinterpret_cast<UINT_PTR>(this));
    }
}

int MessageLog::Watch(HWND window, std::vector<UINT> only) {
    const int index = static_cast<int>(m_windows.size());
    m_windows.push_back({window, std::move(only)});
    SetWindowSubclass(window, Proc, reinterpret_cast<UINT_PTR>(this), index);
    return index;
}

void MessageLog::OnMessage(int window, UINT message, std::function<void()> check) {
    m_checks.push_back({window, message, std::move(check)});
}

LRESULT CALLBACK MessageLog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR index) {
    auto* log = reinterpret_cast<MessageLog*>(id);
    Watched& watched = log->m_windows[index];
    const auto& only = watched.only;
    if (only.empty() || std::find(only.begin(), only.end(), message) != only.end()) {
        Msg msg{message, static_cast<int>(index), 0, wParam, {}};
        if (message == WM_NOTIFY)
            msg.param = reinterpret_cast<const NMHDR*>(lParam)->code;
        if ((message == WM_SETTEXT || message == SB_SETTEXTW) && lParam)
            msg.text = reinterpret_cast<const wchar_t*>(lParam);
        log->m_seen.push_back(std::move(msg));
    }
    for (const Check& check : log->m_checks) {
        if (check.window == static_cast<int>(index) && check.message == message)
            check.run();
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, Proc, id);
        watched.hwnd = nullptr;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

testing::AssertionResult MessageLog::Matches(const std::vector<Msg>& expected) const {
    size_t next = 0;
    bool ok = true;
    for (const Msg& e : expected) {
        if (next < m_seen.size() && Same(e, m_seen[next]))
            ++next;
        else if (!(e.flags & kOptional))
            ok = false;
    }
    if (ok && next == m_seen.size())
        return testing::AssertionSuccess();
    std::string text = "expected:\n";
    for (const Msg& e : expected)
        text += Show(e);
    text += "received:\n";
    for (const Msg& s : m_seen)
        text += Show(s);
    return testing::AssertionFailure() << text;
}

} // namespace kit
