// The column catalogue and what the list view shows of it.
#include "ListTestSupport.h"

#include "UiKit.h"

using namespace lctest;

namespace {

using Headers = std::vector<std::wstring>;

class ColumnCatalogueTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        ASSERT_TRUE(m_dlg.Open());
    }
    std::vector<int> Positions() const {
        std::vector<int> positions;
        for (const auto& p : m_dlg.m_list.m_columns)
            positions.push_back(p->m_nColumn);
        return positions;
    }
    ListHostDialog m_dlg;
};

} // namespace

TEST_F(ColumnCatalogueTest, AddColumnShowsAtOnceAtTheEndUnlessThePersistedCatalogueWaits) {
    CListCtrlEx& list = m_dlg.m_list;
    EXPECT_TRUE(list.AddColumn(L"sn", L"Last", 60, 2, FALSE, TRUE, TRUE, TRUE, -1, 15, 0));
    EXPECT_TRUE(list.AddColumn(L"cn", L"R&D", 70, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0));
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Headers{L"Last", L"RD"}));
    EXPECT_EQ(list.FindColumn(L"cn")->m_szTitle, L"RD");
    EXPECT_EQ(Positions(), (std::vector<int>{0, 1}));

    ListHostDialog persisted;
    ASSERT_TRUE(persisted.Open());
    CListCtrlEx& store = persisted.m_list;
    store.m_bPersistColumns = TRUE;
    EXPECT_EQ(store.AddColumn(L"b", L"B", 50, 2, FALSE, TRUE, TRUE, TRUE, 1, 15, 0), TRUE);
    EXPECT_EQ(store.AddColumn(L"a", L"A", 0, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0), TRUE);
    EXPECT_EQ(kit::ListColumnCount(persisted.List()), 0);
    store.DisplayColumns();
    EXPECT_EQ(kit::ListHeaders(persisted.List()), (Headers{L"A", L"B"}));
    EXPECT_EQ(store.FindColumn(L"a")->m_nWidth, 85); // 0 means the default width
    EXPECT_EQ(store.GetColumnWidth(0), 85);
}

TEST_F(ColumnCatalogueTest, DuplicateNamesKeepTwoDefinitionsAndLookupsFindTheFirst) {
    CListCtrlEx& list = m_dlg.m_list;
    m_dlg.AddTextColumn(L"mail", 50);
    list.AddColumn(L"mail", L"Second", 60, 3, TRUE, FALSE, FALSE, FALSE, -1, 15, 0);
    EXPECT_EQ(list.GetColumnCount(), 2);
    // Showing the second one shows the first definition again.
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Headers{L"mail", L"mail"}));
    EXPECT_EQ(list.FindColumn(L"mail"), list.m_columns[0].get());
    EXPECT_EQ(list.GetColumnPosition(L"mail"), 1);
    EXPECT_EQ(list.m_columns[1]->m_nColumn, -1);
}

TEST_F(ColumnCatalogueTest, PositionsStayWithoutGapsWhenColumnsGoAndComeBack) {
    CListCtrlEx& list = m_dlg.m_list;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
        m_dlg.AddTextColumn(name, 50);
    EXPECT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Headers{L"a", L"c", L"d"}));
    EXPECT_EQ(Positions(), (std::vector<int>{0, -1, 1, 2}));
    EXPECT_TRUE(list.HasHiddenColumns());
    EXPECT_EQ(list.GetDisplayedColumnCount(), 3);
    EXPECT_EQ(list.GetColumnName(1), L"c");
    // Hidden definitions are at no position.
    EXPECT_EQ(list.GetColumnAt(-1), nullptr);
    EXPECT_EQ(list.GetColumnSortType(-1), 0);
    EXPECT_FALSE(list.DisplayColumn(L"nothere", 0, TRUE));

    EXPECT_TRUE(list.DisplayColumn(L"b", 0, TRUE));
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Headers{L"b", L"a", L"c", L"d"}));
    EXPECT_EQ(Positions(), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(m_dlg.m_shownColumns, (Headers{L"b"}));

    NMLISTVIEW click{};
    click.iSubItem = 2;
    int column = 0, offset = 0;
    list.GetSubItemOffset(&click, column, offset);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(offset, 100);
}

TEST_F(ColumnCatalogueTest, RemoveAllColumnsEmptiesListAndCatalogueButKeepsTheSortState) {
    CListCtrlEx& list = m_dlg.m_list;
    m_dlg.AddTextColumn(L"a", 40);
    m_dlg.AddTextColumn(L"b", 40);
    list.SortColumn(1, FALSE, FALSE);
    list.m_bColumnsChanged = TRUE;

    // Without the header taken over, the list view keeps its columns.
    list.RemoveAllColumns();
    EXPECT_EQ(kit::ListColumnCount(m_dlg.List()), 2);
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_FALSE(list.m_bColumnsChanged);

    m_dlg.AddTextColumn(L"c", 40);
    ASSERT_TRUE(list.m_ctlHeader.SubclassDlgItem(0, &list));
    list.RemoveAllColumns();
    EXPECT_EQ(kit::ListColumnCount(m_dlg.List()), 0);
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(list.m_nSortedColumn, 1);
    EXPECT_EQ(list.m_bSortAsending, 1);
}
