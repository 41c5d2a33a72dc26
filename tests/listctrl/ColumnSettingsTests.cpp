// The stored layout of a list, read back with the raw registry API.
#include "ListTestSupport.h"

#include "UiKit.h"

using namespace lctest;

namespace {

using Names = std::vector<std::wstring>;

const wchar_t kListKey[] = L"ListControl\\Test\\Server A";

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

class ColumnSettingsTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        ASSERT_TRUE(m_dlg.Open());
        m_dlg.m_list.m_bPersistColumns = TRUE;
    }
    ListHostDialog m_dlg;
};

// Records the widths that reach the list view's column insertion.
LRESULT CALLBACK RecordInsertedWidths(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR refData) {
    if (msg == LVM_INSERTCOLUMNW)
        reinterpret_cast<std::vector<int>*>(refData)->push_back(
            reinterpret_cast<const LVCOLUMNW*>(lParam)->cx);
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

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
    EXPECT_EQ(ReadDword(kListKey, L"SortedColumn"), 1u);
    EXPECT_EQ(ReadDword(kListKey, L"SortAscending"), 0u);
    EXPECT_EQ(ValueNames(ColumnKey(1)), (Names{L"Column", L"Edit", L"Move", L"Name", L"PhoneNumber",
                                               L"Remove", L"SortType", L"Title", L"Width"}));
    for (const wchar_t* name :
         {L"Column", L"Edit", L"Move", L"PhoneNumber", L"Remove", L"SortType"})
        EXPECT_TRUE(ReadDword(ColumnKey(1), name)) << name;
    EXPECT_EQ(ReadString(ColumnKey(1), L"Name"), L"telephoneNumber");
    EXPECT_EQ(ReadString(ColumnKey(1), L"Title"), L"Phone");
    EXPECT_EQ(ReadDword(ColumnKey(1), L"PhoneNumber"), 1u);
    EXPECT_EQ(ReadDword(ColumnKey(1), L"Width"), 111u); // the live width
    EXPECT_EQ(list.FindColumn(L"telephoneNumber")->m_nWidth, 90);
    EXPECT_EQ(ReadDword(ColumnKey(2), L"Column"), 0xFFFFFFFFu);
    EXPECT_FALSE(HasKey(ColumnKey(3)));

    ListHostDialog other;
    ASSERT_TRUE(other.Open());
    other.m_list.m_bPersistColumns = TRUE;
    other.m_list.InitializeList(L"Test\\Server A");
    ASSERT_EQ(other.m_list.GetColumnCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const CListColumn& a = *list.m_columns[i];
        const CListColumn& b = *other.m_list.m_columns[i];
        EXPECT_EQ(b.m_szName, a.m_szName);
        EXPECT_EQ(b.m_szTitle, a.m_szTitle);
        EXPECT_EQ(b.m_nColumn, a.m_nColumn);
        EXPECT_EQ(b.m_nSortType, a.m_nSortType);
        EXPECT_EQ(b.m_bPhoneNumber, a.m_bPhoneNumber);
        EXPECT_EQ(b.m_bRemove, a.m_bRemove);
        EXPECT_EQ(b.m_bMove, a.m_bMove);
        EXPECT_EQ(b.m_bEdit, a.m_bEdit);
    }
    EXPECT_EQ(other.m_list.m_columns[0]->m_nWidth, 120);
    EXPECT_EQ(other.m_list.m_columns[1]->m_nWidth, 111);
    EXPECT_EQ(other.m_list.m_columns[2]->m_nWidth, 0);
    EXPECT_EQ(kit::ListHeaders(other.List()), (Names{L"Name", L"Phone"}));
    EXPECT_EQ(other.m_list.GetColumnWidth(1), 111);
    EXPECT_EQ(other.m_list.m_nSortedColumn, 1);
    EXPECT_EQ(other.m_list.m_bSortAsending, 0);
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
    EXPECT_EQ(ReadDword(ColumnKey(0), L"Width"), 70u);
    EXPECT_EQ(ReadDword(ColumnKey(1), L"Width"), 70u);
    EXPECT_EQ(ReadString(ColumnKey(2), L"Title"), L"RD");
    EXPECT_EQ(ReadDword(ColumnKey(2), L"Width"), 30u); // hidden: its own width

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

TEST_F(ColumnSettingsTest, WriteReplacesTheWholeStoredLayout) {
    StoreColumn(0, L"old", 0);
    StoreColumn(5, L"stale", 1);
    CListCtrlEx& list = m_dlg.m_list;
    list.SetName(L"Test\\Server A");
    list.AddColumn(L"new", L"New", 50, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0);
    list.WriteControlSettings();
    EXPECT_EQ(ReadString(ColumnKey(0), L"Name"), L"new");
    EXPECT_FALSE(HasKey(ColumnKey(5)));

    // Not persisted: only the view and sort state are stored.
    list.m_bPersistColumns = FALSE;
    list.WriteControlSettings();
    EXPECT_TRUE(HasKey(kListKey));
    EXPECT_FALSE(HasKey(ColumnKey(0)));
}

TEST_F(ColumnSettingsTest, AMissingColumnKeyEndsTheCatalogueAndIsDeleted) {
    StoreColumn(0, L"a", 0);
    StoreColumn(1, L"b", 1, 99);
    WriteString(ColumnKey(2), L"Title", L"stray");
    StoreColumn(3, L"d", 2);
    CListCtrlEx& list = m_dlg.m_list;
    // A definition the list already has keeps its title, width and position.
    list.AddColumn(L"b", L"Mine", 44, 2, FALSE, TRUE, TRUE, TRUE, 1, 15, 0);
    list.SetName(L"Test\\Server A");
    list.ReadColumns();
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Names{L"T-a", L"Mine"}));
    EXPECT_EQ(list.GetColumnWidth(1), 44);
    EXPECT_FALSE(HasKey(ColumnKey(2)));
    EXPECT_TRUE(HasKey(ColumnKey(3)));
}

