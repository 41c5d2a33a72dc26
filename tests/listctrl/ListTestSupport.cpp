#include "ListTestSupport.h"

#include "ListTestDialog.h"
#include "UiKit.h"

#include "Options.h"
#include "Translation.h"

namespace lctest {

const wchar_t kRootKey[] = L"Software\\Tovana\\Tovana Quillet";

namespace {

// The module's application object as the tests make it: the same registry key and
// name, so its profile root is the options root.
struct TestApplication {
    TestApplication() : app(L"Tovana Quillet", &state) {
        app.SetRegistryKey(L"Tovana");
        state.hResources = GetModuleHandleW(nullptr);
    }
    CModuleState state;
    CWinApp app;
};

TestApplication& Application() {
    static TestApplication application;
    return application;
}

const wchar_t kLanguageKey[] = L"Config\\Options";
const wchar_t kLanguageValue[] = L"Option110";

} // namespace

std::wstring FullPath(const std::wstring& path) {
    return std::wstring(kRootKey) + L"\\" + path;
}

std::optional<DWORD> ReadDword(const std::wstring& path, const wchar_t* name) {
    int value = 0;
    return ReadRawNumber(FullPath(path), name, value) ? std::optional<DWORD>(value) : std::nullopt;
}

std::optional<std::wstring> ReadString(const std::wstring& path, const wchar_t* name) {
    RawValue value;
    if (!ReadRaw(FullPath(path), name, value) || value.nType != REG_SZ)
        return std::nullopt;
    return ReadRawText(FullPath(path), name);
}

CTranslation* Translation() {
    static CTranslation translation(COptions::GetOptions());
    return &translation;
}

ListTest::ListTest() : m_state(&Application().state) {}

void ListTest::SetUp() {
    ClearSettings();
    ASSERT_TRUE(m_dlg.Open(m_nListWidth));
}

void ListTest::TearDown() {
    kit::SetMessageFilter(nullptr);
    ClearSettings();
}

void ListTest::ClearSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, FullPath(L"ListControl").c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, FullPath(kLanguageKey).c_str(), kLanguageValue);
}

void ListTest::SetLanguage(int nLanguage) {
    WriteRawNumber(FullPath(kLanguageKey), kLanguageValue, static_cast<DWORD>(nLanguage));
}

DrawnPixels DrawItem(UINT type, HWND control, UINT state, int w, int h, COLORREF fill,
                     const std::function<void(DRAWITEMSTRUCT*)>& draw, HFONT font) {
    CClientDC screen(nullptr);
    CMemoryDC dc(screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, w, h);
    CSelectObject withBitmap(dc, bitmap);
    CSelectObject withFont(dc, font ? font : ::GetCurrentObject(dc, OBJ_FONT));
    DRAWITEMSTRUCT dis{type, 0, 0, ODA_DRAWENTIRE, state, control, dc, {0, 0, w, h}, 0};
    CBrush brush;
    brush.CreateSolidBrush(fill);
    ::FillRect(dc, &dis.rcItem, brush);
    draw(&dis);
    DrawnPixels pixels{w, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.p.push_back(::GetPixel(dc, x, y));
    return pixels;
}

BOOL PreTranslateThroughWindows(MSG* pMsg) {
    static CWinThread thread;
    return thread.PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------- ListHostDialog

ListHostDialog::ListHostDialog() : CDialog(IDD_LIST_HOST) {
    m_list.m_pNotifyWnd = this;
    m_list.m_pTranslation = Translation();
}

ListHostDialog::~ListHostDialog() {
    DestroyWindow();
}

bool ListHostDialog::Open(int width) {
    if (!Create(IDD_LIST_HOST) || !m_list.SubclassDlgItem(IDC_TEST_LIST, this))
        return false;
    RECT rcWindow, rcClient;
    m_list.GetWindowRect(&rcWindow);
    m_list.GetClientRect(&rcClient);
    ScreenToClient(&rcWindow);
    const int border = (rcWindow.right - rcWindow.left) - rcClient.right;
    ::MoveWindow(m_list, rcWindow.left, rcWindow.top, width + border,
                 rcWindow.bottom - rcWindow.top, TRUE);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return true;
}

void ListHostDialog::AddTextColumn(const wchar_t* name, int width, BOOL edit, BOOL remove) {
    m_list.AddColumn(name, name, width, ListSortType::Text, FALSE, remove, TRUE, edit, -1, 15, 0);
}

void ListHostDialog::AddRow(const std::vector<std::wstring>& cells, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = m_list.GetItemCount();
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    item.lParam = data;
    const int row = m_list.InsertItem(&item);
    for (size_t c = 1; c < cells.size(); ++c)
        m_list.SetItemText(row, static_cast<int>(c), cells[c].c_str());
}

std::vector<std::wstring> ListHostDialog::Column(int column) const {
    return kit::ListColumn(List(), column);
}

POINT ListHostDialog::CellPoint(int row, int column) const {
    RECT rc{};
    m_list.GetSubItemRect(row, column, LVIR_BOUNDS, &rc);
    // A row's first subitem reaches over the whole row; column 0 ends where 1 starts.
    if (column == 0)
        rc.right = rc.left + m_list.GetColumnWidth(0);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

LRESULT ListHostDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LIST_COLUMN_SHOWN) {
        m_shownColumns.emplace_back(reinterpret_cast<const wchar_t*>(wParam));
        return 0;
    }
    if (message == WM_LIST_FIELD_ORGANIZER) {
        ++m_organizerRequests;
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL ListHostDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->code == LVN_ITEMCHANGING || pHdr->code == LVN_ITEMCHANGED) {
        const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (pChange->uChanged & LVIF_PARAM) {
            if (m_pLog)
                m_pLog->Add({WM_NOTIFY, kOwnerHandler, kit::kParam, pHdr->code});
            *pResult = m_bRefuseDataChanges;
            return TRUE;
        }
    }
    if (pHdr->code == NM_CLICK && pHdr->hwndFrom == List())
        m_clickedRows.push_back(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
    if (pHdr->code == static_cast<UINT>(LVN_ENDLABELEDITW)) {
        if (m_pLog)
            m_pLog->Add({WM_NOTIFY, kOwnerHandler, kit::kParam, pHdr->code});
        const auto* pInfo = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        const LVITEMW& item = pInfo->item;
        const bool bFromEditor =
            pHdr->hwndFrom == List() && pHdr->idFrom == 112 && wParam == IDC_TEST_LIST;
        m_editEnds.push_back((bFromEditor ? L"" : L"?") + std::to_wstring(item.iItem) + L"," +
                             std::to_wstring(item.iSubItem) + L" " +
                             (item.pszText ? item.pszText : L"(none)") + L"/" +
                             std::to_wstring(item.cchTextMax));
    }
    return FALSE;
}

} // namespace lctest
