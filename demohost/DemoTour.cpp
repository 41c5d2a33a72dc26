#include "DemoTour.h"

#include "DemoTourSupport.h"
#include "MessagePump.h"
#include "Options.h"
#include "ScreenImage.h"

#include <cstdarg>
#include <cwchar>
#include <string>

using namespace tour;

namespace {

// The sample server reached over SSL/TLS (CSampleAccounts).
constexpr wchar_t kEncryptedSampleServer[] = L"Quillet Directory (encrypted)";

// Ids the module's menus, toolbar and dialogs carry, as a tool that inspects its
// windows shows them: commands, and controls of Entry Properties and the General
// page of a server's properties.
constexpr UINT kDialCommand = 32858;
constexpr UINT kPropertiesCommand = 32777;
constexpr UINT kAddToDirectoryCommand = 32785;
constexpr UINT kSearchInCommand = 35002;
constexpr UINT kCopyCommand = 255; // Ctrl+C in Entry Properties
constexpr int kPropertiesList = 1060;
constexpr int kTestButton = 1152;
constexpr int kTestResult = 1153;
constexpr wchar_t kUnknownGlyph = 0xE000; // private use: no font draws it

// The first descendant of hParent of the class, depth first.
HWND FindDescendant(HWND hParent, const wchar_t* pszClass) {
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        wchar_t szClass[64] = {};
        ::GetClassNameW(hChild, szClass, 64);
        if (::_wcsicmp(szClass, pszClass) == 0)
            return hChild;
        if (HWND hFound = FindDescendant(hChild, pszClass))
            return hFound;
    }
    return nullptr;
}

bool EndsWith(const CString& text, const CString& end) {
    return text.GetLength() >= end.GetLength() && text.Right(end.GetLength()) == end;
}

// The popup menu or dialog that a modal loop of the directory window shows.
HWND FindModalWindow(HWND hDirectory) {
    HWND hMenu = ::FindWindowW(L"#32768", nullptr);
    if (hMenu && ::IsWindowVisible(hMenu) &&
        ::GetWindowThreadProcessId(hMenu, nullptr) == ::GetCurrentThreadId())
        return hMenu;
    HWND hActive = ::GetActiveWindow();
    return hActive && ::GetWindow(hActive, GW_OWNER) == hDirectory ? hActive : nullptr;
}

// The acts of CDemoTour::RunModal, run by a timer from inside the modal loops.
struct ModalActs {
    HWND hDirectory = nullptr;
    std::vector<std::function<void(HWND)>> acts;
    size_t nNext = 0;
    HWND hLast = nullptr;
    bool bActing = false;
};
ModalActs* s_pModalActs = nullptr;

void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalActs* pActs = s_pModalActs;
    if (!pActs || pActs->bActing || pActs->nNext >= pActs->acts.size())
        return;
    HWND hWnd = FindModalWindow(pActs->hDirectory);
    if (!hWnd || hWnd == pActs->hLast)
        return;
    pActs->bActing = true;
    pActs->hLast = hWnd;
    pActs->acts[pActs->nNext++](hWnd);
    pActs->bActing = false;
}

bool HasCjk(const CString& text) {
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] >= 0x4E00 && text[i] <= 0x9FFF)
            return true;
    }
    return false;
}

// The text with each character outside the basic plane shown as nBoxes unknown glyphs:
// two are how a plain text output that splits surrogate pairs shows it, one how a font
// without its glyph does.
CString WithPairsAsBoxes(const CString& text, int nBoxes) {
    CString boxes;
    for (int i = 0; i < text.GetLength(); ++i) {
        const bool bPair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.GetLength();
        boxes += bPair ? CString(kUnknownGlyph, nBoxes) : CString(text[i]);
        i += bPair;
    }
    return boxes;
}

} // namespace

