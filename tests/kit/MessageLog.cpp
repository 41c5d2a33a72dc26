#include "MessageLog.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace kit {
namespace {

#define KIT_NAME(id)                                                                               \
    { id, #id }

std::string Name(UINT message, UINT_PTR param) {
    static const std::map<UINT, const char*> names = {
        KIT_NAME(WM_DESTROY),   KIT_NAME(WM_SETFOCUS), KIT_NAME(WM_KILLFOCUS),
        KIT_NAME(WM_SETTEXT),   KIT_NAME(WM_CLOSE),    KIT_NAME(WM_NOTIFY),
        KIT_NAME(WM_NCDESTROY), KIT_NAME(WM_KEYDOWN),  KIT_NAME(WM_CHAR),
        KIT_NAME(WM_COMMAND),   KIT_NAME(WM_TIMER),    KIT_NAME(WM_MENUSELECT),
        KIT_NAME(WM_ENTERIDLE), KIT_NAME(SB_SETTEXTW), KIT_NAME(WM_LBUTTONDOWN)};
    static const std::map<UINT, const char*> notifications = {
        KIT_NAME(LVN_ITEMCHANGING),  KIT_NAME(LVN_ITEMCHANGED), KIT_NAME(LVN_COLUMNCLICK),
        KIT_NAME(LVN_ENDLABELEDITW), KIT_NAME(NM_CLICK),        KIT_NAME(NM_RELEASEDCAPTURE)};
    std::ostringstream out;
    const auto known = names.find(message);
    if (known != names.end())
        out << known->second;
    else
        out << "message 0x" << std::hex << message << std::dec;
    const auto code = notifications.find(static_cast<UINT>(param));
    if (message == WM_NOTIFY && code != notifications.end())
        out << " " << code->second;
    else
        out << " " << static_cast<long long>(param);
    return out.str();
}

std::string Show(const Msg& msg) {
    std::string line = "  [" + std::to_string(msg.window) + "] " + Name(msg.message, msg.param);
    if (!msg.text.empty())
        line += " \"" + std::string(msg.text.begin(), msg.text.end()) + "\"";
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
    bool ok = expected.size() == m_seen.size();
    for (size_t i = 0; ok && i < expected.size(); ++i)
        ok = Same(expected[i], m_seen[i]);
    if (ok)
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
