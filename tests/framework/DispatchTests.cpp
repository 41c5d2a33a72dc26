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
    int m_nTexts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_THROW)
            throw std::runtime_error("handler failed");
        if (message == WM_TEST_ANSWER)
            return 7;
        m_nTexts += message == WM_SETTEXT;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LRESULT CALLBACK CountTexts(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR pCount) {
    *reinterpret_cast<int*>(pCount) += msg == WM_SETTEXT;
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

} // namespace

TEST(DispatchTest, AnExceptionFromAHandlerStopsAtTheWindowProcedure) {
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Throws", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    LRESULT result = -1;
    try {
        result = ::SendMessageW(wnd, WM_TEST_THROW, 0, 0);
    } catch (...) {
        ADD_FAILURE() << "the exception reached the caller";
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(::SendMessageW(wnd, WM_TEST_ANSWER, 0, 0), 7); // the object goes on working
}

TEST(DispatchTest, DetachingBelowAnotherSubclassKeepsTheWindowWorking) {
    HWND hEdit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                   nullptr, nullptr);
    RecordingWindow first, second;
    ASSERT_TRUE(first.SubclassWindow(hEdit));
    int nLayered = 0;
    ASSERT_TRUE(SetWindowSubclass(hEdit, CountTexts, 1, reinterpret_cast<DWORD_PTR>(&nLayered)));

    EXPECT_EQ(first.UnsubclassWindow(), hEdit);
    ::SetWindowTextW(hEdit, L"one");
    EXPECT_EQ(first.m_nTexts, 0);
    EXPECT_EQ(nLayered, 1);
    EXPECT_EQ(::GetWindowTextLengthW(hEdit), 3);

    // Another object takes the place of the first, under the later subclass.
    ASSERT_TRUE(second.SubclassWindow(hEdit));
    ::SetWindowTextW(hEdit, L"two");
    EXPECT_EQ(second.m_nTexts, 1);
    EXPECT_EQ(nLayered, 2);
    RemoveWindowSubclass(hEdit, CountTexts, 1);
    second.DestroyWindow();
    EXPECT_EQ(second.m_hWnd, nullptr);
}
