// The column catalogue, what the list view shows of it, and its stored layout read
// back with the raw registry API.
#include "ListTestSupport.h"

#include "UiKit.h"

using namespace lctest;

namespace {

using Names = std::vector<std::wstring>;

const wchar_t kListKey[] = L"ListControl\\Test\\Server A";

// Every definition's name, title, position, sort type, flags and width.
std::vector<std::wstring> Describe(const CListCtrlEx& list) {
    std::vector<std::wstring> columns;
    for (const auto& p : list.m_columns) {
        CString text;
        text.Format(L"%s|%s|%d|%d|%d%d%d%d|%d", p->m_szName.GetString(), p->m_szTitle.GetString(),
                    p->m_nColumn, p->m_nSortType, p->m_bPhoneNumber, p->m_bRemove, p->m_bMove,
                    p->m_bEdit, p->m_nWidth);
        columns.push_back(text.str());
    }
    return columns;
}

std::wstring ColumnKey(int i, const std::wstring& listKey = kListKey) {
    return listKey + L"\\Column " + std::to_wstring(i);
}

void StoreColumn(int i, const wchar_t* name, int column, int width = 50,
                 const std::wstring& listKey = kListKey) {
    WriteString(ColumnKey(i, listKey), L"Name", name);
    WriteString(ColumnKey(i, listKey), L"Title", std::wstring(L"T-") + name);
    WriteDword(ColumnKey(i, listKey), L"Column", static_cast<DWORD>(column));
    WriteDword(ColumnKey(i, listKey), L"Width", static_cast<DWORD>(width));
}

// A stored column as "name|title|position|width|sort type|phone remove move edit".
std::wstring StoredColumn(int i, const std::wstring& listKey = kListKey) {
    const std::wstring key = ColumnKey(i, listKey);
    auto number = [&](const wchar_t* name) {
        auto value = ReadDword(key, name);
        return value ? std::to_wstring(static_cast<int>(*value)) : std::wstring(L"-");
    };
    return ReadString(key, L"Name").value_or(L"-") + L"|" +
           ReadString(key, L"Title").value_or(L"-") + L"|" + number(L"Column") + L"|" +
           number(L"Width") + L"|" + number(L"SortType") + L"|" + number(L"PhoneNumber") +
           number(L"Remove") + number(L"Move") + number(L"Edit");
}

class ColumnSettingsTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        m_dlg.m_list.m_bPersistColumns = TRUE;
    }
    // Opens the dialog if need be and reads the stored columns of `name` into its list.
    static void ReadStored(ListHostDialog& dlg, const wchar_t* name = L"Test\\Server A") {
        if (!dlg.m_hWnd) {
            ASSERT_TRUE(dlg.Open());
        }
        dlg.m_list.m_bPersistColumns = TRUE;
        dlg.m_list.SetName(name);
        dlg.m_list.ReadColumns();
    }
};

using ColumnCatalogueTest = ListTest;

} // namespace

TEST_F(ColumnSettingsTest, CatalogueRoundTripsInTheStoredFormat) {
    CListCtrlEx& list = m_dlg.m_list;
    list.SetName(L"Test\\Server A");
    list.AddColumn(L"cn", L"Name", 120, 2, FALSE, FALSE, TRUE, FALSE, 0, 15, 0);
    list.AddColumn(L"telephoneNumber", L"Phone", 90, 2, TRUE, TRUE, FALSE, TRUE, 1, 15, 0);
    list.AddColumn(L"whenChanged", L"Changed", 0, 3, FALSE, TRUE, TRUE, TRUE, -1, 15, 0);
    list.DisplayColumns();
    list.m_ctlHeader.SubclassDlgItem(0, &list);
    list.SetColumnWidth(1, 111);
    list.SortColumn(1, TRUE, FALSE);
    list.SortColumn(1, TRUE, FALSE);
    ASSERT_TRUE(list.WriteControlSettings());

    // (The registry lists values by name, not in the order they were written.)
    EXPECT_EQ(ValueNames(kListKey), (Names{L"SortAscending", L"SortedColumn", L"Style"}));
    EXPECT_EQ(ReadDword(kListKey, L"Style"), DWORD{LVS_REPORT});
    EXPECT_EQ(ValueNames(ColumnKey(1)), (Names{L"Column", L"Edit", L"Move", L"Name", L"PhoneNumber",
                                               L"Remove", L"SortType", L"Title", L"Width"}));
    EXPECT_EQ(StoredColumn(0), L"cn|Name|0|120|2|0010");
    EXPECT_EQ(StoredColumn(1), L"telephoneNumber|Phone|1|111|2|1101"); // the live width
    EXPECT_EQ(StoredColumn(2), L"whenChanged|Changed|-1|0|3|0111");
    EXPECT_FALSE(HasKey(ColumnKey(3)));
    EXPECT_EQ(list.FindColumn(L"telephoneNumber")->m_nWidth, 90);

    ListHostDialog other;
    ASSERT_TRUE(other.Open());
    other.m_list.m_bPersistColumns = TRUE;
    other.m_list.InitializeList(L"Test\\Server A");
    list.FindColumn(L"telephoneNumber")->m_nWidth = 111;
    EXPECT_EQ(Describe(other.m_list), Describe(list));
    EXPECT_EQ(kit::ListHeaders(other.List()), (Names{L"Name", L"Phone"}));
    EXPECT_EQ(other.m_list.GetColumnWidth(1), 111);
    EXPECT_EQ(std::make_pair(other.m_list.m_nSortedColumn, other.m_list.m_bSortAsending),
              std::make_pair(1, 0)); // column 1, descending
    EXPECT_EQ(other.m_list.m_ctlHeader.m_nSortColumn, 1);
}

