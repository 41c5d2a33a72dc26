// Saving a list's settings over what is stored leaves what saving afresh leaves.
#include "ListTestSupport.h"

using namespace lctest;

TEST_F(ListTest, SavingOverAStoredLayoutLeavesWhatAFreshSaveLeaves) {
    const std::wstring key = L"ListControl\\Test\\Rewrite";
    ListHostDialog dlg;
    ASSERT_TRUE(dlg.Open());
    CListCtrlEx& list = dlg.m_list;
    list.m_bPersistColumns = TRUE;
    list.SetName(L"Test\\Rewrite");
    list.AddColumn(L"cn", L"Name", 120, 2, FALSE, FALSE, TRUE, FALSE, 0, 15, 0);
    list.AddColumn(L"mail", L"Mail", 90, 2, FALSE, TRUE, TRUE, TRUE, -1, 15, 0);
    list.DisplayColumns();
    list.m_ctlHeader.SubclassDlgItem(0, &list);
    list.SortColumn(0, TRUE, FALSE);
    ASSERT_TRUE(list.WriteControlSettings());

    // What the stored layout may hold besides: other values, data and keys.
    WriteDword(key, L"Stray", 1);
    WriteString(key + L"\\Column 0", L"Title", L"Old title");
    WriteDword(key + L"\\Column 0\\Nested", L"Width", 1);
    WriteString(key + L"\\Column 5", L"Name", L"gone");
    RegDeleteKeyValueW(HKEY_CURRENT_USER,
                       (std::wstring(kRootKey) + L"\\" + key + L"\\Column 1").c_str(), L"Edit");
    list.m_nSortedColumn = -1; // no longer stored
    list.SetColumnWidth(0, 140);
    ASSERT_TRUE(list.WriteControlSettings());

    EXPECT_EQ(ValueNames(key), (std::vector<std::wstring>{L"SortAscending", L"Style"}));
    EXPECT_EQ(ReadString(key + L"\\Column 0", L"Title"), L"Name");
    EXPECT_EQ(ReadDword(key + L"\\Column 0", L"Width"), 140u);
    EXPECT_FALSE(KeyExists(key + L"\\Column 0\\Nested"));
    EXPECT_FALSE(KeyExists(key + L"\\Column 5"));
    EXPECT_EQ(ReadDword(key + L"\\Column 1", L"Edit"), 1u);
}