TEST_F(ColumnSettingsTest, AGapInStoredPositionsShowsOnlyTheColumnsBeforeIt) {
    StoreColumn(0, L"a", 0);
    StoreColumn(1, L"b", 3);
    StoreColumn(2, L"c", 1);
    m_dlg.m_list.SetName(L"Test\\Server A");
    m_dlg.m_list.ReadColumns();
    EXPECT_EQ(kit::ListHeaders(m_dlg.List()), (Names{L"T-a", L"T-c"}));
    EXPECT_EQ(m_dlg.m_list.GetDisplayedColumnCount(), 3);
    EXPECT_EQ(m_dlg.m_list.GetColumnPosition(L"b"), 3);
}

TEST_F(ColumnSettingsTest, StoredWidthsReachTheListViewAsTheyAre) {
    StoreColumn(0, L"a", 0, 0);
    StoreColumn(1, L"b", 1);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, FullPath(ColumnKey(1)).c_str(), L"Width");
    std::vector<int> widths;
    ASSERT_TRUE(SetWindowSubclass(m_dlg.List(), RecordInsertedWidths, 1,
                                  reinterpret_cast<DWORD_PTR>(&widths)));
    m_dlg.m_list.SetName(L"Test\\Server A");
    m_dlg.m_list.ReadColumns();
    RemoveWindowSubclass(m_dlg.List(), RecordInsertedWidths, 1);
    EXPECT_EQ(widths, (std::vector<int>{85, -1}));
    EXPECT_EQ(m_dlg.m_list.FindColumn(L"b")->m_nWidth, -1);
}

TEST_F(ColumnSettingsTest, AListWithoutANameTouchesNothing) {
    CListCtrlEx& list = m_dlg.m_list;
    list.AddColumn(L"a", L"A", 44, 2, FALSE, TRUE, TRUE, TRUE, 0, 15, 0);
    list.ReadColumns();
    EXPECT_FALSE(list.ReadControlSettings());
    EXPECT_FALSE(list.WriteControlSettings());
    EXPECT_EQ(list.GetColumnCount(), 1);
    EXPECT_FALSE(HasKey(L"ListControl"));
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
    list.SetName(L"My Phone Directory");
    list.ReadColumns();
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
    ASSERT_TRUE(other.Open());
    other.m_list.m_bPersistColumns = other.m_list.m_bColumnMenu = TRUE;
    other.m_list.SetName(L"My Phone Directory");
    other.m_list.ReadColumns();
    EXPECT_EQ(kit::ListHeaders(other.List()), (Names{L"Address", L"Pager", L"Unknown"}));
    other.m_list.FindColumn(L"Custom")->m_szTitle = L"Mine";
    other.m_list.WriteControlSettings();
    EXPECT_FALSE(ReadString(ColumnKey(2, listKey), L"Title"));
    EXPECT_EQ(ValueNames(ColumnKey(2, intlKey)), Names{L"Title.deu"});

    // Without translation tables a well-known column reads as "Unknown" too.
    SetLanguage(0);
    ListHostDialog bare;
    ASSERT_TRUE(bare.Open());
    bare.m_list.m_pTranslation = nullptr;
    bare.m_list.m_bPersistColumns = TRUE;
    bare.m_list.SetName(L"My Phone Directory");
    bare.m_list.ReadColumns();
    EXPECT_EQ(kit::ListHeaders(bare.List()), (Names{L"Unknown", L"Beeper", L"Unknown"}));

    // Without the column menu a localized list saves no columns at all.
    bare.m_list.WriteControlSettings();
    EXPECT_TRUE(HasKey(listKey));
    EXPECT_FALSE(HasKey(ColumnKey(0, listKey)));
}
