// The tour's steps in the Customize Search & Display window: the e-mail address moved
// to the front and saved, and an advanced search typed into the grid and run.
#include "DemoTour.h"

#include "DemoTourSupport.h"
#include "MessagePump.h"

#include <cwchar>

using namespace tour;

namespace {

// Controls of the Customize Search & Display window.
constexpr int kGrid = 1086, kSearch = 1088, kShown = 2023, kUp = 2027, kCellEditor = 112;
// Its place in the directory's menu bar: Edit, the fifth item.
constexpr int kEditMenu = 1, kAdvanceSearchItem = 4;
// The columns of the grid once the e-mail address comes first.
constexpr int kEmailColumn = 0, kCityColumn = 4;

bool StartsWith(const CString& text, const wchar_t* pszStart) {
    return std::wcsncmp(text, pszStart, std::wcslen(pszStart)) == 0;
}

} // namespace

HWND CDemoTour::CustomizeWindow(bool bOpen) {
    const auto find = [] { return ::FindWindowW(nullptr, L"Customize Search and Display"); };
    if (bOpen && !find() && ChooseMenuItem(m_host.DirectoryWindow(), kEditMenu, kAdvanceSearchItem))
        PumpUntil([&] { return find() != nullptr; }, kStepTimeoutMs);
    return find();
}

void CDemoTour::ClickAt(HWND hWnd, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, at);
    Settle();
}

bool CDemoTour::ClickButton(HWND hDialog, int nID) {
    HWND hButton = ::GetDlgItem(hDialog, nID);
    if (!Check(hButton && ::IsWindowEnabled(hButton), L"button %d can be clicked", nID))
        return false;
    ::PostMessageW(hButton, BM_CLICK, 0, 0);
    Settle();
    return true;
}

bool CDemoTour::TypeIntoCell(HWND hGrid, int nRow, int nColumn, const wchar_t* pszText) {
    // The first click chooses the row, the second opens the cell's editor.
    RECT rc;
    ListView_GetSubItemRect(hGrid, nRow, nColumn, nColumn ? LVIR_BOUNDS : LVIR_LABEL, &rc);
    const POINT middle{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    for (int i = 0; i < 2 && !::GetDlgItem(hGrid, kCellEditor); ++i)
        ClickAt(hGrid, middle);
    HWND hEditor = ::GetDlgItem(hGrid, kCellEditor);
    if (!Check(hEditor != nullptr, L"cell %d,%d opens for typing", nRow, nColumn))
        return false;
    for (const wchar_t* p = pszText; *p; ++p)
        ::PostMessageW(hEditor, WM_CHAR, *p, 1);
    ::PostMessageW(hEditor, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(hEditor, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpUntil([&] { return !::IsWindow(hEditor); }, kStepTimeoutMs);
    return Check(ItemText(hGrid, nRow, nColumn) == pszText, L"the cell holds \"%s\"", pszText);
}

bool CDemoTour::MoveEmailFirst() {
    HWND hDialog = CustomizeWindow(true);
    if (!Check(hDialog != nullptr, L"the Customize Search & Display window is open"))
        return false;
    RECT directory;
    ::GetWindowRect(m_host.DirectoryWindow(), &directory);
    ::SetWindowPos(hDialog, HWND_TOP, directory.left + 40, directory.top + 60, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
    HWND hShown = ::GetDlgItem(hDialog, kShown);
    int nRow = 0;
    while (nRow < ListView_GetItemCount(hShown) &&
           !StartsWith(ItemText(hShown, nRow, 0), L"E-mail"))
        ++nRow;
    if (!Check(nRow < ListView_GetItemCount(hShown), L"the e-mail address is shown"))
        return false;
    RECT rc;
    ListView_GetItemRect(hShown, nRow, &rc, LVIR_LABEL);
    ClickAt(hShown, {rc.left + 5, (rc.top + rc.bottom) / 2});
    for (int i = 0; i < nRow; ++i) {
        if (!ClickButton(hDialog, kUp))
            return false;
    }
    return Check(StartsWith(ItemText(hShown, 0, 0), L"E-mail"), L"the e-mail address is first");
}

bool CDemoTour::SaveFieldOrder() {
    if (!ClickButton(CustomizeWindow(false), IDOK))
        return false;
    PumpUntil([&] { return !CustomizeWindow(false); }, kStepTimeoutMs);
    return Check(!CustomizeWindow(false), L"the window closed") &&
           Check(FindColumn(L"mail") == 0, L"the list's first column is the e-mail address");
}

bool CDemoTour::TypeAdvancedSearch() {
    HWND hDialog = CustomizeWindow(true);
    if (!Check(hDialog != nullptr, L"the Customize Search & Display window is open again"))
        return false;
    // People in Portland whose address starts with "a", and people in Paris with "b".
    HWND hGrid = ::GetDlgItem(hDialog, kGrid);
    return TypeIntoCell(hGrid, 0, kEmailColumn, L"a*") &&
           TypeIntoCell(hGrid, 0, kCityColumn, L"Portland") &&
           TypeIntoCell(hGrid, 1, kEmailColumn, L"b*") &&
           TypeIntoCell(hGrid, 1, kCityColumn, L"Paris");
}

bool CDemoTour::RunAdvancedSearch() {
    HWND hDialog = CustomizeWindow(false);
    HWND hWnd = m_host.DirectoryWindow();
    if (!ClickButton(hDialog, kSearch))
        return false;
    // While it runs, the caption says what is searched for; then it names the filter.
    const bool bDone = PumpUntil(
        [&] { return WindowText(hWnd).Find(L"Searching") < 0 && WindowText(hWnd).Right(2) == L"))"; },
        kStepTimeoutMs);
    if (!Check(bDone, L"the search finished (caption \"%s\")", WindowText(hWnd).GetString()))
        return false;
    const int nRows = ListView_GetItemCount(ResultList());
    const int nCity = FindColumn(L"city");
    int nMatching = 0;
    for (int i = 0; i < nRows; ++i) {
        const CString mail = Cell(i, 0), city = Cell(i, nCity);
        nMatching += (city == L"Portland" && StartsWith(mail, L"a")) ||
                     (city == L"Paris" && StartsWith(mail, L"b"));
    }
    ClickButton(hDialog, IDCANCEL);
    return Check(nRows > 0 && nMatching == nRows,
                 L"%d people found, each from Portland with \"a\" or Paris with \"b\"", nRows);
}