// In order; a step may rely on the ones before it. The host's side of later features
// is ready to be checked: CHostWindow::Activity() counts calls (11, 36) and the
// records it freed, and PhoneDirectory() lists what message 12 added.
const CDemoTour::Step CDemoTour::kSteps[] = {
    {L"Open the directory from the telephone", &CDemoTour::OpenDirectory, Shot::None, nullptr},
    {L"Search for \"Le\": people from every site", &CDemoTour::SearchMixedNames, Shot::Directory,
     L"search-results"},
    {L"Sort by e-mail address", &CDemoTour::SortByEmail, Shot::Directory, L"sorted-by-email"},
    {L"Search for \"Wang\": names in Chinese characters", &CDemoTour::SearchCjkNames,
     Shot::Directory, L"cjk-names"},
    {L"Search for \"Yoshi\": names written with a character outside the basic plane",
     &CDemoTour::SearchSupplementaryNames, Shot::Directory, L"supplementary-names"},
    {L"Customize the fields: the e-mail address first", &CDemoTour::MoveEmailFirst, Shot::None,
     nullptr},
    {L"Save: the list shows the new order", &CDemoTour::SaveFieldOrder, Shot::None, nullptr},
    {L"Type an advanced search into the grid", &CDemoTour::TypeAdvancedSearch, Shot::Customize,
     L"customize"},
    {L"Run the advanced search", &CDemoTour::RunAdvancedSearch, Shot::None, nullptr},
    {L"Search for \"Ma\": the list stops at its limit and says so", &CDemoTour::SearchTruncated,
     Shot::Directory, L"truncated-search"},
    {L"Lena von Berg has two office numbers: dialling offers both",
     &CDemoTour::DialOneOfSeveralNumbers, Shot::None, nullptr},
    {L"Entry Properties lists both; Ctrl+C adds a contact card", &CDemoTour::CopyAContact,
     Shot::None, nullptr},
    {L"Add her to the telephone's own directory", &CDemoTour::AddToPhoneDirectory, Shot::None,
     nullptr},
    {L"Search the sample server over SSL/TLS", &CDemoTour::SearchEncryptedServer, Shot::Directory,
     L"encrypted-server"},
    {L"Test the connection from the server's properties", &CDemoTour::TestTheConnection, Shot::None,
     nullptr},
    {L"Ask for help", &CDemoTour::AskForHelp, Shot::None, nullptr},
    {L"Close the directory", &CDemoTour::CloseDirectory, Shot::None, nullptr},
    {L"Without access to the public search: no Edit menu", &CDemoTour::OpenWithoutPublicSearch,
     Shot::None, nullptr},
    {L"In German", &CDemoTour::OpenInGerman, Shot::Host, L"host-messages"},
};

CDemoTour::CDemoTour(CHostWindow& host, const CString& outputFolder)
    : m_host(host), m_strOutputFolder(outputFolder) {}

int CDemoTour::Run() {
    ::CreateDirectoryW(m_strOutputFolder, nullptr);
    int nStep = 0;
    for (const Step& step : kSteps) {
        Report(L"Step %d: %s", ++nStep, step.pszTitle);
        const int nFailuresBefore = m_nFailures;
        if (!(this->*step.pfnRun)() || m_nFailures > nFailuresBefore) {
            m_nFailures += m_nFailures == nFailuresBefore;
            Report(L"The tour stops: step %d failed.", nStep);
            break;
        }
        if (step.shot != Shot::None)
            SaveScreenshot(step.shot, step.pszScreenshot);
    }
    Report(m_nFailures ? L"Tour failed (%d)." : L"Tour passed.", m_nFailures);
    return m_nFailures;
}

// ---------------------------------------------------------------- steps

bool CDemoTour::OpenDirectory() {
    const int nClosedBefore = m_host.Activity().nWindowsClosed;
    ::SendMessageW(m_host.SearchButton(), BM_CLICK, 0, 0);
    HWND hWnd = m_host.DirectoryWindow();
    if (!Check(hWnd && ::IsWindowVisible(hWnd), L"the Directory Search window is open"))
        return false;
    // Side by side with the telephone, as a person would arrange them.
    RECT host;
    ::GetWindowRect(m_host.m_hWnd, &host);
    ::SetWindowPos(hWnd, HWND_TOP, host.left, 10, 760, host.top - 20, SWP_SHOWWINDOW);
    ::SetForegroundWindow(hWnd);
    return Check(m_host.Activity().nWindowsClosed == nClosedBefore, L"no window closed");
}