TEST_F(ColumnSettingsTest, SameTitleSavesTheWidthOfTheFirstAndADetachedListItsOwnWidths) {
    CListCtrlEx& list = m_dlg.m_list;
    list.SetName(L"Test\\Server A");
    list.AddColumn(L"a", L"Same", 70, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0);
    list.AddColumn(L"b", L"Same", 40, 2, FALSE, TRUE, TRUE, TRUE, 1, 15, 0);
    list.AddColumn(L"c", L"R&D", 30, 2, FALSE, TRUE, TRUE, TRUE, -1, 15, 0);
    list.DisplayColumns();
    list.m_ctlHeader.SubclassDlgItem(0, &list);
    list.WriteControlSettings();
    EXPECT_EQ(StoredColumn(0), L"a|Same|0|70|2|0111");
    EXPECT_EQ(StoredColumn(1), L"b|Same|1|70|2|0111");
    EXPECT_EQ(StoredColumn(2), L"c|RD|-1|30|2|0111"); // hidden: its own width

    CListCtrlEx store;
    store.m_bPersistColumns = TRUE;
    store.SetName(L"Test\\Server A");
    store.ReadColumnsOnly();
    ASSERT_EQ(store.GetColumnCount(), 3);
    store.m_columns[0]->m_nWidth = 33;
    EXPECT_TRUE(store.WriteControlSettings());
    EXPECT_EQ(ReadDword(kListKey, L"Style"), 0u);
    EXPECT_EQ(ReadDword(ColumnKey(0), L"Width"), 33u);
    EXPECT_EQ(ReadDword(ColumnKey(1), L"Width"), 70u);
    EXPECT_FALSE(ReadDword(kListKey, L"SortedColumn"));
}

TEST_F(ColumnSettingsTest, WriteReplacesTheWholeStoredLayoutAndAListWithoutANameNothing) {
    CListCtrlEx& list = m_dlg.m_list;
    EXPECT_FALSE(list.ReadControlSettings());
    EXPECT_FALSE(list.WriteControlSettings());
    EXPECT_FALSE(HasKey(L"ListControl"));
    // What a stored layout may hold besides: other values, a sort no longer in effect,
    // columns of old with other titles and fewer values, keys below them.
    WriteDword(kListKey, L"Stray", 1);
    WriteDword(kListKey, L"SortedColumn", 0);
    StoreColumn(0, L"old", 0, 70);
    WriteDword(ColumnKey(0) + L"\\Nested", L"Width", 1);
    StoreColumn(5, L"stale", 1);
    list.SetName(L"Test\\Server A");
    list.AddColumn(L"new", L"New", 50, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0);
    list.WriteControlSettings();
    EXPECT_EQ(ValueNames(kListKey), Names{L"Style"});
    EXPECT_EQ(StoredColumn(0), L"new|New|0|50|2|0111");
    EXPECT_FALSE(HasKey(ColumnKey(0) + L"\\Nested"));
    EXPECT_FALSE(HasKey(ColumnKey(5)));

    // Not persisted: only the view and sort state are stored.
    list.m_bPersistColumns = FALSE;
    list.WriteControlSettings();
    EXPECT_TRUE(HasKey(kListKey));
    EXPECT_FALSE(HasKey(ColumnKey(0)));
}

