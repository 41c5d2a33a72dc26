// The bitmap button drawn into a memory bitmap, pixel by pixel, and the advanced
// search's filter shapes.
#include "AdvancedFilter.h"
#include "FieldCatalogue.h"
#include "ImageButton.h"
#include "ListTestSupport.h"
#include "Options.h"
#include "Translation.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace lctest;

namespace {

constexpr COLORREF kUnpainted = RGB(255, 0, 255);

DrawnPixels Draw(CImageButton& button, HWND hButton, int w, int h, UINT state) {
    return DrawItem(ODT_BUTTON, hButton, state, w, h, kUnpainted,
                    [&](DRAWITEMSTRUCT* dis) { button.DrawItem(dis); });
}

int Brightness(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

class ImageButtonTest : public testing::Test {
protected:
    void SetUp() override {
        m_hButton = ::CreateWindowExW(0, L"BUTTON", L"", WS_POPUP | BS_OWNERDRAW, 0, 0, 70, 20,
                                      nullptr, nullptr, nullptr, nullptr);
        m_button.m_nNormalBitmap = IDB_UP_ARROW;
        // The arrow's black pixels, from the bitmap itself (58 x 13).
        HBITMAP hArrow = static_cast<HBITMAP>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_UP_ARROW), IMAGE_BITMAP, 0, 0, 0));
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, hArrow);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 58; ++x)
                if (::GetPixel(dc, x, y) == RGB(0, 0, 0))
                    m_black.push_back(POINT{x, y});
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(hArrow);
    }
    void TearDown() override { ::DestroyWindow(m_hButton); }

    HWND m_hButton = nullptr;
    CImageButton m_button;
    std::vector<POINT> m_black;
};

// Centred in a 70 x 20 button: inner area 66 x 16, the image at (6, 3).
constexpr int kImageX = 6, kImageY = 3;

TEST_F(ImageButtonTest, DisabledIsACheckerboardPressedSinksAWiderShowsItsMiddleAMissingNothing) {
    ASSERT_FALSE(m_black.empty());
    const DrawnPixels normal = Draw(m_button, m_hButton, 70, 20, 0);
    const DrawnPixels disabled = Draw(m_button, m_hButton, 70, 20, ODS_DISABLED);
    EXPECT_GT(Brightness(disabled.At(0, 0)), Brightness(disabled.At(69, 19))) << "raised";
    for (const POINT& p : m_black) {
        EXPECT_EQ(normal.At(kImageX + p.x, kImageY + p.y), RGB(0, 0, 0));
        const COLORREF expected =
            (p.x + p.y) % 2 == 0 ? ::GetSysColor(COLOR_BTNFACE) : RGB(0, 0, 0);
        EXPECT_EQ(disabled.At(kImageX + p.x, kImageY + p.y), expected) << p.x << "," << p.y;
    }
    // Pressed: the face and the image sink.
    const DrawnPixels pressed = Draw(m_button, m_hButton, 70, 20, ODS_SELECTED);
    EXPECT_LT(Brightness(pressed.At(0, 0)), Brightness(pressed.At(69, 19))) << "sunken";
    const int dx = ::GetSystemMetrics(SM_CXBORDER), dy = ::GetSystemMetrics(SM_CYBORDER);
    for (const POINT& p : m_black)
        EXPECT_EQ(pressed.At(kImageX + dx + p.x, kImageY + dy + p.y), RGB(0, 0, 0));
    // 40 wide: inner 36, so bitmap columns 11 to 46 show from x = 3.
    const DrawnPixels narrow = Draw(m_button, m_hButton, 40, 20, 0);
    for (const POINT& p : m_black)
        EXPECT_EQ(narrow.At(3 + p.x - 11, kImageY + p.y), RGB(0, 0, 0));
    m_button.m_nNormalBitmap = 4242;
    const DrawnPixels missing = Draw(m_button, m_hButton, 70, 20, 0);
    EXPECT_EQ(std::count(missing.p.begin(), missing.p.end(), kUnpainted), 70 * 20);
}

// ---------------------------------------------------------------- the filter

CString Filter(const std::vector<std::vector<CString>>& cells) {
    return BuildAdvancedFilter(cells, {L"k1", L"k2", L"k3"});
}

TEST(AdvancedFilterTest, ShapesOfRowsAndCells) {
    EXPECT_EQ(Filter({{L"v"}}), L"(k1=v)");
    EXPECT_EQ(Filter({{L"v", L"w"}}), L"(&(k1=v) (k2=w))");
    EXPECT_EQ(Filter({{L"v", L"w", L"x"}}), L"(&(&(k1=v) (k2=w)) (k3=x))");
    EXPECT_EQ(Filter({{L"v"}, {L"", L"w"}}), L"(|(k1=v) (k2=w))");
    EXPECT_EQ(Filter({{L"v"}, {L"w"}, {L"x"}}), L"(|(|(k1=v) (k1=w)) (k1=x))");
    EXPECT_EQ(Filter({{L"v", L"w"}, {}, {}, {L"", L"", L"y"}}), L"(|(&(k1=v) (k2=w)) (k3=y))");
    // Row 4 alone is one component; empty rows and cells are no condition.
    EXPECT_EQ(Filter({{}, {}, {}, {}, {L"", L"v"}}), L"(k2=v)");
    EXPECT_EQ(Filter({{}, {L""}}), L"");
    // As typed, blank and wildcard too; a parenthesis cannot end the filter early.
    EXPECT_EQ(Filter({{L"Smi* "}}), L"(k1=Smi* )");
    EXPECT_EQ(Filter({{L"a)(b"}}), L"(k1=a\\29\\28b)");
}

TEST(FieldCatalogueTest, DefaultTitles) {
    CTranslation texts(COptions::GetOptions());
    EXPECT_EQ(FieldCatalogue::DefaultTitle(L"mail", &texts), texts.LoadStringW(3110, 512));
    EXPECT_EQ(FieldCatalogue::DefaultTitle(L"IMStatus", &texts), texts.LoadStringW(3570, 512));
    EXPECT_EQ(FieldCatalogue::DefaultTitle(L"postalcode", &texts), L"postalcode");
}

} // namespace