bool CDemoTour::SearchMixedNames() {
    if (!Search(L"Le"))
        return false;
    const int nRows = ListView_GetItemCount(ResultList());
    return Check(nRows > 50 || nRows == SearchLimit(), L"the search found %d people", nRows);
}

bool CDemoTour::SortByEmail() {
    const int nColumn = FindColumn(L"mail");
    if (!Check(nColumn >= 0, L"the list has an e-mail column") || !ClickHeader(nColumn))
        return false;
    const int nRows = ListView_GetItemCount(ResultList());
    int nAscending = 0, nDescending = 0;
    for (int i = 1; i < nRows; ++i) {
        const int nOrder = ::_wcsicmp(Cell(i - 1, nColumn), Cell(i, nColumn));
        nAscending += nOrder <= 0;
        nDescending += nOrder >= 0;
    }
    return Check(nRows > 1 && (nAscending == nRows - 1 || nDescending == nRows - 1),
                 L"the %d rows are in e-mail order", nRows);
}

bool CDemoTour::SearchCjkNames() {
    if (!Search(L"Wang"))
        return false;
    const int nRows = ListView_GetItemCount(ResultList());
    int nRow = 0;
    while (nRow < nRows && !HasCjk(Cell(nRow, 0)))
        ++nRow;
    if (!Check(nRow < nRows, L"a name in Chinese characters is listed"))
        return false;
    const CString name = Cell(nRow, 0);
    return Check(DrawnWithGlyphs(nRow, 0, {CString(kUnknownGlyph, name.GetLength())}),
                 L"\"%s\" is drawn with glyphs, not boxes", name.GetString());
}

bool CDemoTour::SearchSupplementaryNames() {
    if (!Search(L"Yoshi"))
        return false;
    const int nRows = ListView_GetItemCount(ResultList());
    int nRow = 0;
    while (nRow < nRows && WithPairsAsBoxes(Cell(nRow, 0), 1) == Cell(nRow, 0)) // none in it
        ++nRow;
    if (!Check(nRow < nRows, L"a name with a character outside the basic plane is listed"))
        return false;
    const CString name = Cell(nRow, 0);
    return Check(DrawnWithGlyphs(nRow, 0, {WithPairsAsBoxes(name, 2), WithPairsAsBoxes(name, 1)}),
                 L"\"%s\" is drawn with glyphs, not boxes", name.GetString());
}

bool CDemoTour::SearchTruncated() {
    if (!Search(L"Ma"))
        return false;
    const CString status = SearchStatus();
    CString first;
    first.Format(L"First %d shown", SearchLimit());
    return Check(ListView_GetItemCount(ResultList()) == SearchLimit() && status.Find(first) == 0,
                 L"%d rows, and the status bar says \"%s\"", SearchLimit(), status.GetString());
}

bool CDemoTour::DialOneOfSeveralNumbers() {
    if (!Search(L"Lena von Berg") ||
        !Check(ListView_GetItemCount(ResultList()) == 1, L"one person found"))
        return false;
    const CString first = Cell(0, FindColumn(L"telephone"));
    int nItems = 0;
    const ModalAct chooseTheSecond = [&](HWND hMenuWindow) {
        nItems = ::GetMenuItemCount(
            reinterpret_cast<HMENU>(::SendMessageW(hMenuWindow, MN_GETHMENU, 0, 0)));
        SaveWindowShot(m_host.DirectoryWindow(), L"several-numbers");
        ClickMenuItem(hMenuWindow, L" 2)");
    };
    const int nFreedBefore = m_host.Activity().nRecordsFreed;
    const bool bDone = RunModal(kDialCommand, {chooseTheSecond});
    const CHostActivity& activity = m_host.Activity();
    return Check(bDone && nItems == 2, L"the number menu offered %d numbers", nItems) &&
           Check(!activity.strLastNumber.IsEmpty() && activity.strLastNumber != first,
                 L"the telephone called the second one, %s (the first is %s)",
                 activity.strLastNumber.GetString(), first.GetString()) &&
           Check(activity.strLastName.Find(L"Lena") >= 0 &&
                     activity.nRecordsFreed == nFreedBefore + 1,
                 L"the call came as a record with her name, %s (36), which the telephone freed",
                 activity.strLastName.GetString());
}

