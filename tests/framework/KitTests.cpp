// The UI kit's own contract where the product's tests could pass without it: a message
// log compares in order, and nothing else. (Input in a keyboard's order, message boxes
// on any thread and popup menus are what the product's tests drive and read back; a kit
// that got them wrong fails those.)
#include "MessageLog.h"

#include <gtest/gtest.h>

TEST(KitMessageLog, ComparesInOrderAndNothingElse) {
    HWND window = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    kit::MessageLog log;
    log.Watch(window, {WM_SETTEXT, WM_CLOSE});
    SetWindowTextW(window, L"one");
    SendMessageW(window, WM_CLOSE, 0, 0); // destroys the window, and the log lets go
    EXPECT_TRUE(log.Matches({{WM_SETTEXT, 0, 0, 0, L"one"}, {WM_CLOSE}}));
    EXPECT_FALSE(log.Matches({{WM_CLOSE}, {WM_SETTEXT}}));
    EXPECT_FALSE(log.Matches({{WM_SETTEXT, 0, 0, 0, L"two"}, {WM_CLOSE}}));
    EXPECT_FALSE(log.Matches({{WM_SETTEXT}}));
}
