// In-place editing: a click on the row clicked last opens an editor over the
// clicked cell; the list holds the mouse while the editor is open.
#include "ListCtrlEx.h"

#include "Trace.h"
#include "SubItemEdit.h"

#include <algorithm>

namespace {
constexpr UINT kEditorId = 112;
constexpr int kNarrowestEditableColumn = 5;
} // namespace

BOOL CListCtrlEx::OnClick(NMLISTVIEW* pNMListView, LRESULT* pResult) {
    *pResult = 0;
    const int nItem = pNMListView->iItem;
    const int nCol = pNMListView->iSubItem;
    if (nItem != m_nLastClickedItem)
        m_nLastClickedItem = nItem; // the first click on a row only selects it
    else if (IsColumnEditable(nCol))
        EditSubLabel(nItem, nCol);
    return FALSE; // the owner sees the click too
}

CSubItemEdit* CListCtrlEx::EditSubLabel(int nItem, int nCol) {
    TRACE(L"in CListCtrlEx::EditSubLabel()\n");
    if (!EnsureVisible(nItem, TRUE))
        return nullptr;
    const int nColumnCount =
        static_cast<int>(::SendMessageW(::GetDlgItem(m_hWnd, 0), HDM_GETITEMCOUNT, 0, 0));
    if (nCol >= nColumnCount)
        return nullptr;
    if (GetColumnWidth(nCol) < kNarrowestEditableColumn)
        return nullptr;

    ::SetCapture(m_hWnd);
    int offset = 0;
    for (int i = 0; i < nCol; ++i)
        offset += GetColumnWidth(i);
    TRACE(L"nItem = %d, nCol = %d, offset = %d\n", nItem, nCol, offset);

    RECT rect{};
    GetItemRect(nItem, &rect, LVIR_BOUNDS);
    TRACE(L"right = %d, left = %d\n", rect.right, rect.left);
    const int nWidth = GetColumnWidth(nCol);
    TRACE(L"nWidth = %d\n", nWidth);
    RECT client{};
    GetClientRect(&client);
    TRACE(L"client.right = %d, client.left = %d\n", client.right, client.left);

    // Scroll sideways so that the whole cell is in view: a cell cut off on the
    // left meets the left edge, one cut off on the right meets the right edge.
    const int x = rect.left + offset;
    int dx = 0;
    if (x < 0) {
        TRACE(L"scrolling-1\n");
        dx = x;
    } else if (x > client.right) {
        TRACE(L"scrolling-2\n");
        dx = x + nWidth - client.right;
    } else if (x + nWidth > client.right) {
        TRACE(L"scrolling-3\n");
        dx = x + nWidth - client.right;
    }
    if (dx != 0) {
        Scroll(dx, 0);
        rect.left -= dx;
        TRACE(L"size.cx = %d, left = %d\n", dx, rect.left);
    }

    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT;
    GetColumn(nCol, &lvc);
    const int nJustify = lvc.fmt & LVCFMT_JUSTIFYMASK;
    const DWORD dwAlign = nJustify == LVCFMT_LEFT    ? ES_LEFT
                          : nJustify == LVCFMT_RIGHT ? ES_RIGHT
                                                     : ES_CENTER;

    // From 4 pixels inside the cell's left edge to 1 pixel beyond its right edge.
    rect.left += offset + 4;
    rect.right = std::min<LONG>(rect.left + GetColumnWidth(nCol) - 3, client.right);
    TRACE(L"right = %d, left = %d\n", rect.right, rect.left);

    const DWORD dwStyle = dwAlign | WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    auto* pEdit = new CSubItemEdit(nItem, nCol, GetItemText(nItem, nCol));
    if (!pEdit->Create(dwStyle, rect, this, kEditorId)) {
        // Without a window the editor would never go away by itself.
        delete pEdit;
        ::ReleaseCapture();
        return nullptr;
    }
    m_pEdit = pEdit;
    return pEdit;
}

void CListCtrlEx::OnMouseMove(UINT, POINT point) {
    const HWND hChild = ::ChildWindowFromPoint(m_hWnd, point);
    if (m_pEdit && CWnd::FromHandlePermanent(hChild) == m_pEdit) {
        // The editor takes its own mouse input while the mouse is over it.
        ::ReleaseCapture();
        m_bCaptureReleased = TRUE;
    } else if (m_bCaptureReleased) {
        ::SetCapture(m_hWnd);
        m_bCaptureReleased = FALSE;
    }
    Default();
}

void CListCtrlEx::OnLButtonDown(UINT, POINT point) {
    ::ReleaseCapture();
    if (::ChildWindowFromPoint(m_hWnd, point) == m_hWnd) {
        Default();
        return;
    }
    // A press outside the list or on one of its children ends the edit and goes
    // no further.
    SetFocus();
}
