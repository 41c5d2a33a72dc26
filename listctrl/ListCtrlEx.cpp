// The column catalogue of the list and what the list view shows of it.
#include "ListCtrlEx.h"

#include "ListProfile.h"
#include "SupplementaryTextPainter.h"
#include "Trace.h"

#include <windowsx.h>

#include <algorithm>

namespace {
constexpr int kDefaultWidth = 85;
}

CListCtrlEx::CListCtrlEx() : m_pModuleState(AfxGetModuleState()) {}

void CListCtrlEx::InitializeList(const CString& strName) {
    SetName(strName);
    ReadColumns();
    if (m_hWnd && !m_ctlHeader.m_hWnd)
        m_ctlHeader.SubclassDlgItem(0, this);
    ReadControlSettings();
}

int CListCtrlEx::AddColumn(LPCTSTR name, LPCTSTR title, int width, int sortType, BOOL phoneNumber,
                           BOOL remove, BOOL move, BOOL edit, int column, UINT mask, int format) {
    TRACE(L"::AddColumn(%s ...\n", name);
    // A list that shows its columns at once puts the new one after the last shown
    // one; until then it is hidden, so that it does not count itself as shown.
    const int nPosition = m_bPersistColumns ? column : -1;
    m_columns.push_back(std::make_unique<CListColumn>(name, title, nPosition, width, sortType, mask,
                                                      format, phoneNumber, remove, move, edit));
    if (m_bPersistColumns)
        return m_bPersistColumns;
    return DisplayColumn(name, -1, FALSE);
}

BOOL CListCtrlEx::DisplayColumn(LPCTSTR name, int index, BOOL bInsert) {
    CListColumn* pColumn = FindColumn(name);
    return pColumn && ShowColumn(*pColumn, index, bInsert);
}

BOOL CListCtrlEx::ShowColumn(CListColumn& column, int index, BOOL bInsert) {
    CListColumn* pColumn = &column;
    if (index == -1)
        index = GetDisplayedColumnCount();
    if (bInsert) {
        for (const auto& p : m_columns) {
            if (p->m_nColumn >= index)
                ++p->m_nColumn;
        }
    }
    pColumn->m_nColumn = index;
    if (pColumn->m_nWidth == 0)
        pColumn->m_nWidth = kDefaultWidth;

    LVCOLUMNW lvc{};
    lvc.mask = pColumn->m_nMask;
    lvc.fmt = pColumn->m_nFormat;
    lvc.cx = pColumn->m_nWidth;
    lvc.pszText = const_cast<wchar_t*>(pColumn->m_szTitle.GetString());
    lvc.iSubItem = index;
    InsertColumn(index, &lvc);

    if (bInsert && m_pNotifyWnd)
        m_pNotifyWnd->SendMessage(WM_LIST_COLUMN_SHOWN,
                                  reinterpret_cast<WPARAM>(pColumn->m_szName.GetString()));
    return TRUE;
}

void CListCtrlEx::DisplayColumns() {
    TRACE(L"CListCtrlEx::DisplayColumns() entered\n");
    // One pass over the catalogue, not one per position: a stored layout may be long.
    const std::vector<CListColumn*> shown = GetShownColumns();
    TRACE(L"nCount = %d\n", static_cast<int>(shown.size()));
    CDrawingPause pause(*this);
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        TRACE(L"loop: index = %d, name = %s\n", i, shown[i]->m_szName.GetString());
        if (!shown[i]->m_szName.IsEmpty()) {
            TRACE(L"displaying column\n");
            ShowColumn(*shown[i], i, FALSE);
        }
    }
    TRACE(L"CListCtrlEx::DisplayColumns() exiting\n");
}

std::vector<CListColumn*> CListCtrlEx::GetShownColumns() const {
    std::vector<CListColumn*> shown;
    for (const auto& p : m_columns) {
        if (p->m_nColumn >= 0)
            shown.push_back(p.get());
    }
    std::stable_sort(shown.begin(), shown.end(), [](const CListColumn* a, const CListColumn* b) {
        return a->m_nColumn < b->m_nColumn;
    });
    return shown;
}

void CListCtrlEx::CompactPositions() {
    for (const auto& p : m_columns) {
        if (p->m_nColumn < -1)
            p->m_nColumn = -1;
    }
    const std::vector<CListColumn*> shown = GetShownColumns();
    for (int i = 0; i < static_cast<int>(shown.size()); ++i)
        shown[i]->m_nColumn = i;
}