TEST_F(ColumnSettingsTest, AMissingColumnKeyEndsTheCatalogueAndPositionsCloseUpAGap) {
    StoreColumn(0, L"a", 0);
    StoreColumn(1, L"b", 1, 99);
    WriteString(ColumnKey(2), L"Title", L"stray");
    StoreColumn(3, L"d", 2);
    CListCtrlEx& list = m_dlg.m_list;
    // A definition the list already has keeps its title, width and position.
    list.AddColumn(L"b", L"Mine", 44, 2, FALSE, TRUE, TRUE, TRUE, 1, 15, 0);
    ReadStored(m_dlg);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Names{L"T-a", L"Mine"}));
    EXPECT_EQ(list.GetColumnWidth(1), 44);
    EXPECT_FALSE(HasKey(ColumnKey(2))); // the broken key is deleted
    EXPECT_TRUE(HasKey(ColumnKey(3)));

    StoreColumn(1, L"b", 3);
    StoreColumn(2, L"c", 1);
    RegDeleteTreeW(HKEY_CURRENT_USER, FullPath(ColumnKey(3)).c_str());
    ListHostDialog gap;
    ReadStored(gap);
    EXPECT_EQ(kit::ListHeaders(gap.List()), (Names{L"T-a", L"T-c", L"T-b"}));
    EXPECT_EQ(gap.m_list.GetDisplayedColumnCount(), 3);
    EXPECT_EQ(gap.m_list.GetColumnPosition(L"b"), 2);
}

TEST_F(ColumnSettingsTest, AMissingOrZeroStoredWidthBecomesTheDefault) {
    StoreColumn(0, L"a", 0, 0);
    StoreColumn(1, L"b", 1);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, FullPath(ColumnKey(1)).c_str(), L"Width");
    ReadStored(m_dlg);
    EXPECT_EQ(ListView_GetColumnWidth(m_dlg.List(), 0), 85);
    EXPECT_EQ(ListView_GetColumnWidth(m_dlg.List(), 1), 85);
    EXPECT_EQ(m_dlg.m_list.FindColumn(L"b")->m_nWidth, 85);
}

TEST_F(ColumnSettingsTest, StoredViewTypeAndSortAreAppliedWithoutSaving) {
    StoreColumn(0, L"a", 0);
    WriteDword(ColumnKey(0), L"SortType", 2);
    WriteDword(kListKey, L"Style", LVS_LIST);
    WriteDword(kListKey, L"SortedColumn", 0);
    WriteDword(kListKey, L"SortAscending", 0);
    WriteDword(kListKey, L"Marker", 1); // a save would remove it
    for (const wchar_t* cell : {L"b", L"c", L"a"})
        m_dlg.AddRow({cell});
    CListCtrlEx& list = m_dlg.m_list;
    list.InitializeList(L"Test\\Server A");
    EXPECT_EQ(list.m_ctlHeader.m_hWnd, list.GetHeaderCtrl());
    EXPECT_EQ(list.GetStyle() & LVS_TYPEMASK, DWORD{LVS_LIST});
    EXPECT_EQ(m_dlg.Column(0), (Names{L"c", L"b", L"a"}));
    EXPECT_EQ(list.m_ctlHeader.m_nSortColumn, 0);
    EXPECT_FALSE(list.m_ctlHeader.m_bAscending);
    EXPECT_EQ(ReadDword(kListKey, L"Marker"), 1u);
}

