// Saving and restoring a list's catalogue, view style and sort state under its
// settings name.
#include "ListCtrlEx.h"

#include "ColumnTitles.h"
#include "ListProfile.h"
#include "Trace.h"

#include "Options.h"
#include "Translation.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr UINT kInsertMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
constexpr DWORD kViewTypeBits = 3; // LVS_ICON, LVS_REPORT, LVS_SMALLICON, LVS_LIST
const wchar_t kUnknownTitle[] = L"Unknown";
// The widest a stored column may be: wider than any screen's list, narrow enough
// that the columns after it stay within reach of the scroll bar.
constexpr int kWidestColumn = 3000;

int LanguageSetting() {
    return COptions::GetOptions()->GetNumber(HostOption::Language);
}

} // namespace

BOOL CListCtrlEx::IsLocalized() const {
    return m_strName.Find(L"Phone Directory") >= 0;
}

void CListCtrlEx::ReadColumns() {
    if (!m_bPersistColumns || m_strName.IsEmpty())
        return;
    TRACE(L"ReadColumns: %s\n", m_strName.GetString());
    const BOOL bLocalized = IsLocalized();
    const CListProfile profile = Profile();

    // Names looked up in a set: a stored layout may be long.
    std::unordered_set<std::wstring> known;
    for (const auto& p : m_columns)
        known.insert(p->m_szName.str());
    int i = 0;
    for (CString szName = profile.GetString(profile.ColumnKey(i), L"Name", L""); !szName.IsEmpty();
         szName = profile.GetString(profile.ColumnKey(++i), L"Name", L"")) {
        // A column the list already knows keeps its definition.
        if (known.insert(szName.str()).second)
            ReadStoredColumn(profile, i, szName, bLocalized);
    }
    // Stored positions may have gaps, repeats or values beyond the last column,
    // which would leave columns neither shown nor offered to be shown.
    CompactPositions();
    // A stray key without a name must not stay behind.
    const CString szChild = CListProfile::ColumnKeyName(i);
    CListProfile::DeleteKey(profile.ListKey(), szChild);
    if (bLocalized)
        TRACE(L"ReadColumns: deleting %s - %s\n", profile.ListKey().GetString(),
                  szChild.GetString());

    if (!m_bNoDisplayOnRead)
        DisplayColumns();
}

void CListCtrlEx::ReadStoredColumn(const CListProfile& profile, int nIndex, const CString& szName,
                                   BOOL bLocalized) {
    const CString szKey = profile.ColumnKey(nIndex);
    const CString szTitle = bLocalized ? ReadLocalizedTitle(profile, nIndex, szName)
                                       : profile.GetString(szKey, L"Title", L"");
    const int nSortType = profile.GetInt(szKey, L"SortType", ListSortType::None);
    // A missing or negative width takes the default; a huge one, the widest.
    const int nStoredWidth = profile.GetInt(szKey, L"Width", -1);
    const int nWidth = nStoredWidth < 0 ? 0 : std::min(nStoredWidth, kWidestColumn);
    const int nColumn = profile.GetInt(szKey, L"Column", -1);
    const BOOL bRemove = profile.GetInt(szKey, L"Remove", 1);
    const BOOL bMove = profile.GetInt(szKey, L"Move", 1);
    const BOOL bEdit = profile.GetInt(szKey, L"Edit", 1);
    const BOOL bPhoneNumber = profile.GetInt(szKey, L"PhoneNumber", 0);
    AddColumn(szName, szTitle, nWidth, nSortType, bPhoneNumber, bRemove, bMove, bEdit, nColumn,
              kInsertMask, LVCFMT_LEFT);
    if (bLocalized)
        TRACE(L"adding col: name = %s, title = %s\n", szName.GetString(), szTitle.GetString());
}

CString CListCtrlEx::ReadLocalizedTitle(const CListProfile& profile, int nIndex,
                                        const CString& szName) {
    const int nLanguageSetting = LanguageSetting();
    TRACE(L"ReadColumns: nLanguageSetting = %d\n", nLanguageSetting);
    CString szTitle = kUnknownTitle;
    CString szLangTitle;
    if (LPCTSTR pszValue = ColumnTitles::LanguageValueName(nLanguageSetting)) {
        szLangTitle = profile.GetString(profile.LocalizedColumnKey(nIndex), pszValue, L"");
        TRACE(L"szLangTitle = %s\n", szLangTitle.GetString());
    }
    if (!szLangTitle.IsEmpty()) {
        TRACE(L"if (szLangTitle != _T())\n");
        return szLangTitle;
    }
    TRACE(L"if (szLangTitle == NULL)\n");
    TRACE(L"m_pTranslation = 0x%08llx\n",
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(m_pTranslation)));
    // Without translation tables a well-known column stays "Unknown" too.
    const UINT nID = ColumnTitles::DefaultTitleId(szName, false);
    if (nID && m_pTranslation)
        szTitle = m_pTranslation->LoadStringW(nID, 512);
    return szTitle;
}

