#include "ListHeaderCtrl.h"

#include "Gdi.h"
#include "ListCtrlEx.h"

#include <windowsx.h>

namespace {

constexpr UINT kLabelFormat =
    DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;

} // namespace

int CListHeaderCtrl::SetSortIndicator(int column, BOOL ascending) {
    const int nPrevious = m_nSortColumn;
    m_nSortColumn = column;
    m_bAscending = ascending;
    if (!m_hWnd)
        return nPrevious;

    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item)) {
        // The flag stays on an item that was once sorted: it keeps being drawn here.
        if (column >= 0)
            item.fmt |= HDF_OWNERDRAW;
        else
            item.fmt &= ~HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate(TRUE);
    return nPrevious;
}

void CListHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    HDC hdc = lpDIS->hDC;
    const RECT& rcItem = lpDIS->rcItem;
    CSavedDCState saved(hdc);

    CGdiObjectT<HRGN> clip(::CreateRectRgnIndirect(&rcItem));
    ::SelectClipRgn(hdc, clip);
    ::FillRect(hdc, &rcItem, ::GetSysColorBrush(COLOR_3DFACE));

    SIZE space{};
    ::GetTextExtentPoint32W(hdc, L" ", 1, &space);
    const int o = 2 * space.cx;

    wchar_t szText[255] = L"";
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = szText;
    item.cchTextMax = 255;
    GetItem(static_cast<int>(lpDIS->itemID), &item);
    UINT nFormat = kLabelFormat;
    if (item.fmt & HDF_CENTER)
        nFormat |= DT_CENTER;
    else if (item.fmt & HDF_RIGHT)
        nFormat |= DT_RIGHT;

    const bool bSorted = static_cast<int>(lpDIS->itemID) == m_nSortColumn;
    RECT rcLabel = rcItem;
    if (lpDIS->itemState & ODS_SELECTED) {
        // A pressed item's label moves as the platform's own items do.
        rcLabel.left += 1;
        rcLabel.top += 2;
        rcLabel.right += 1;
    }
    if (bSorted)
        rcLabel.right -= 3 * o;
    rcLabel.left += o;
    rcLabel.right -= o;
    if (rcLabel.left < rcLabel.right) {
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextW(hdc, szText, -1, &rcLabel, nFormat);
    }
    if (bSorted)
        DrawSortArrow(hdc, rcItem, o);
}

void CListHeaderCtrl::DrawSortArrow(HDC hdc, const RECT& rcItem, int o) const {
    CPen light, dark;
    light.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
    dark.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
    const int R = rcItem.right;
    const int B = rcItem.bottom;

    CSelectObject pen(hdc, light);
    if (m_bAscending) {
        ::MoveToEx(hdc, R - 2 * o, o - 1, nullptr);
        ::LineTo(hdc, R - 3 * o / 2, B - o);
        ::LineTo(hdc, R - 5 * o / 2 - 2, B - o);
        ::MoveToEx(hdc, R - 5 * o / 2 - 1, B - o - 1, nullptr);
        ::SelectObject(hdc, dark);
        ::LineTo(hdc, R - 2 * o, o - 2);
    } else {
        ::MoveToEx(hdc, R - 3 * o / 2, o - 1, nullptr);
        ::LineTo(hdc, R - 2 * o - 1, B - o + 1);
        ::MoveToEx(hdc, R - 2 * o - 1, B - o, nullptr);
        ::SelectObject(hdc, dark);
        ::LineTo(hdc, R - 5 * o / 2 - 1, o - 1);
        ::LineTo(hdc, R - 3 * o / 2, o - 1);
    }
}

LRESULT CListHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) {
        // The platform's own handling (and its context-menu message) does not run.
        OnRButtonUp(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

BOOL CListHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CHeaderCtrl::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}

void CListHeaderCtrl::OnRButtonUp(UINT, POINT point) {
    POINT ptScreen = point;
    ClientToScreen(&ptScreen);

    int column = -1;
    RECT rcItem;
    for (int k = 0; GetItemRect(k, &rcItem); ++k) {
        if (::PtInRect(&rcItem, point)) {
            column = k;
            break;
        }
    }
    if (auto* pList = dynamic_cast<CListCtrlEx*>(CWnd::FromHandlePermanent(GetParent())))
        pList->ShowColumnMenu(column, ptScreen.x, ptScreen.y);
}
