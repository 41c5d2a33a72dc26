// The header: sorting by its clicks and at the owner's request, the row comparison,
// the owner-drawn sort arrow, and the column menu.
#include "ListTestSupport.h"

#include "ListSorter.h"
#include "UiKit.h"

#include <algorithm>
#include <map>

using namespace lctest;

namespace {

using Cells = std::vector<std::wstring>;
using Headers = std::vector<std::wstring>;

const wchar_t kListKey[] = L"ListControl\\Test\\Sorting";

// A date and time as the user's locale writes them.
std::wstring UserDate(WORD year, WORD month, WORD day, WORD hour, WORD minute = 0) {
    const SYSTEMTIME st{year, month, 0, day, hour, minute, 0, 0};
    wchar_t date[64] = L"", time[64] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 64);
    return std::wstring(date) + L" " + time;
}

int Compare(const std::wstring& a, const std::wstring& b, LPARAM sort) {
    const int type = static_cast<int>(sort < 0 ? -sort : sort);
    CListSortItem item1 = CListSorter::MakeItem(0, a.c_str(), type);
    CListSortItem item2 = CListSorter::MakeItem(0, b.c_str(), type);
    return CListSorter::CompareItems(reinterpret_cast<LPARAM>(&item1),
                                     reinterpret_cast<LPARAM>(&item2), sort);
}

// A list that sorts on header clicks, saves its settings under Test\Sorting and
// offers the column menu, with its header taken over.
class HeaderTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        CListCtrlEx& list = m_dlg.m_list;
        list.m_bSortColumns = list.m_bColumnMenu = TRUE;
        list.SetName(L"Test\\Sorting");
        ASSERT_TRUE(list.m_ctlHeader.SubclassDlgItem(0, &list));
    }
    void AddColumns(std::initializer_list<std::pair<const wchar_t*, int>> columns) {
        for (const auto& [name, sortType] : columns)
            m_dlg.m_list.AddColumn(name, name, 50, sortType, FALSE, TRUE, TRUE, TRUE, -1, 15, 0);
    }
    void AddHidden(const wchar_t* name) {
        AddColumns({{name, 2}});
        m_dlg.m_list.DeleteColumn(m_dlg.m_list.GetColumnPosition(name));
    }
    // Clicks header item `item`, or beside the last one; a catcher made before gets
    // a right-click's menu.
    void ClickHeader(int item, bool right = false) {
        RECT rc{};
        const int count = Header_GetItemCount(m_dlg.Header());
        Header_GetItemRect(m_dlg.Header(), std::min(item, count - 1), &rc);
        if (item >= count)
            OffsetRect(&rc, rc.right - rc.left, 0);
        ASSERT_TRUE(
            kit::ClickAt(m_dlg.Header(), POINT{(rc.left + rc.right) / 2, rc.bottom / 2}, right));
        ASSERT_TRUE(kit::PumpUntilInputDone());
    }
    // The sort as the list, its header's arrow and the stored settings have it.
    std::wstring Sort() const {
        const CListCtrlEx& list = m_dlg.m_list;
        auto stored = [](const wchar_t* name) {
            auto value = ReadDword(kListKey, name);
            return value ? std::to_wstring(static_cast<int>(*value)) : std::wstring(L"-");
        };
        return std::to_wstring(list.m_nSortedColumn) + L"," +
               std::to_wstring(list.m_bSortAsending) + L" arrow " +
               std::to_wstring(list.m_ctlHeader.m_nSortColumn) +
               (list.m_ctlHeader.m_bAscending ? L"+" : L"-") + L" stored " +
               stored(L"SortedColumn") + L"," + stored(L"SortAscending");
    }
};

// Header item 0 drawn as 100 x 20 pixels, in a font whose space is 3 pixels wide.
class ItemPicture {
public:
    ItemPicture() {
        CClientDC screen(nullptr);
        for (int height = 6; height < 30 && !m_font.GetSafeHandle(); ++height) {
            LOGFONTW lf{};
            lf.lfHeight = -height;
            wcscpy(lf.lfFaceName, L"Tahoma");
            CFont font;
            font.CreateFontIndirect(&lf);
            CSelectObject selected(screen, font);
            SIZE space{};
            GetTextExtentPoint32W(screen, L" ", 1, &space);
            if (space.cx == 3)
                m_font = std::move(font);
        }
    }
    bool HasFont() const { return m_font.GetSafeHandle() != nullptr; }
    void Draw(CListHeaderCtrl& header, UINT state) {
        m_pixels = DrawItem(
            ODT_HEADER, header, state, 100, 20, 0,
            [&](DRAWITEMSTRUCT* dis) { header.DrawItem(dis); }, m_font);
    }
    COLORREF At(int x, int y) const { return m_pixels.At(x, y); }
    bool IsFace(int x, int y) const { return At(x, y) == GetSysColor(COLOR_3DFACE); }
    // The right and bottom ends of the label's ink, left of the arrow.
    POINT LabelEnd() const {
        POINT end{-1, -1};
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (!IsFace(x, y))
                    end = POINT{std::max<LONG>(end.x, x), std::max<LONG>(end.y, y)};
            }
        }
        return end;
    }

