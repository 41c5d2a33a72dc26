// Choosing the number to dial from an entry's phone-number columns.
#include "ListTestSupport.h"
#include "PhoneNumberChooser.h"

#include "UiKit.h"

using namespace lctest;

namespace {

class PhoneNumberTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        AddColumn(L"cn", L"Name", FALSE);
        AddColumn(L"telephonenumber", L"Phone", TRUE);
        AddColumn(L"mobile", L"Mobile", TRUE);
        AddColumn(L"mail", L"E-mail", FALSE);
        m_dlg.m_list.DeleteColumn(m_dlg.m_list.GetColumnPosition(L"mobile")); // hidden still counts
    }
    void AddColumn(const wchar_t* name, const wchar_t* title, BOOL phone) {
        m_dlg.m_list.AddColumn(name, title, 80, 2, phone, TRUE, TRUE, TRUE, -1, 15, 0);
    }
    CString Choose(const CMapStringToString& entry) {
        RECT row{100, 100, 300, 120};
        return ChoosePhoneNumber(m_dlg.m_list, entry, row, m_dlg.m_hWnd);
    }
};

} // namespace

TEST_F(PhoneNumberTest, OneNumberIsTakenNoneGivesNothingAndSeveralAreOfferedInCatalogueOrder) {
    CMapStringToString entry;
    entry[L"cn"] = L"Smith & Sons, Anna";
    entry[L"telephonenumber"] = L""; // an empty value is no number
    entry[L"mobile"] = L"+1 503 555 0190";
    {
        kit::PopupMenuCatcher menu;
        EXPECT_EQ(Choose(entry), L"+1 503 555 0190");
        entry.RemoveKey(L"mobile");
        EXPECT_EQ(Choose(entry), L"");
        EXPECT_FALSE(menu.Shown());
    }
    entry[L"mobile"] = L"+1 503 555 0190";
    entry[L"telephonenumber"] = L"+1 503 555 0142";
    {
        kit::PopupMenuCatcher menu(2);
        EXPECT_EQ(Choose(entry), L"+1 503 555 0190");
        // "&&" in the menu text shows as one "&".
        EXPECT_EQ(kit::MenuText(menu.Items()),
                  L"Smith && Sons, Anna (Phone)=1 | Smith && Sons, Anna (Mobile)=2");
    }
    kit::PopupMenuCatcher dismissed;
    EXPECT_EQ(Choose(entry), L"");
    EXPECT_TRUE(dismissed.Shown());
}
