// Cells with characters outside the basic multilingual plane, as the list paints them.
#include "ListTestSupport.h"

#include "SupplementaryTextPainter.h"

using namespace lctest;

const std::wstring kYoshi = L"\U00020BB7", kBox = L"\xE000"; // no font has U+E000

class SupplementaryDrawingTest : public ListTest {
protected:
    SupplementaryDrawingTest() { m_nListWidth = 300; }
    void SetUp() override {
        ListTest::SetUp();
        m_dlg.m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        m_dlg.AddTextColumn(L"a", 70);
        m_dlg.m_list.AddColumn(L"c", L"c", 90, 0, FALSE, TRUE, TRUE, TRUE, -1, 15, LVCFMT_RIGHT);
        for (const std::wstring& first : {kYoshi + L"田", kBox + kBox + L"田", std::wstring()})
            m_dlg.AddRow({first, (first.empty() ? kBox : kYoshi) + L" 田"});
    }
    // The cell's last fromRight columns as painted (background: 0), then the background.
    std::vector<DWORD> Cell(int row, int column, int fromRight = 1 << 16) {
        RECT rc{}, client{};
        ListView_GetSubItemRect(m_dlg.List(), row, column, LVIR_LABEL, &rc);
        ::GetClientRect(m_dlg.List(), &client);
        CDibCanvas canvas(client.right, client.bottom);
        m_dlg.m_list.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        const DWORD* pPixels = canvas.Bits() + rc.top * client.right;
        const DWORD background = pPixels[2 * client.right + rc.left + 2];
        std::vector<DWORD> cell;
        for (int y = 1; y < rc.bottom - rc.top - 2; ++y) {
            for (int x = std::max(rc.left + 1, rc.right - fromRight); x < rc.right - 1; ++x) {
                const DWORD pixel = pPixels[y * client.right + x];
                cell.push_back(pixel == background ? 0 : pixel);
            }
        }
        cell.push_back(background);
        return cell;
    }
};

TEST_F(SupplementaryDrawingTest, DrawsWholeCharactersWhereTheListDrawsTextAndCutsBetweenThem) {
    EXPECT_NE(Cell(0, 0), Cell(1, 0)) << "two boxes, as the plain text output shows 𠮷";
    EXPECT_NE(Cell(0, 0), Cell(2, 0)) << "nothing drawn";
    // Right-aligned "𠮷 田" and "□ 田": the same 田, in the same place and colours,
    // whether selected or not.
    EXPECT_EQ(Cell(0, 1, 20), Cell(2, 1, 20));
    for (int row : {0, 2})
        m_dlg.m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    ::SetFocus(m_dlg.List());
    EXPECT_EQ(Cell(0, 1, 20), Cell(2, 1, 20));
    EXPECT_NE(Cell(0, 1).back(), Cell(1, 1).back()) << "selected rows look selected";
    CSupplementaryTextPainter painter;
    CClientDC hdc(m_dlg.List());
    CSelectObject font(hdc, m_dlg.m_list.GetFont());
    const std::wstring text = kYoshi + L"田" + kYoshi + kYoshi + L"野";
    for (int cx = 0; cx <= painter.Width(hdc, text); ++cx) {
        const std::wstring fitted = painter.Fit(hdc, text, cx);
        const size_t nKept = fitted.size() - 3;
        EXPECT_TRUE(fitted == text || (fitted.substr(nKept) == L"..." &&
                                       text.compare(0, nKept, fitted, 0, nKept) == 0 &&
                                       !(nKept && IS_HIGH_SURROGATE(fitted[nKept - 1]))))
            << cx;
        EXPECT_TRUE(nKept == 0 || painter.Width(hdc, fitted) <= cx) << cx;
    }
}

