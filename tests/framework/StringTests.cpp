// CString and the containers: the behaviours the module's parsing and storage rely on.
#include "Framework.h"

#include <gtest/gtest.h>

TEST(CStringTest, FormatFollowsPlatformWideConventions) {
    CString s;
    s.Format(L"%s-%d-%u,%x", L"abc", -5, 7u, 0x486);
    EXPECT_EQ(s, L"abc--5-7,486");
    s.AppendFormat(L" %s", L"Zo\u00eb");
    EXPECT_EQ(s, L"abc--5-7,486 Zo\u00eb");
    // Longer than any fixed buffer guess.
    s.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(s.GetLength(), 5000);
}

TEST(CStringTest, FindAndSlicesStayInsideTheText) {
    CString s(L"van Dam, Anna");
    EXPECT_EQ(s.Find(L','), 7);
    EXPECT_EQ(s.Find(L' '), 3);
    EXPECT_EQ(s.Find(L' ', 4), 8);
    EXPECT_EQ(s.Find(L"Anna"), 9);
    EXPECT_EQ(s.Find(L'x'), -1);
    EXPECT_EQ(s.Find(L'a', 99), -1);
    EXPECT_EQ(s.ReverseFind(L'a'), 12);
    EXPECT_EQ(s.Left(7), L"van Dam");
    EXPECT_EQ(s.Mid(9), L"Anna");
    EXPECT_EQ(s.Mid(4, 3), L"Dam");
    EXPECT_EQ(s.Right(4), L"Anna");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Mid(100), L"");
    EXPECT_EQ(s.Right(100), s);
}

TEST(CStringTest, TrimmingRemovesEveryKindOfWhiteSpace) {
    CString s(L" \t\r\n\v\fJohn Smith \t\r\n\v\f");
    CString left = s, right = s;
    left.TrimLeft();
    right.TrimRight();
    EXPECT_EQ(left, L"John Smith \t\r\n\v\f");
    EXPECT_EQ(right, L" \t\r\n\v\fJohn Smith");
    EXPECT_EQ(s.Trim(), L"John Smith");
    CString blank(L"   ");
    EXPECT_TRUE(blank.Trim().IsEmpty());
}

TEST(CStringTest, EditingOperations) {
    CString s(L"R&D Office & Lab");
    EXPECT_EQ(s.Remove(L'&'), 2);
    EXPECT_EQ(s, L"RD Office  Lab");
    EXPECT_EQ(s.Replace(L"  ", L" "), 1);
    EXPECT_EQ(s, L"RD Office Lab");
    EXPECT_EQ(s.Replace(L"Lab", L"Lab Lab"), 1); // replacement text is not searched again
    EXPECT_EQ(s, L"RD Office Lab Lab");
    EXPECT_EQ(s.Replace(L'b', L'p'), 2);
    CString mixed(L"TelephoneNumber \u00c4");
    EXPECT_EQ(mixed.MakeLower(), L"telephonenumber \u00e4");
    EXPECT_EQ(mixed.MakeUpper(), L"TELEPHONENUMBER \u00c4");
}

TEST(CStringTest, ComparisonsExactAndCaseInsensitive) {
    CString a(L"Current"), b(L"current");
    EXPECT_NE(a, b);
    EXPECT_NE(a.Compare(b), 0);
    EXPECT_EQ(a.CompareNoCase(b), 0);
    EXPECT_EQ(a, L"Current");
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
}

TEST(CStringTest, Utf8RoundTrip) {
    CString s(u8"\u0141ukasz \u017b\u00f3\u0142w");
    EXPECT_EQ(s, L"\u0141ukasz \u017b\u00f3\u0142w");
    EXPECT_EQ(CString(s.ToUtf8().c_str()), s);
}

TEST(CStringListTest, PositionsSurviveInsertAndRemove) {
    CStringList list(10);
    list.AddTail(L"b");
    list.AddHead(L"a");
    POSITION c = list.AddTail(L"c");
    list.InsertBefore(c, L"b2");
    EXPECT_EQ(list.GetCount(), 4);
    POSITION b = list.Find(L"b");
    ASSERT_NE(b, nullptr);
    list.RemoveAt(b);
    std::wstring joined;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        joined += list.GetNext(pos).str() + L"|";
    EXPECT_EQ(joined, L"a|b2|c|");
    EXPECT_EQ(list.GetAt(c), L"c");
    EXPECT_EQ(list.RemoveTail(), L"c");
    EXPECT_EQ(list.RemoveHead(), L"a");
    EXPECT_EQ(list.GetHead(), L"b2");
    CStringList copy = list;
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(list.Find(L"b2"), nullptr);
}

TEST(CMapStringToStringTest, IteratesInInsertionOrderAndKeepsPlaceOnUpdate) {
    CMapStringToString map;
    map[L"dn"] = L"uid=john.smith,ou=People";
    map.SetAt(L"cn", L"John Smith");
    map.SetAt(L"telephonenumber", L"+1 503 555 0142");
    map.SetAt(L"cn", L"J. Smith");  // updated in place
    map.SetAt(L"CN", L"other key"); // keys are exact
    EXPECT_EQ(map.GetCount(), 4);
    std::vector<std::wstring> keys;
    CString key, value;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key.str());
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"dn", L"cn", L"telephonenumber", L"CN"}));
    ASSERT_TRUE(map.Lookup(L"cn", value));
    EXPECT_EQ(value, L"J. Smith");
    EXPECT_TRUE(map.RemoveKey(L"cn"));
    EXPECT_FALSE(map.Lookup(L"cn", value));
    EXPECT_FALSE(map.RemoveKey(L"cn"));
    map.SetAt(L"cn", L"again"); // a removed key comes back at the end
    POSITION pos = map.GetStartPosition();
    while (pos)
        map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key, L"cn");
}

TEST(CArrayTest, IndexOperations) {
    CStringArray a;
    a.Add(L"x");
    a.Add(L"z");
    a.InsertAt(1, L"y");
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[1], L"y");
    a.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0), L"y");
    a.SetSize(5);
    EXPECT_EQ(a.GetUpperBound(), 4);
    EXPECT_TRUE(a[4].IsEmpty());
}
