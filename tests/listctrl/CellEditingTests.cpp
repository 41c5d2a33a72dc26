// In-place editing of cells, driven with the mouse and keyboard.
#include "ListTestSupport.h"

#include "ListTestDialog.h"
#include "SubItemEdit.h"
#include "UiKit.h"

using namespace lctest;

namespace {

constexpr int kEditorId = 112;

using Ends = std::vector<std::wstring>;

// Cells "r<row>c<column>" in columns of 100, 150 and 120 pixels (editable) and
// 80 (not editable): 450 pixels in a list 300 wide.
class CellEditingTest : public ListTest {
protected:
    CellEditingTest() { m_nListWidth = 300; }
    void SetUp() override {
        ListTest::SetUp();
        m_dlg.AddTextColumn(L"a", 100);
        m_dlg.AddTextColumn(L"b", 150);
        m_dlg.AddTextColumn(L"c", 120);
        m_dlg.AddTextColumn(L"d", 80, FALSE);
        for (int row = 0; row < 6; ++row) {
            std::vector<std::wstring> cells;
            for (int column = 0; column < 4; ++column)
                cells.push_back(L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column));
            m_dlg.AddRow(cells);
        }
        kit::SetMessageFilter(PreTranslateThroughWindows);
    }
    void Click(POINT point) {
        ASSERT_TRUE(kit::ClickAt(m_dlg.List(), point));
        ASSERT_TRUE(kit::PumpUntilInputDone());
    }
    void ClickCell(int row, int column) { Click(m_dlg.CellPoint(row, column)); }
    // Two clicks on one cell, as a user opens its editor.
    HWND EditCell(int row, int column) {
        ClickCell(row, column);
        ClickCell(row, column);
        return Editor();
    }
    HWND Editor() const { return GetDlgItem(m_dlg.List(), kEditorId); }
    RECT EditorRect() const {
        RECT rc{};
        GetWindowRect(Editor(), &rc);
        MapWindowPoints(nullptr, m_dlg.List(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    void Press(UINT vk, bool ctrl = false) {
        kit::PressKey(GetFocus(), vk, ctrl);
        ASSERT_TRUE(kit::PumpUntilInputDone());
    }
    void Type(const std::wstring& text) {
        kit::TypeText(GetFocus(), text);
        ASSERT_TRUE(kit::PumpUntilInputDone());
    }
    RECT Cell(int row, int column) const {
        RECT rc{};
        m_dlg.m_list.GetSubItemRect(row, column, LVIR_BOUNDS, &rc);
        return rc;
    }
    int ClientRight() const {
        RECT rc{};
        GetClientRect(m_dlg.List(), &rc);
        return rc.right;
    }
};

// Refuses to create edit controls.
LRESULT CALLBACK RefuseEdits(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND &&
        _wcsicmp(kit::ClassName(reinterpret_cast<HWND>(wParam)).c_str(), L"Edit") == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(CellEditingTest, TheSecondClickEditsTheCellOverItsWholeTextInABoxThatOnlyWidens) {
    ClickCell(3, 1);
    EXPECT_EQ(Editor(), nullptr);
    ClickCell(3, 1);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(GetFocus(), Editor());
    EXPECT_EQ(kit::WindowText(Editor()), L"r3c1");
    EXPECT_EQ(SendMessageW(Editor(), EM_GETSEL, 0, 0), MAKELRESULT(0, 4)); // all selected
    // From 4 pixels inside the cell's left edge to 1 pixel beyond its right edge.
    const RECT cell = Cell(3, 1), box = EditorRect();
    const RECT expected{cell.left + 4, cell.top, cell.right + 1, cell.bottom};
    EXPECT_TRUE(EqualRect(&box, &expected));
    EXPECT_EQ(GetCapture(), m_dlg.List());
    EXPECT_EQ(m_dlg.m_clickedRows, (std::vector<int>{3, 3})); // the owner sees the clicks

    ClickCell(5, 0); // ends the edit
    EXPECT_EQ(Editor(), nullptr);
    ClickCell(3, 1);
    EXPECT_EQ(Editor(), nullptr);
    ClickCell(2, 3);
    ClickCell(2, 3); // not editable
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(m_dlg.m_editEnds, Ends{L"3,1 r3c1/4"});
    // The box widens up to the list edge and never narrows.
    ASSERT_NE(EditCell(0, 0), nullptr);
    const RECT start = EditorRect();
    Type(L"a rather longer text here");
    const RECT grown = EditorRect();
    EXPECT_GT(grown.right, start.right);
    EXPECT_LT(grown.right, ClientRight());
    EXPECT_TRUE(grown.left == start.left && grown.top == start.top && grown.bottom == start.bottom);
    Type(L" that goes on well beyond the right edge of the list");
    EXPECT_EQ(EditorRect().right, ClientRight());
    EXPECT_EQ(EditorRect().bottom, start.bottom);
    for (int i = 0; i < 40; ++i)
        Press(VK_BACK);
    EXPECT_EQ(EditorRect().right, ClientRight());
}

TEST_F(CellEditingTest, EnterCommitsTheTextEscapeCancelsAndTheCellIsLeftToTheOwner) {
    HWND editor = EditCell(1, 0);
    ASSERT_NE(editor, nullptr);
    kit::MessageLog log;
    log.Watch(editor, {WM_CHAR, WM_KILLFOCUS, WM_DESTROY});
    log.Watch(m_dlg.List(), {WM_SETFOCUS});
    m_dlg.m_pLog = &log;
    Press(VK_RETURN);
    m_dlg.m_pLog = nullptr;
    // The owner hears of the end once the box has lost the focus, before it goes.
    EXPECT_TRUE(log.Matches({{WM_CHAR, 0, kit::kParam, VK_RETURN},
                             {WM_KILLFOCUS, 0},
                             {WM_NOTIFY, kOwnerHandler, kit::kParam, LVN_ENDLABELEDITW},
                             {WM_DESTROY, 0},
                             {WM_SETFOCUS, 1}}));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(GetFocus(), m_dlg.List());

    ClickCell(1, 0);
    Type(L"new");
    Press(VK_RETURN);
    EXPECT_EQ(kit::ListCell(m_dlg.List(), 1, 0), L"r1c0");
    ASSERT_NE(EditCell(2, 1), nullptr);
    Type(L"hello");
    Press(VK_ESCAPE); // no text, but the length typed
    EXPECT_EQ(m_dlg.m_editEnds, (Ends{L"1,0 r1c0/4", L"1,0 new/3", L"2,1 (none)/5"}));
    EXPECT_EQ(m_dlg.m_okCount + m_dlg.m_cancelCount, 0); // the dialog never saw the keys
}

TEST_F(CellEditingTest, DeleteEditsTheBoxAndTabMovesOnEvenAfterCtrlWasPressed) {
    ASSERT_NE(EditCell(0, 0), nullptr);
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(kit::WindowText(Editor()), L"0c0");
    Press('A', true); // Ctrl+A reaches the box; Ctrl is released again afterwards
    Press(VK_TAB);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(m_dlg.m_editEnds, Ends{L"0,0 0c0/3"});
    EXPECT_EQ(GetFocus(), m_dlg.GetDlgItem(IDC_TEST_EDIT));
}

TEST_F(CellEditingTest, HoldsTheMouseScrollsCutOffCellsIntoViewEditsNoNarrowCellOrEmptyArea) {
    ASSERT_NE(EditCell(1, 1), nullptr);
    const RECT box = EditorRect();
    const POINT overBox{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    PostMessageW(m_dlg.List(), WM_MOUSEMOVE, 0, MAKELPARAM(overBox.x, overBox.y));
    EXPECT_TRUE(kit::PumpUntil([] { return GetCapture() == nullptr; }));
    Press(VK_RETURN); // ends while the mouse is over the box

    const POINT overList = m_dlg.CellPoint(4, 0);
    PostMessageW(m_dlg.List(), WM_MOUSEMOVE, 0, MAKELPARAM(overList.x, overList.y));
    EXPECT_TRUE(kit::PumpUntil([&] { return GetCapture() == m_dlg.List(); }));
    ClickCell(4, 0);
    EXPECT_NE(GetCapture(), m_dlg.List());

    // A press on the header while editing ends the edit and goes no further.
    ClickCell(4, 1);
    ASSERT_NE(Editor(), nullptr);
    RECT header{};
    GetWindowRect(m_dlg.Header(), &header);
    MapWindowPoints(nullptr, m_dlg.List(), reinterpret_cast<POINT*>(&header), 2);
    Click(POINT{header.left + 20, (header.top + header.bottom) / 2});
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(m_dlg.m_editEnds.size(), 2u);
    EXPECT_EQ(m_dlg.m_list.m_nSortedColumn, -1);
    // Cut-off cells are scrolled into view; narrow ones and the empty area are not edited.
    auto clickTwice = [&](POINT point) {
        Click(point);
        Click(point);
    };
    const RECT half = Cell(1, 2); // 250..370 in a list 300 wide
    clickTwice(POINT{275, (half.top + half.bottom) / 2});
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Cell(1, 2).right, ClientRight());
    EXPECT_EQ(EditorRect().left, Cell(1, 2).left + 4);
    EXPECT_EQ(EditorRect().right, ClientRight());
    Press(VK_RETURN);

    m_dlg.m_list.Scroll(200, 0);
    const RECT cut = Cell(2, 1);
    ASSERT_LT(cut.left, 0);
    clickTwice(POINT{10, (cut.top + cut.bottom) / 2});
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Cell(2, 1).left, 0);
    EXPECT_EQ(EditorRect().left, 4);
    Press(VK_RETURN);

    m_dlg.m_list.Scroll(-200, 0);
    m_dlg.m_list.SetColumnWidth(0, 4);
    const RECT narrow = Cell(0, 0);
    clickTwice(POINT{2, (narrow.top + narrow.bottom) / 2});
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_NE(GetCapture(), m_dlg.List());
    clickTwice(POINT{150, Cell(5, 1).bottom + 20});
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(CellEditingTest, AnEditorThatCannotBeMadeLeavesNothingAndClosingTheWindowEndsAnEdit) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseEdits, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    CSubItemEdit* pEdit = m_dlg.m_list.EditSubLabel(0, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(pEdit, nullptr);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_NE(GetCapture(), m_dlg.List());

    ASSERT_NE(EditCell(2, 0), nullptr);
    Type(L"kept");
    m_dlg.DestroyWindow();
    EXPECT_EQ(m_dlg.m_editEnds, Ends{L"2,0 kept/4"});
}