void CListCtrlEx::ReadColumnsOnly() {
    m_bNoDisplayOnRead = true;
    ReadColumns();
    m_bNoDisplayOnRead = false;
}

BOOL CListCtrlEx::ReadControlSettings() {
    if (m_strName.IsEmpty())
        return FALSE;
    const CListProfile profile = Profile();
    const CString szKey = profile.ListKey();
    const int nStyle = profile.GetInt(szKey, L"Style", -1);
    if (nStyle == -1)
        return FALSE;

    if (m_hWnd) {
        // Only the view type comes from the store; no other style bit is taken from it.
        const DWORD dwStyle = (GetStyle() & ~kViewTypeBits) | (nStyle & kViewTypeBits);
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    const int nSortedColumn = profile.GetInt(szKey, L"SortedColumn", -1);
    m_bSortAsending = profile.GetInt(szKey, L"SortAscending", -1);
    if (nSortedColumn != -1)
        SortColumn(nSortedColumn, FALSE, FALSE);
    return TRUE;
}

BOOL CListCtrlEx::WriteControlSettings() {
    if (m_strName.IsEmpty())
        return FALSE;
    ++m_nSettingsWrites;
    const CListProfile profile = Profile();
    const BOOL bLocalized = IsLocalized();
    // The stored layout is replaced by this one as a whole.
    CProfileValues list;
    list.AddInt(L"Style", m_hWnd ? static_cast<int>(GetStyle() & kViewTypeBits) : 0);
    if (m_nSortedColumn != -1)
        list.AddInt(L"SortedColumn", m_nSortedColumn);
    if (m_bSortAsending != -1)
        list.AddInt(L"SortAscending", m_bSortAsending);

    std::vector<CProfileValues> columns;
    // A localized list saves its columns when the user can change them.
    if (bLocalized ? m_bColumnMenu : m_bPersistColumns) {
        const std::unordered_map<std::wstring, int> widths = HeaderWidthsByTitle();
        int i = 0;
        for (const auto& p : m_columns) {
            const auto width = widths.find(p->m_szTitle.str());
            columns.push_back(ColumnValues(profile, i++, *p, bLocalized,
                                           width != widths.end() ? width->second : -1));
        }
    }
    profile.StoreListKey(list, columns);
    return TRUE;
}

std::unordered_map<std::wstring, int> CListCtrlEx::HeaderWidthsByTitle() const {
    std::unordered_map<std::wstring, int> widths;
    if (!m_ctlHeader.m_hWnd)
        return widths;
    std::vector<wchar_t> szText(1024);
    const int nCount = m_ctlHeader.GetItemCount();
    for (int k = 0; k < nCount; ++k) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_WIDTH | LVCF_TEXT;
        lvc.pszText = szText.data();
        lvc.cchTextMax = static_cast<int>(szText.size());
        szText[0] = L'\0';
        if (GetColumn(k, &lvc))
            widths.emplace(lvc.pszText, lvc.cx); // the first with a title counts
    }
    return widths;
}

CProfileValues CListCtrlEx::ColumnValues(const CListProfile& profile, int nIndex,
                                         const CListColumn& column, BOOL bLocalized, int width) {
    CProfileValues values;
    values.AddString(L"Name", column.m_szName);
    AddTitle(values, profile, nIndex, column, bLocalized);
    values.AddInt(L"Column", column.m_nColumn);
    values.AddInt(L"SortType", column.m_nSortType);
    values.AddInt(L"Remove", column.m_bRemove);
    values.AddInt(L"Move", column.m_bMove);
    values.AddInt(L"Edit", column.m_bEdit);
    values.AddInt(L"PhoneNumber", column.m_bPhoneNumber);
    values.AddInt(L"Width", width != -1 ? width : column.m_nWidth);
    return values;
}

void CListCtrlEx::AddTitle(CProfileValues& values, const CListProfile& profile, int nIndex,
                           const CListColumn& column, BOOL bLocalized) {
    if (!bLocalized) {
        values.AddString(L"Title", column.m_szTitle);
        return;
    }
    // A title that is still the default is stored plainly; a changed one is kept
    // per language, beside the layout.
    CString szTitle;
    const UINT nID = ColumnTitles::DefaultTitleId(column.m_szName, true);
    if (nID && m_pTranslation)
        szTitle = m_pTranslation->LoadStringW(nID, 512);
    TRACE(L"szSubKey = %s\n", profile.ColumnKey(nIndex).GetString());
    TRACE(L"szTitle = %s, m_szTitle = %s\n", szTitle.GetString(), column.m_szTitle.GetString());
    if (szTitle == column.m_szTitle) {
        values.AddString(L"Title", column.m_szTitle);
        return;
    }
    const int nLanguageSetting = LanguageSetting();
    TRACE(L"WriteControlSettings: nLanguageSetting = %d\n", nLanguageSetting);
    if (LPCTSTR pszValue = ColumnTitles::LanguageValueName(nLanguageSetting))
        profile.UpdateString(profile.LocalizedColumnKey(nIndex), pszValue, column.m_szTitle);
}