bool CDemoTour::AddToPhoneDirectory() {
    const CListCtrl& phoneDirectory = m_host.PhoneDirectory();
    const int nBefore = phoneDirectory.GetItemCount();
    ::SendMessageW(m_host.DirectoryWindow(), WM_COMMAND, kAddToDirectoryCommand, 0);
    const int nRow = phoneDirectory.GetItemCount() - 1;
    return Check(nRow == nBefore && phoneDirectory.GetItemText(nRow, 0).Find(L"Lena") >= 0,
                 L"the telephone's directory has a new row: %s",
                 nRow >= 0 ? phoneDirectory.GetItemText(nRow, 0).GetString() : L"(none)");
}

bool CDemoTour::CopyAContact() {
    int nNumbers = 0;
    std::string card;
    const ModalAct countAndCopy = [&](HWND hDialog) {
        HWND hList = ::GetDlgItem(hDialog, kPropertiesList);
        for (int i = 0; i < ListView_GetItemCount(hList); ++i) {
            wchar_t szField[64] = {};
            ListView_GetItemText(hList, i, 0, szField, 64);
            nNumbers += ::wcscmp(szField, L"telephonenumber") == 0;
        }
        SaveWindowShot(hDialog, L"entry-properties");
        ::SendMessageW(hDialog, WM_COMMAND, kCopyCommand, 0); // what Ctrl+C does
        HANDLE hData = ::OpenClipboard(hDialog)
                           ? ::GetClipboardData(::RegisterClipboardFormatW(L"text/vcard"))
                           : nullptr;
        if (const char* psz = hData ? static_cast<const char*>(::GlobalLock(hData)) : nullptr) {
            card = psz;
            ::GlobalUnlock(hData);
        }
        ::CloseClipboard();
        ::PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
    };
    const bool bDone = RunModal(kPropertiesCommand, {countAndCopy});
    size_t nTel = 0;
    for (size_t at = card.find("\r\nTEL"); at != std::string::npos;
         at = card.find("\r\nTEL", at + 1))
        ++nTel;
    return Check(bDone && nNumbers == 2, L"Entry Properties lists %d telephone numbers",
                 nNumbers) &&
           Check(card.rfind("BEGIN:VCARD\r\nVERSION:4.0\r\n", 0) == 0 && nTel >= 2,
                 L"the clipboard holds a vCard with %d numbers", static_cast<int>(nTel));
}

bool CDemoTour::SearchEncryptedServer() {
    if (!ChooseServer(kEncryptedSampleServer) || !Search(L"Wang"))
        return false;
    const CString status = SearchStatus();
    return Check(ListView_GetItemCount(ResultList()) > 0 && status.Find(L" found (") > 0,
                 L"the encrypted server answered: \"%s\"", status.GetString());
}

