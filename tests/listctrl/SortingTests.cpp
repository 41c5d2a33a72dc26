// Sorting by header clicks and at the owner's request, and the row comparison.
#include "ListTestSupport.h"

#include "ListSorter.h"
#include "UiKit.h"

#include <map>

using namespace lctest;

namespace {

using Cells = std::vector<std::wstring>;

const wchar_t kListKey[] = L"ListControl\\Test\\Sorting";

// A date and time as the user's locale writes them.
std::wstring UserDate(WORD year, WORD month, WORD day, WORD hour, WORD minute = 0) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
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

class SortingTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        ASSERT_TRUE(m_dlg.Open());
        CListCtrlEx& list = m_dlg.m_list;
        list.m_bSortColumns = TRUE;
        list.SetName(L"Test\\Sorting");
        ASSERT_TRUE(list.m_ctlHeader.SubclassDlgItem(0, &list));
    }
    void AddColumns(std::initializer_list<std::pair<const wchar_t*, int>> columns) {
        for (const auto& [name, sortType] : columns)
            m_dlg.m_list.AddColumn(name, name, 50, sortType, FALSE, TRUE, TRUE, TRUE, -1, 15, 0);
    }
    void ClickHeader(int item) {
        RECT rc{};
        Header_GetItemRect(m_dlg.Header(), item, &rc);
        ASSERT_TRUE(kit::ClickAt(m_dlg.Header(), POINT{(rc.left + rc.right) / 2, rc.bottom / 2}));
        ASSERT_TRUE(kit::PumpUntilInputDone());
    }
    ListHostDialog m_dlg;
};

} // namespace

TEST_F(SortingTest, ClicksSortAscendingThenDescendingThenAscendingAndSaveEachTime) {
    AddColumns({{L"name", 2}, {L"city", 2}});
    for (const wchar_t* name : {L"b", L"C", L"a"})
        m_dlg.AddRow({name, L"x"});
    CListCtrlEx& list = m_dlg.m_list;

    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"a", L"b", L"C"}));
    EXPECT_EQ(list.m_nSortedColumn, 0);
    EXPECT_EQ(list.m_bSortAsending, 1);
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 0);
    EXPECT_TRUE(list.m_ctlHeader.m_bAscending);
    EXPECT_EQ(ReadDword(kListKey, L"SortedColumn"), 0u);
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 1u);

    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"C", L"b", L"a"}));
    EXPECT_FALSE(list.m_ctlHeader.m_bAscending);
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 0u);

    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"a", L"b", L"C"}));
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 1u);
}

TEST_F(SortingTest, AnotherColumnSortsInTheDirectionOfThePreviousOne) {
    AddColumns({{L"a", 2}, {L"b", 2}});
    m_dlg.AddRow({L"1", L"y"});
    m_dlg.AddRow({L"2", L"x"});
    CListCtrlEx& list = m_dlg.m_list;
    ClickHeader(0);
    ClickHeader(1);
    EXPECT_EQ(list.m_bSortAsending, 1);
    EXPECT_EQ(m_dlg.Column(1), (Cells{L"x", L"y"}));
    ClickHeader(1);
    ClickHeader(0);
    EXPECT_EQ(list.m_nSortedColumn, 0);
    EXPECT_EQ(list.m_bSortAsending, 0);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"2", L"1"}));
}

TEST_F(SortingTest, TheOwnersSortWithoutFlipOnTheSortedColumnDoesNothing) {
    AddColumns({{L"a", 2}});
    m_dlg.AddRow({L"b"});
    m_dlg.AddRow({L"c"});
    CListCtrlEx& list = m_dlg.m_list;
    list.m_bSortColumns = FALSE;
    ClickHeader(0); // clicks do not sort now; the owner still may
    EXPECT_EQ(list.m_nSortedColumn, -1);
    list.SortColumn(0, FALSE, FALSE);
    m_dlg.AddRow({L"a"});
    list.SortColumn(0, FALSE, FALSE);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"b", L"c", L"a"}));
    EXPECT_FALSE(KeyExists(kListKey));
    list.SortColumn(0, TRUE, FALSE);
    EXPECT_EQ(m_dlg.Column(0), (Cells{L"c", L"b", L"a"}));
    EXPECT_EQ(list.m_bSortAsending, 0);
}

