// Message sequences, in the manner of Wine's conformance tests: record what a set of
// windows receive, in order, and compare it with an expected table. A failure prints
// both sequences.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kit {

enum MsgFlags : unsigned {
    kParam = 2, // param must match too
};

struct Msg {
    Msg(UINT message_ = 0, int window_ = 0, unsigned flags_ = 0, UINT_PTR param_ = 0,
        std::wstring text_ = {})
        : message(message_), window(window_), flags(flags_), param(param_), text(std::move(text_)) {
    }

    UINT message;
    int window; // which watched window, counted in the order of Watch calls
    unsigned flags;
    // wParam; for WM_NOTIFY the notification code; for WM_COMMAND the whole wParam.
    UINT_PTR param;
    // The text WM_SETTEXT or SB_SETTEXTW carried; when expected, it must match.
    std::wstring text;
};

class MessageLog {
public:
    MessageLog() = default;
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Records, from now on, the messages the window receives: those listed in
    // `only`, or all when it is empty. Returns the window's number.
    int Watch(HWND window, std::vector<UINT> only = {});
    // Runs `check` when the watched window receives the message, before it handles it.
    void OnMessage(int window, UINT message, std::function<void()> check);
    // For events that are not messages to a window, such as what a handler saw.
    void Add(Msg msg) { m_seen.push_back(std::move(msg)); }
    const std::vector<Msg>& Seen() const { return m_seen; }

    // Every entry of `expected` in order, and nothing else.
    testing::AssertionResult Matches(const std::vector<Msg>& expected) const;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    struct Watched {
        HWND hwnd;
        std::vector<UINT> only;
    };
    struct Check {
        int window;
        UINT message;
        std::function<void()> run;
    };
    std::vector<Watched> m_windows;
    std::vector<Check> m_checks;
    std::vector<Msg> m_seen;
};

} // namespace kit
