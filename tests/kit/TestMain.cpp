// Entry point of every test program: display settings and common controls first,
// then GoogleTest.
#include "UiKit.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

int main(int argc, char** argv) {
    kit::PrepareDisplay();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
