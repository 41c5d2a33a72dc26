// Saving a list's settings over what is stored gives what saving afresh gives.
#include "ListTestSupport.h"

using namespace lctest;

namespace {

// Every value (name, type, data) and key below path, in the registry's order.
std::wstring Dump(const std::wstring& path) {
    std::wstring out;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kRootKey) + L"\\" + path).c_str(), 0,
                      KEY_READ, &hKey) != ERROR_SUCCESS)
        return out;
    wchar_t name[256];
    wchar_t data[512];
    for (DWORD i = 0;; ++i) {
        DWORD nName = 256, nData = sizeof(data), type = 0;
        if (RegEnumValueW(hKey, i, name, &nName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &nData) != ERROR_SUCCESS)
            break;
        out += std::wstring(name) + L"=" + std::to_wstring(type) + L":" +
               std::wstring(data, nData / 2) + L"\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nName = 256;
        if (RegEnumKeyExW(hKey, i, name, &nName, nullptr, nullptr, nullptr, nullptr))
            break;
        out += L"[" + std::wstring(name) + L"]\n" + Dump(path + L"\\" + name);
    }
    RegCloseKey(hKey);
    return out;
}

} // namespace

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
    const std::wstring full = std::wstring(kRootKey) + L"\\" + key;
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (full + L"\\Column 1").c_str(), L"Edit");
    list.m_nSortedColumn = -1; // no longer stored
    list.SetColumnWidth(0, 140);
    ASSERT_TRUE(list.WriteControlSettings());
    const std::wstring rewritten = Dump(key);

    RegDeleteTreeW(HKEY_CURRENT_USER, full.c_str());
    ASSERT_TRUE(list.WriteControlSettings());
    EXPECT_EQ(rewritten, Dump(key));
    EXPECT_EQ(ReadDword(key + L"\\Column 0", L"Width"), 140u);
    EXPECT_FALSE(ReadDword(key, L"SortedColumn"));
}
