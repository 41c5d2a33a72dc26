// CString and the containers: the edges the module's parsing and storage rely on and
// that the tests of those users do not reach.
#include "Framework.h"

#include <gtest/gtest.h>

TEST(CStringTest, FormatGrowsSlicesStayInsideTrimmingTakesAllWhiteSpaceReplacingNoRescan) {
    CString s;
    s.Format(L"%s-%d-%u,%x", L"abc", -5, 7u, 0x486);
    EXPECT_EQ(s, L"abc--5-7,486");
    s.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(s.GetLength(), 5000);

    CString name(L"van Dam, Anna");
    EXPECT_EQ(name.Find(L' ', 4), 8);
    EXPECT_EQ(name.Find(L'a', 99), -1);
    EXPECT_EQ(name.ReverseFind(L'a'), 12);
    EXPECT_EQ(name.Mid(4, 3), L"Dam");
    EXPECT_EQ(name.Left(-1), L"");
    EXPECT_EQ(name.Left(100), name);
    EXPECT_EQ(name.Mid(100), L"");
    EXPECT_EQ(name.Right(100), name);

    // Trimming removes every kind of white space; replacing does not rescan.
    CString padded(L" \t\r\n\v\fJohn Smith \t\r\n\v\f");
    EXPECT_EQ(padded.Trim(), L"John Smith");
    CString blank(L"   ");
    EXPECT_TRUE(blank.Trim().IsEmpty());
    CString lab(L"Office Lab");
    EXPECT_EQ(lab.Replace(L"Lab", L"Lab Lab"), 1);
    EXPECT_EQ(lab, L"Office Lab Lab");
    CString mixed(L"TelephoneNumber \u00c4");
    EXPECT_EQ(mixed.MakeLower(), L"telephonenumber \u00e4");
}

TEST(ContainerTest, ListPositionsSurviveInsertAndRemoveMapsKeepInsertionOrder) {
    CStringList list(10);
    list.AddTail(L"b");
    list.AddHead(L"a");
    POSITION c = list.AddTail(L"c");
    list.InsertBefore(c, L"b2");
    list.RemoveAt(list.Find(L"b"));
    std::wstring joined;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        joined += list.GetNext(pos).str() + L"|";
    EXPECT_EQ(joined, L"a|b2|c|");
    EXPECT_EQ(list.GetAt(c), L"c");
    CStringList copy = list;
    list.RemoveAll();
    EXPECT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(list.Find(L"b2"), nullptr);
    CMapStringToString map;
    map[L"dn"] = L"uid=john.smith,ou=People";
    map.SetAt(L"cn", L"John Smith");
    map.SetAt(L"mail", L"john.smith@quillet.test");
    map.SetAt(L"cn", L"J. Smith"); // updated in place
    map.RemoveKey(L"dn");
    map.SetAt(L"dn", L"again"); // a removed key comes back at the end
    std::vector<std::wstring> keys;
    CString key, value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key.str() + L"=" + value.str());
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"cn=J. Smith", L"mail=john.smith@quillet.test",
                                               L"dn=again"}));
}