bool CDemoTour::TestTheConnection() {
    CString result;
    const bool bDone = RunModal(
        kSearchInCommand,
        {[&](HWND hMenuWindow) { ClickMenuItem(hMenuWindow, L"Properties"); },
         [&](HWND hSheet) {
             HWND hPage =
                 reinterpret_cast<HWND>(::SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
             HWND hButton = ::GetDlgItem(hPage, kTestButton);
             ::SendMessageW(hButton, BM_CLICK, 0, 0);
             PumpUntil([&] { return ::IsWindowEnabled(hButton) != FALSE; }, kStepTimeoutMs);
             result = WindowText(::GetDlgItem(hPage, kTestResult));
             SaveWindowShot(hSheet, L"test-connection");
             ::PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
         }});
    return Check(bDone && result.Find(L"Connected") == 0, L"the test says \"%s\"",
                 result.GetString()) &&
           ChooseServer(L"Quillet Directory");
}

bool CDemoTour::AskForHelp() {
    const int nBefore = m_host.Activity().nHelpRequests;
    // Help is the first item of the last menu.
    HWND hWnd = m_host.DirectoryWindow();
    if (!ChooseMenuItem(hWnd, ::GetMenuItemCount(::GetMenu(hWnd)) - 1, 0))
        return false;
    PumpUntil([&] { return m_host.Activity().nHelpRequests > nBefore; }, kStepTimeoutMs);
    return Check(m_host.Activity().nHelpRequests == nBefore + 1,
                 L"the telephone was asked for help (host message 19)");
}

bool CDemoTour::CloseDirectory() {
    const int nBefore = m_host.Activity().nWindowsClosed;
    ::PostMessageW(m_host.DirectoryWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpUntil([&] { return m_host.Activity().nWindowsClosed > nBefore; }, kStepTimeoutMs);
    return Check(m_host.Activity().nWindowsClosed == nBefore + 1 &&
                     m_host.Activity().nLastClosedKind == 7 && !m_host.DirectoryWindow(),
                 L"the telephone was told the window closed (host message 15, kind 7)");
}

bool CDemoTour::OpenWithoutPublicSearch() {
    int nMenus = 0;
    if (!WithDirectoryOpen(
            [&](HWND hWnd) { return (nMenus = ::GetMenuItemCount(::GetMenu(hWnd))) > 0; }))
        return false;
    const wchar_t kSetting[] = L"Access to the Public Search";
    if (!ChooseHostMenuItem(kSetting))
        return false;
    const bool bPassed = WithDirectoryOpen([&](HWND hWnd) {
        return Check(::GetMenuItemCount(::GetMenu(hWnd)) == nMenus - 1,
                     L"the window has %d menus instead of %d", ::GetMenuItemCount(::GetMenu(hWnd)),
                     nMenus);
    });
    return ChooseHostMenuItem(kSetting) && bPassed;
}

bool CDemoTour::OpenInGerman() {
    auto firstMenu = [](HWND hWnd) {
        wchar_t szText[64] = {};
        ::GetMenuStringW(::GetMenu(hWnd), 0, szText, 64, MF_BYPOSITION);
        return CString(szText);
    };
    CString english, german;
    if (!WithDirectoryOpen([&](HWND hWnd) { return !(english = firstMenu(hWnd)).IsEmpty(); }) ||
        !ChooseHostMenuItem(L"Deutsch"))
        return false;
    const bool bPassed = WithDirectoryOpen([&](HWND hWnd) {
        german = firstMenu(hWnd);
        return Check(!german.IsEmpty() && german != english,
                     L"the first menu is \"%s\", not \"%s\"", german.GetString(),
                     english.GetString());
    });
    return ChooseHostMenuItem(L"English") && bPassed;
}

// ---------------------------------------------------------------- acting

bool CDemoTour::WithDirectoryOpen(const std::function<bool(HWND)>& check) {
    const int nClosedBefore = m_host.Activity().nWindowsClosed;
    ::SendMessageW(m_host.SearchButton(), BM_CLICK, 0, 0);
    HWND hWnd = m_host.DirectoryWindow();
    if (!Check(hWnd != nullptr, L"the Directory Search window is open"))
        return false;
    Settle();
    const bool bPassed = check(hWnd);
    ::PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool bClosed =
        PumpUntil([&] { return m_host.Activity().nWindowsClosed > nClosedBefore; }, kStepTimeoutMs);
    return Check(bClosed, L"the window closed again") && bPassed;
}

bool CDemoTour::ChooseHostMenuItem(const wchar_t* pszLabel) {
    // Depth first through the menu bar and its popups.
    std::function<UINT(HMENU)> find = [&](HMENU hMenu) -> UINT {
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            if (HMENU hPopup = ::GetSubMenu(hMenu, i)) {
                if (UINT nID = find(hPopup))
                    return nID;
                continue;
            }
            wchar_t szText[128] = {};
            ::GetMenuStringW(hMenu, i, szText, 128, MF_BYPOSITION);
            CString label(szText);
            label.Remove(L'&');
            if (label == pszLabel)
                return ::GetMenuItemID(hMenu, i);
        }
        return 0;
    };
    const UINT nID = find(::GetMenu(m_host.m_hWnd));
    if (!Check(nID != 0, L"the telephone's menu has \"%s\"", pszLabel))
        return false;
    ::SendMessageW(m_host.m_hWnd, WM_INITMENUPOPUP, 0, 0);
    ::SendMessageW(m_host.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    return true;
}

bool CDemoTour::Search(const wchar_t* pszText) {
    HWND hWnd = m_host.DirectoryWindow();
    HWND hCombo = FindDescendant(hWnd, L"ComboBox");
    HWND hEdit = hCombo ? FindDescendant(hCombo, L"Edit") : nullptr;
    if (!Check(hEdit != nullptr, L"the search box is there"))
        return false;
    ::SetForegroundWindow(hWnd);
    ::SetFocus(hEdit);
    ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
    // Typed, then Enter: the keys reach the window through the telephone's loop.
    for (const wchar_t* p = pszText; *p; ++p)
        ::PostMessageW(hEdit, WM_CHAR, *p, 1);
    ::PostMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(hEdit, WM_KEYUP, VK_RETURN, 0xC0000001);
    const CString finished = CString(L" - ") + pszText;
    const bool bDone =
        PumpUntil([&] { return EndsWith(WindowText(hWnd), finished); }, kStepTimeoutMs);
    return Check(bDone, L"the search for \"%s\" finished (caption \"%s\")", pszText,
                 WindowText(hWnd).GetString());
}

bool CDemoTour::ClickHeader(int nColumn) {
    HWND hHeader = ListView_GetHeader(ResultList());
    RECT rc;
    if (!Check(hHeader && Header_GetItemRect(hHeader, nColumn, &rc), L"column %d has a header",
               nColumn))
        return false;
    // A click; the header reports it to the list, which sorts before this returns.
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(hHeader, WM_LBUTTONUP, 0, at);
    return true;
}

bool CDemoTour::ChooseMenuItem(HWND hWnd, int nTopLevel, int nItem) {
    const UINT nID = ::GetMenuItemID(::GetSubMenu(::GetMenu(hWnd), nTopLevel), nItem);
    if (!Check(nID != 0 && nID != static_cast<UINT>(-1), L"the menu has the item"))
        return false;
    ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    return true;
}

bool CDemoTour::RunModal(UINT nID, std::vector<ModalAct> acts) {
    ModalActs state;
    state.hDirectory = m_host.DirectoryWindow();
    state.acts = std::move(acts);
    s_pModalActs = &state;
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, ModalTick);
    ::PostMessageW(state.hDirectory, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    const bool bDone = PumpUntil(
        [&] {
            return state.nNext == state.acts.size() && !FindModalWindow(state.hDirectory) &&
                   ::IsWindowEnabled(state.hDirectory);
        },
        kStepTimeoutMs);
    ::KillTimer(nullptr, nTimer);
    s_pModalActs = nullptr;
    return Check(bDone, L"%d of %d windows were worked through", static_cast<int>(state.nNext),
                 static_cast<int>(state.acts.size()));
}

bool CDemoTour::ClickMenuItem(HWND hMenuWindow, const wchar_t* pszText) {
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageW(hMenuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        wchar_t szText[256] = {};
        ::GetMenuStringW(hMenu, i, szText, 256, MF_BYPOSITION);
        RECT rc;
        if (!::wcsstr(szText, pszText) || !::GetMenuItemRect(nullptr, hMenu, i, &rc))
            continue;
        // The menu loop reads a click's point in screen coordinates.
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::PostMessageW(hMenuWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hMenuWindow, WM_LBUTTONUP, 0, at);
        return true;
    }
    ::EndMenu();
    return Check(false, L"the menu has an item \"%s\"", pszText);
}

bool CDemoTour::ChooseServer(const wchar_t* pszServer) {
    return RunModal(kSearchInCommand,
                    {[&](HWND hMenuWindow) { ClickMenuItem(hMenuWindow, pszServer); }});
}

// ---------------------------------------------------------------- reading

CString CDemoTour::SearchStatus() const {
    HWND hStatus = FindDescendant(m_host.DirectoryWindow(), STATUSCLASSNAMEW);
    wchar_t szText[512] = {};
    if (hStatus)
        ::SendMessageW(hStatus, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(szText));
    return szText;
}

int CDemoTour::SearchLimit() const {
    COptions& options = *COptions::GetOptions();
    return options.GetRegistryValue(
        HKEY_CURRENT_USER, options.GetRootKey() + L"\\Config\\LDapServers\\Quillet Directory",
        L"maximumHits", 200);
}

HWND CDemoTour::ResultList() const {
    return FindDescendant(m_host.DirectoryWindow(), WC_LISTVIEWW);
}

int CDemoTour::FindColumn(const wchar_t* pszTitlePart) const {
    HWND hHeader = ListView_GetHeader(ResultList());
    for (int i = 0; i < Header_GetItemCount(hHeader); ++i) {
        wchar_t szTitle[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = szTitle;
        item.cchTextMax = 128;
        Header_GetItem(hHeader, i, &item);
        CString title(szTitle);
        title.MakeLower();
        if (title.Find(pszTitlePart) >= 0)
            return i;
    }
    return -1;
}

CString CDemoTour::Cell(int nRow, int nColumn) const {
    return ItemText(ResultList(), nRow, nColumn);
}

// Compares the cell as the screen shows it with the same text drawn in the list's
// font as it would look without glyphs (each of missingForms): if the list drew
// boxes, it is the same as one of them.
bool CDemoTour::DrawnWithGlyphs(int nRow, int nColumn,
                                std::initializer_list<CString> missingForms) {
    HWND hList = ResultList();
    ListView_EnsureVisible(hList, nRow, FALSE);
    ::SetForegroundWindow(m_host.DirectoryWindow());
    ::RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    RECT rc;
    ListView_GetSubItemRect(hList, nRow, nColumn, LVIR_LABEL, &rc);
    ::MapWindowPoints(hList, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    const CScreenImage drawn = CScreenImage::Capture(rc).Ink();
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hList, WM_GETFONT, 0, 0));
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    bool bGlyphs = drawn.InkPixels() > 0;
    for (const CString& missing : missingForms) {
        const CScreenImage boxes = CScreenImage::DrawText(missing, hFont, cx, cy).Ink();
        Report(L"  the cell has %d inked pixels; drawn without glyphs it has %d", drawn.InkPixels(),
               boxes.InkPixels());
        bGlyphs = bGlyphs && !(drawn == boxes);
    }
    return bGlyphs;
}

// ---------------------------------------------------------------- reporting

bool CDemoTour::Check(bool bPassed, const wchar_t* pszFormat, ...) {
    CString what;
    va_list args;
    va_start(args, pszFormat);
    what.FormatV(pszFormat, args);
    va_end(args);
    Report(L"  %s: %s", bPassed ? L"ok" : L"FAILED", what.GetString());
    m_nFailures += !bPassed;
    return bPassed;
}

void CDemoTour::Report(const wchar_t* pszFormat, ...) {
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    m_host.Log(L"Tour: %s", line.GetString());
    const std::string utf8 = line.ToUtf8() + "\n";
    DWORD nWritten = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
                &nWritten, nullptr);
}

void CDemoTour::SaveScreenshot(Shot shot, const wchar_t* pszName) {
    HWND hWnd = shot == Shot::Directory   ? m_host.DirectoryWindow()
                : shot == Shot::Customize ? CustomizeWindow(false)
                                          : m_host.m_hWnd;
    ::SetForegroundWindow(hWnd);
    SaveWindowShot(hWnd, pszName);
}

void CDemoTour::SaveWindowShot(HWND hWnd, const wchar_t* pszName) {
    ::RedrawWindow(hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const CString path = m_strOutputFolder + L"\\" + pszName + L".bmp";
    if (CScreenImage::Capture(rc).SaveBitmap(path))
        Report(L"  screenshot %s", path.GetString());
    else
        Check(false, L"the screenshot %s was written", path.GetString());
}