private:
    CFont m_font;
    DrawnPixels m_pixels;
};

} // namespace

TEST_F(HeaderTest, ClicksTurnTheDirectionAndAnotherColumnKeepsItAndEachIsSaved) {
    AddColumns({{L"name", 2}, {L"city", 2}});
    m_dlg.AddRow({L"b", L"y"});
    m_dlg.AddRow({L"C", L"x"});
    m_dlg.AddRow({L"a", L"z"});
    // Another binary's state is current while the clicks are handled; it has no
    // application object, and the settings go to the list's own module all the same.
    CModuleState hostState;
    AFX_MANAGE_STATE(&hostState);
    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"a", L"b", L"C"}));
    EXPECT_EQ(Sort(), L"0,1 arrow 0+ stored 0,1");
    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"C", L"b", L"a"}));
    EXPECT_EQ(Sort(), L"0,0 arrow 0- stored 0,0");
    ClickHeader(1); // descending still
    EXPECT_EQ(m_dlg.Column(1), (Cells{L"z", L"y", L"x"}));
    EXPECT_EQ(Sort(), L"1,0 arrow 1- stored 1,0");
    ClickHeader(1);
    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"a", L"b", L"C"}));
    EXPECT_EQ(Sort(), L"0,1 arrow 0+ stored 0,1");
}

TEST_F(HeaderTest, TheOwnersSortWithoutFlipOnTheSortedColumnDoesNothingAndSavesNothing) {
    AddColumns({{L"a", 2}, {L"fixed", 0}, {L"odd", 1}});
    m_dlg.AddRow({L"b", L"2", L"2"});
    m_dlg.AddRow({L"c", L"1", L"1"});
    CListCtrlEx& list = m_dlg.m_list;
    ClickHeader(1); // an unsortable column ignores clicks
    EXPECT_EQ(Sort(), L"-1,-1 arrow -1+ stored -,-");
    list.m_bSortColumns = FALSE;
    ClickHeader(0); // clicks do not sort now; the owner still may
    EXPECT_EQ(list.m_nSortedColumn, -1);
    list.SortColumn(0, FALSE, FALSE);
    m_dlg.AddRow({L"a"});
    list.SortColumn(0, FALSE, FALSE);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"b", L"c", L"a"}));
    list.SortColumn(0, TRUE, FALSE);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"c", L"b", L"a"}));
    EXPECT_EQ(Sort(), L"0,0 arrow 0- stored -,-");
    // A column of another sort type only turns the arrow.
    list.m_bSortColumns = TRUE;
    ClickHeader(2);
    ClickHeader(2);
    EXPECT_EQ(m_dlg.Column(2), (Cells{L"1", L"2", L""}));
    EXPECT_EQ(Sort(), L"2,1 arrow 2+ stored 2,1");
}

TEST_F(HeaderTest, EveryRowKeepsItsItemDataAndTheOwnerSeesNoneOfTheSwaps) {
    AddColumns({{L"a", 2}});
    std::map<std::wstring, LPARAM> data;
    const LPARAM base = static_cast<LPARAM>(0x7FF0123400000000LL); // beyond 32 bits
    for (int i = 0; i < 20; ++i) {
        const std::wstring text = std::to_wstring((i * 7) % 20 + 100);
        data[text] = base + i;
        m_dlg.AddRow({text}, base + i);
    }
    kit::MessageLog log;
    m_dlg.m_pLog = &log;
    // The owner would refuse changes of item data; it never hears of the sort's.
    m_dlg.m_bRefuseDataChanges = true;
    ClickHeader(0);
    ClickHeader(0);
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(kit::ListItemData(m_dlg.List(), row), data[kit::ListCell(m_dlg.List(), row, 0)]);
    EXPECT_EQ(kit::ListCell(m_dlg.List(), 0, 0), L"119");
    // After the sort the owner hears of a change of item data again, and may refuse it.
    m_dlg.m_list.SetItemData(0, 7);
    EXPECT_TRUE(log.Matches({{WM_NOTIFY, kOwnerHandler, kit::kParam, LVN_ITEMCHANGING}}));
    EXPECT_EQ(kit::ListItemData(m_dlg.List(), 0), data[L"119"]);
    m_dlg.m_pLog = nullptr;
}

