// How messages reach window objects: past subclasses of other code, and never
// with an exception escaping into the system's frames.
#include "Framework.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 1;
constexpr UINT WM_TEST_ANSWER = WM_APP + 2;

class RecordingWindow : public CWnd {
public:
    int m_nMessages = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_THROW)
            throw std::runtime_error("handler failed");
        if (message == WM_TEST_ANSWER)
            return 7;
        if (message == WM_SETTEXT)
            ++m_nMessages;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int g_nLayeredCalls = 0;

LRESULT CALLBACK LayeredSubclass(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (msg == WM_SETTEXT)
        ++g_nLayeredCalls;
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

} // namespace

TEST(DispatchTest, AnExceptionFromAHandlerStopsAtTheWindowProcedure) {
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Throws", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    bool bEscaped = false;
    LRESULT result = -1;
    try {
        result = ::SendMessageW(wnd, WM_TEST_THROW, 0, 0);
    } catch (...) {
        bEscaped = true;
    }
    EXPECT_FALSE(bEscaped);
    EXPECT_EQ(result, 0);
    // The window and its object go on working.
    EXPECT_EQ(::SendMessageW(wnd, WM_TEST_ANSWER, 0, 0), 7);
    EXPECT_TRUE(::IsWindow(wnd));
}

TEST(DispatchTest, DetachingBelowAnotherSubclassKeepsTheWindowWorking) {
    HWND hEdit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    RecordingWindow first, second;
    ASSERT_TRUE(first.SubclassWindow(hEdit));
    ASSERT_TRUE(SetWindowSubclass(hEdit, LayeredSubclass, 1, 0));
    g_nLayeredCalls = 0;

    EXPECT_EQ(first.UnsubclassWindow(), hEdit);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    ::SetWindowTextW(hEdit, L"one");
    EXPECT_EQ(first.m_nMessages, 0);
    EXPECT_EQ(g_nLayeredCalls, 1);
    wchar_t text[16] = L"";
    EXPECT_EQ(::GetWindowTextW(hEdit, text, 16), 3);

    // Another object takes the place of the first, under the later subclass.
    ASSERT_TRUE(second.SubclassWindow(hEdit));
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &second);
    ::SetWindowTextW(hEdit, L"two");
    EXPECT_EQ(second.m_nMessages, 1);
    EXPECT_EQ(g_nLayeredCalls, 2);
    EXPECT_EQ(::GetWindowTextW(hEdit, text, 16), 3);
    EXPECT_STREQ(text, L"two");
    RemoveWindowSubclass(hEdit, LayeredSubclass, 1);
    second.DestroyWindow();
    EXPECT_EQ(second.m_hWnd, nullptr);
}