TEST_F(SortingTest, UnsortableColumnsIgnoreClicksAndOtherTypesOnlyTurnTheArrow) {
    AddColumns({{L"fixed", 0}, {L"odd", 1}});
    m_dlg.AddRow({L"b", L"2"});
    m_dlg.AddRow({L"a", L"1"});
    CListCtrlEx& list = m_dlg.m_list;
    ClickHeader(0);
    EXPECT_EQ(list.m_nSortedColumn, -1);
    EXPECT_EQ(list.m_bSortAsending, -1);
    EXPECT_FALSE(KeyExists(kListKey));

    ClickHeader(1);
    ClickHeader(1);
    EXPECT_EQ(list.m_nSortedColumn, 1);
    EXPECT_EQ(list.m_bSortAsending, 0);
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 1);
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 0u);
}

TEST_F(SortingTest, EveryRowKeepsItsItemData) {
    AddColumns({{L"a", 2}});
    std::map<std::wstring, LPARAM> data;
    const LPARAM base = static_cast<LPARAM>(0x7FF0123400000000LL); // beyond 32 bits
    for (int i = 0; i < 20; ++i) {
        const std::wstring text = std::to_wstring((i * 7) % 20 + 100);
        data[text] = base + i;
        m_dlg.AddRow({text}, base + i);
    }
    // The owner would refuse changes of item data; it never sees the sort's.
    m_dlg.m_bRefuseDataChanges = true;
    ClickHeader(0);
    ClickHeader(0);
    EXPECT_EQ(m_dlg.m_dataChanges, 0);
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(kit::ListItemData(m_dlg.List(), row), data[kit::ListCell(m_dlg.List(), row, 0)]);
    EXPECT_EQ(kit::ListCell(m_dlg.List(), 0, 0), L"119");
}

TEST_F(SortingTest, TextComparesWithoutCaseAndDatesAsTheUserWritesThem) {
    EXPECT_EQ(Compare(L"abc", L"ABC", 2), 0);
    EXPECT_LT(Compare(L"a", L"B", 2), 0);
    EXPECT_GT(Compare(L"a", L"B", -2), 0);
    EXPECT_EQ(Compare(L"a", L"B", 1), 0);
    EXPECT_EQ(Compare(L"a", L"B", 0), 0);

    const std::wstring early = UserDate(2021, 3, 4, 10), late = UserDate(2021, 3, 4, 11);
    EXPECT_EQ(Compare(early, late, 3), -1);
    EXPECT_EQ(Compare(late, early, 3), 1);
    EXPECT_EQ(Compare(early, late, -3), 1);
    // Equal dates compare as greater in both orders.
    EXPECT_EQ(Compare(early, UserDate(2021, 3, 4, 10), 3), 1);
    EXPECT_EQ(Compare(UserDate(2021, 3, 4, 10), early, 3), 1);
    EXPECT_EQ(Compare(early, UserDate(2021, 3, 4, 10), -3), -1);
    EXPECT_EQ(Compare(early, L"no date", 3), 0);
    EXPECT_EQ(Compare(L"", late, 3), 0);
    // Times of one day before 1900 keep their order too.
    EXPECT_EQ(Compare(UserDate(1850, 6, 1, 6), UserDate(1850, 6, 1, 18), 3), -1);
    EXPECT_EQ(Compare(UserDate(1850, 6, 1, 18), UserDate(1850, 6, 2, 6), 3), -1);
}

TEST_F(SortingTest, ADateColumnSortsByDate) {
    AddColumns({{L"when", 3}});
    const Cells chronological = {UserDate(1899, 12, 31, 23), UserDate(2009, 12, 1, 8),
                                 UserDate(2010, 2, 1, 9), UserDate(2010, 11, 30, 7, 30)};
    for (int i : {2, 0, 3, 1})
        m_dlg.AddRow({chronological[i]});
    ClickHeader(0);
    EXPECT_EQ(m_dlg.Column(0), chronological);
}

TEST_F(SortingTest, CallColumnsSortByTheirCompanions) {
    AddColumns({{L"CallDirection", 2},
                {L"Received", 2},
                {L"x", 2},
                {L"CallType", 2},
                {L"y", 2},
                {L"z", 2},
                {L"CallDate", 2}});
    CListCtrlEx& list = m_dlg.m_list;
    ClickHeader(6);
    EXPECT_EQ(list.m_nSortedColumn, 1);
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 6);
    ClickHeader(0);
    EXPECT_EQ(list.m_nSortedColumn, 3);
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 0);

    list.FindColumn(L"Received")->m_szName = L"Answered";
    ClickHeader(6);
    EXPECT_EQ(list.m_nSortedColumn, 1);
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 1);
}

TEST_F(SortingTest, SettingsGoToTheApplicationOfTheListsOwnModule) {
    AddColumns({{L"a", 2}});
    // Another binary's state is current while the click is handled; it has no
    // application object.
    CModuleState hostState;
    AFX_MANAGE_STATE(&hostState);
    ClickHeader(0);
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 1u);
}