TEST_F(HeaderTest, TextComparesWithoutCaseAndDatesAsTheUserWritesThemAndADateColumnSortsSo) {
    const std::wstring early = UserDate(2021, 3, 4, 10), late = UserDate(2021, 3, 4, 11);
    const std::wstring dawn = UserDate(1850, 6, 1, 6), dusk = UserDate(1850, 6, 1, 18);
    const struct {
        std::wstring a, b;
        LPARAM sort; // the sort type, negative when descending
        int expected;
    } cases[] = {{L"abc", L"ABC", 2, 0},
                 {L"a", L"B", 2, -1},
                 {L"a", L"B", -2, 1},
                 {L"a", L"B", 1, 0},
                 {L"a", L"B", 0, 0},
                 {early, late, 3, -1},
                 {late, early, 3, 1},
                 {early, late, -3, 1},
                 // Equal dates compare as greater in both orders; no date, as equal.
                 {early, early, 3, 1},
                 {early, early, -3, -1},
                 {early, L"no date", 3, 0},
                 {L"", late, 3, 0},
                 // Times of one day before 1900 keep their order too.
                 {dawn, dusk, 3, -1},
                 {dusk, UserDate(1850, 6, 2, 6), 3, -1}};
    for (const auto& c : cases) {
        const int result = Compare(c.a, c.b, c.sort);
        EXPECT_EQ((result > 0) - (result < 0), c.expected)
            << CString(c.a.c_str()).ToUtf8() << " / " << CString(c.b.c_str()).ToUtf8() << " "
            << c.sort;
    }
    AddColumns({{L"when", 3}});
    const Cells chronological = {UserDate(1899, 12, 31, 23), UserDate(2009, 12, 1, 8),
                                 UserDate(2010, 2, 1, 9), UserDate(2010, 11, 30, 7, 30)};
    for (int i : {2, 0, 3, 1})
        m_dlg.AddRow({chronological[i]});
    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), chronological);
}

TEST_F(HeaderTest, CallColumnsSortByTheirCompanions) {
    AddColumns({{L"CallDirection", 2},
                {L"Received", 2},
                {L"x", 2},
                {L"CallType", 2},
                {L"y", 2},
                {L"z", 2},
                {L"CallDate", 2}});
    CListCtrlEx& list = m_dlg.m_list;
    // The column sorted by, and the one with the arrow.
    const auto sorted = [&] {
        return std::pair(list.m_nSortedColumn, list.m_ctlHeader.m_nSortColumn);
    };
    ClickHeader(6);
    EXPECT_EQ(sorted(), std::pair(1, 6));
    ClickHeader(0);
    EXPECT_EQ(sorted(), std::pair(3, 0));
    list.FindColumn(L"Received")->m_szName = L"Answered";
    ClickHeader(6);
    EXPECT_EQ(sorted(), std::pair(1, 1));
}

TEST_F(HeaderTest, TheArrowSitsInsideTheRightEndOfTheSortedItem) {
    m_dlg.AddTextColumn(L"WW", 100);
    // A list view's first column is always left-aligned; its header item need not be.
    HDITEMW format{};
    format.mask = HDI_FORMAT;
    format.fmt = HDF_STRING | HDF_RIGHT;
    Header_SetItem(m_dlg.Header(), 0, &format);
    CListHeaderCtrl& header = m_dlg.m_list.m_ctlHeader;
    EXPECT_EQ(header.SetSortIndicator(0, TRUE), -1);

    ItemPicture picture;
    ASSERT_TRUE(picture.HasFont());
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), dark = GetSysColor(COLOR_3DSHADOW);
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        picture.Draw(header, state);
        EXPECT_FALSE(picture.IsFace(88, 5)) << "apex, state " << state;
        EXPECT_TRUE(picture.IsFace(88, 3));
        for (int x = 84; x <= 91; ++x)
            EXPECT_EQ(picture.At(x, 14), light) << "base at " << x << ", state " << state;
        EXPECT_TRUE(picture.IsFace(92, 14));
        EXPECT_EQ(picture.At(84, 13), dark);
    }
    picture.Draw(header, 0);
    const POINT label = picture.LabelEnd();
    EXPECT_LE(label.x, 75); // the label ends at x 76
    EXPECT_GE(label.x, 70);
    // Pressed: the label moves one right and two down; the arrow stays (above).
    picture.Draw(header, ODS_SELECTED);
    EXPECT_EQ(picture.LabelEnd().x, label.x + 1);
    EXPECT_GT(picture.LabelEnd().y, label.y);

    // Descending: the triangle points down from a top edge at y 5.
    header.SetSortIndicator(0, FALSE);
    picture.Draw(header, 0);
    EXPECT_EQ(picture.At(91, 5), light);
    EXPECT_EQ(picture.At(86, 5), dark);
    EXPECT_TRUE(picture.IsFace(88, 15));
}