TEST_F(ColumnSettingsTest, PhoneDirectoryListsKeepTitlesPerLanguage) {
    const std::wstring listKey = L"ListControl\\My Phone Directory";
    const std::wstring intlKey = L"ListControl\\My Phone Directory-intl";
    SetLanguage(2);
    StoreColumn(0, L"Address", 0, 50, listKey);
    StoreColumn(1, L"Pager", 1, 50, listKey);
    StoreColumn(2, L"Custom", 2, 50, listKey);
    WriteString(ColumnKey(1, intlKey), L"Title.deu", L"Piepser");
    WriteString(ColumnKey(1, intlKey), L"Title.enu", L"Beeper");

    CListCtrlEx& list = m_dlg.m_list;
    list.m_bColumnMenu = TRUE;
    ReadStored(m_dlg, L"My Phone Directory");
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Names{L"Adresse", L"Piepser", L"Unknown"}));
    list.FindColumn(L"Custom")->m_szTitle = L"Eigenes";
    list.WriteControlSettings();
    EXPECT_EQ(ReadString(ColumnKey(0, listKey), L"Title"), L"Adresse"); // the default
    EXPECT_FALSE(ReadString(ColumnKey(1, listKey), L"Title"));
    EXPECT_EQ(ReadString(ColumnKey(1, intlKey), L"Title.deu"), L"Piepser");
    EXPECT_EQ(ReadString(ColumnKey(1, intlKey), L"Title.enu"), L"Beeper"); // kept
    EXPECT_EQ(ReadString(ColumnKey(2, intlKey), L"Title.deu"), L"Eigenes");

    // Language 9 has no value name: no localized title is read or written.
    SetLanguage(9);
    ListHostDialog other;
    other.m_list.m_bColumnMenu = TRUE;
    ReadStored(other, L"My Phone Directory");
    EXPECT_EQ(kit::ListHeaders(other.List()), (Names{L"Address", L"Pager", L"Unknown"}));
    other.m_list.FindColumn(L"Custom")->m_szTitle = L"Mine";
    other.m_list.WriteControlSettings();
    EXPECT_FALSE(ReadString(ColumnKey(2, listKey), L"Title"));
    EXPECT_EQ(ValueNames(ColumnKey(2, intlKey)), Names{L"Title.deu"});

    // Without translation tables a well-known column reads as "Unknown" too.
    SetLanguage(0);
    ListHostDialog bare;
    bare.m_list.m_pTranslation = nullptr;
    ReadStored(bare, L"My Phone Directory");
    EXPECT_EQ(kit::ListHeaders(bare.List()), (Names{L"Unknown", L"Beeper", L"Unknown"}));

    // Without the column menu a localized list saves no columns at all.
    bare.m_list.WriteControlSettings();
    EXPECT_TRUE(HasKey(listKey));
    EXPECT_FALSE(HasKey(ColumnKey(0, listKey)));
}

TEST_F(ColumnCatalogueTest, DuplicateNamesKeepTwoDefinitionsAndLookupsFindTheFirst) {
    CListCtrlEx& list = m_dlg.m_list;
    m_dlg.AddTextColumn(L"mail", 50);
    list.AddColumn(L"mail", L"Second", 60, 3, TRUE, FALSE, FALSE, FALSE, -1, 15, 0);
    EXPECT_EQ(list.GetColumnCount(), 2);
    // Showing the second one shows the first definition again.
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Names{L"mail", L"mail"}));
    EXPECT_EQ(list.FindColumn(L"mail"), list.m_columns[0].get());
    EXPECT_EQ(list.GetColumnPosition(L"mail"), 1);
    EXPECT_EQ(list.m_columns[1]->m_nColumn, -1);
}

TEST_F(ColumnCatalogueTest, RemoveAllColumnsEmptiesListAndCatalogueButKeepsTheSortState) {
    CListCtrlEx& list = m_dlg.m_list;
    m_dlg.AddTextColumn(L"a", 40);
    m_dlg.AddTextColumn(L"b", 40);
    // Where a click in a cell of column b lies (the row menu's place).
    NMLISTVIEW click{};
    click.iSubItem = 1;
    int column = 0, offset = 0;
    list.GetSubItemOffset(&click, column, offset);
    EXPECT_EQ(std::pair(column, offset), std::pair(1, 40));
    list.SortColumn(1, FALSE, FALSE);
    list.m_bColumnsChanged = TRUE;

    // Without the header taken over, the list view keeps its columns.
    list.RemoveAllColumns();
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()).size(), 2u);
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_FALSE(list.m_bColumnsChanged);

    m_dlg.AddTextColumn(L"c", 40);
    ASSERT_TRUE(list.m_ctlHeader.SubclassDlgItem(0, &list));
    list.RemoveAllColumns();
    EXPECT_TRUE(kit::ListHeaders(m_dlg.List()).empty());
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(list.m_nSortedColumn, 1);
    EXPECT_EQ(list.m_bSortAsending, 1);
}