BOOL CListCtrlEx::DeleteColumn(int column) {
    const BOOL bDeleted = CListCtrl::DeleteColumn(column);
    for (const auto& p : m_columns) {
        if (p->m_nColumn == column)
            p->m_nColumn = -1;
        if (p->m_nColumn > column)
            --p->m_nColumn;
    }
    return bDeleted;
}

void CListCtrlEx::RemoveAllColumns() {
    if (m_ctlHeader.m_hWnd) {
        for (int n = m_ctlHeader.GetItemCount(); n > 0; --n)
            DeleteColumn(0);
    }
    m_columns.clear();
    m_bColumnsChanged = FALSE;
}

CListColumn* CListCtrlEx::FindColumn(const CString& name) const {
    for (const auto& p : m_columns) {
        if (p->m_szName == name)
            return p.get();
    }
    return nullptr;
}

CListColumn* CListCtrlEx::GetColumnAt(int column) const {
    // -1 marks hidden definitions; it is no position to look up.
    if (column < 0)
        return nullptr;
    for (const auto& p : m_columns) {
        if (p->m_nColumn == column)
            return p.get();
    }
    return nullptr;
}

int CListCtrlEx::GetColumnPosition(const CString& name) const {
    const CListColumn* pColumn = FindColumn(name);
    return pColumn ? pColumn->m_nColumn : -1;
}

CString CListCtrlEx::GetColumnName(int column) const {
    const CListColumn* pColumn = GetColumnAt(column);
    return pColumn ? pColumn->m_szName : CString();
}

int CListCtrlEx::GetColumnSortType(int column) const {
    const CListColumn* pColumn = GetColumnAt(column);
    return pColumn ? pColumn->m_nSortType : ListSortType::None;
}

BOOL CListCtrlEx::IsColumnEditable(int column) const {
    const CListColumn* pColumn = GetColumnAt(column);
    return pColumn ? pColumn->m_bEdit : FALSE;
}

BOOL CListCtrlEx::HasHiddenColumns() const {
    for (const auto& p : m_columns) {
        if (p->m_nColumn == -1)
            return TRUE;
    }
    return FALSE;
}

int CListCtrlEx::GetDisplayedColumnCount() const {
    int nCount = 0;
    for (const auto& p : m_columns) {
        if (p->m_nColumn != -1)
            ++nCount;
    }
    return nCount;
}

int CListCtrlEx::GetColumnWidthByTitle(const CString& title) const {
    const std::unordered_map<std::wstring, int> widths = HeaderWidthsByTitle();
    const auto found = widths.find(title.str());
    return found == widths.end() ? -1 : found->second;
}

void CListCtrlEx::GetSubItemOffset(NMLISTVIEW* pNMListView, int& column, int& offset) const {
    column = pNMListView->iSubItem;
    offset = 0;
    for (int i = 0; i < column; ++i)
        offset += GetColumnWidth(i);
}

CListCtrlEx::CDrawingPause::CDrawingPause(CListCtrlEx& list)
    : m_list(list), m_bPaused(list.m_hWnd && list.m_bRedraw && (list.GetStyle() & WS_VISIBLE)) {
    if (m_bPaused)
        m_list.SetRedraw(FALSE);
}

CListCtrlEx::CDrawingPause::~CDrawingPause() {
    if (m_bPaused)
        m_list.SetRedraw(TRUE);
}

CListProfile CListCtrlEx::Profile() const {
    return CListProfile(m_pModuleState, m_strName);
}

LRESULT CListCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_SETREDRAW:
        m_bRedraw = wParam != 0;
        return CListCtrl::WindowProc(message, wParam, lParam);
    default:
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
}

BOOL CListCtrlEx::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_NOTIFY) {
        auto* pNMListView = reinterpret_cast<NMLISTVIEW*>(lParam);
        switch (pNMListView->hdr.code) {
        case LVN_COLUMNCLICK:
            OnColumnclick(pNMListView, pResult);
            return TRUE;
        case NM_CLICK:
            return OnClick(pNMListView, pResult);
        case NM_CUSTOMDRAW:
            OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam), pResult);
            return TRUE;
        case LVN_ITEMCHANGING:
        case LVN_ITEMCHANGED:
            // A sort's own swaps of item data stop here: the owner would read a
            // pair as its row data, and a refused swap would leave the sort
            // comparing something that is no pair.
            if (m_bSwappingItemData) {
                *pResult = 0;
                return TRUE;
            }
            break;
        default:
            break;
        }
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}