TEST_F(HeaderTest, OnceSortedItemsStayOwnerDrawn) {
    for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e"})
        m_dlg.AddTextColumn(name, 50);
    m_dlg.m_list.SortColumn(2, TRUE, FALSE);
    m_dlg.m_list.SortColumn(4, TRUE, FALSE);
    std::wstring drawn;
    for (const kit::HeaderItem& item : kit::HeaderItems(m_dlg.Header()))
        drawn += item.format & HDF_OWNERDRAW ? L"o" : L"-";
    EXPECT_EQ(drawn, L"--o-o");
    EXPECT_EQ(m_dlg.m_list.m_ctlHeader.m_nSortColumn, 4);
    EXPECT_EQ(m_dlg.m_list.m_ctlHeader.SetSortIndicator(-1, TRUE), 4);
    EXPECT_EQ(m_dlg.m_list.m_ctlHeader.m_nSortColumn, -1);
}

TEST_F(HeaderTest, TheMenuOffersRemoveTheHiddenColumnsAndTheFieldOrganizer) {
    m_dlg.AddTextColumn(L"a", 60, TRUE, FALSE);
    m_dlg.AddTextColumn(L"b", 60);
    AddHidden(L"x");
    AddHidden(L"y");
    {
        kit::PopupMenuCatcher fixed; // "a" may not be removed
        ClickHeader(0, true);
        EXPECT_EQ(kit::MenuText(fixed.Items()),
                  L"Remove Column=1* | Show Column=0[x=3 | y=4] | - | Field &Organizer=2");
        EXPECT_EQ(fixed.Owner(), m_dlg.List());
    }
    {
        kit::PopupMenuCatcher removable(1);
        ClickHeader(1, true);
        EXPECT_TRUE(removable.Chosen()) << removable.Problem();
        EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Headers{L"a"}));
        EXPECT_EQ(m_dlg.m_list.GetColumnPosition(L"b"), -1);
    }
    // The last column left cannot be removed, whatever its flag says.
    m_dlg.m_list.FindColumn(L"a")->m_bRemove = TRUE;
    kit::PopupMenuCatcher last(2);
    ClickHeader(0, true);
    EXPECT_TRUE(last.Items()[0].grayed);
    EXPECT_EQ(m_dlg.m_organizerRequests, 1);
}

TEST_F(HeaderTest, AReshownColumnGoesRightAfterTheClickedOneAndAtMost47AreOffered) {
    for (const wchar_t* name : {L"a", L"b", L"c", L"x"})
        m_dlg.AddTextColumn(name, 50);
    for (const int clicked : {0, 2}) {
        m_dlg.m_list.DeleteColumn(m_dlg.m_list.GetColumnPosition(L"x"));
        kit::PopupMenuCatcher menu(L"x");
        ClickHeader(clicked, true);
        EXPECT_TRUE(menu.Chosen()) << menu.Problem();
        EXPECT_EQ(kit::ListHeaders(m_dlg.List())[clicked + 1], L"x");
    }
    EXPECT_EQ(m_dlg.m_shownColumns, (Headers{L"x", L"x"}));

    std::wstring offered;
    for (int i = 0; i < 60; ++i) {
        AddHidden((L"h" + std::to_wstring(i)).c_str());
        if (i < 47)
            offered += (i ? L" | h" : L"h") + std::to_wstring(i) + L"=" + std::to_wstring(3 + i);
    }
    kit::PopupMenuCatcher many;
    ClickHeader(0, true);
    ASSERT_TRUE(many.Shown());
    EXPECT_EQ(kit::MenuText(many.Items()[1].children), offered);
}

TEST_F(HeaderTest, NoMenuWithoutTextsWhenDisabledOrBesideTheItems) {
    m_dlg.AddTextColumn(L"a", 50);
    const auto menuAt = [&](int item) {
        kit::PopupMenuCatcher menu;
        ClickHeader(item, true);
        return menu.Shown();
    };
    EXPECT_FALSE(menuAt(1)) << "beside the items";
    m_dlg.m_list.m_pTranslation = nullptr;
    EXPECT_FALSE(menuAt(0)) << "without texts";
    m_dlg.m_list.m_pTranslation = Translation();
    m_dlg.m_list.m_bColumnMenu = FALSE;
    EXPECT_FALSE(menuAt(0)) << "disabled";
}
