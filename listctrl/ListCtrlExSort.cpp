// Sorting the rows by one column, by a header click or at the owner's request.
#include "ListCtrlEx.h"

#include "ListSorter.h"
#include "Trace.h"

void CListCtrlEx::OnColumnclick(NMLISTVIEW* pNMListView, LRESULT* pResult) {
    TRACE(L"in CListCtrlEx::OnColumnclick()\n");
    *pResult = 0;
    if (!m_bSortColumns) {
        TRACE(L"!m_bSortColumns: returning\n");
        return;
    }
    int column = pNMListView->iSubItem;
    if (GetColumnSortType(column) == ListSortType::None)
        return;
    // Call lists sort a date or direction column by its companion column.
    if (column == 6 && GetColumnName(column) == L"CallDate")
        column = 1;
    if (column == 0 && GetColumnName(column) == L"CallDirection")
        column = 3;
    SortColumn(column, TRUE, TRUE);
}

void CListCtrlEx::SortColumn(int column, BOOL bFlip, BOOL bSave) {
    TRACE(L"in CListCtrlEx::SortColumn()\n");
    if (column == m_nSortedColumn && !bFlip) {
        TRACE(L"m_nSortedColumn == column && !bFlip: returnng\n");
        return;
    }
    if (column == m_nSortedColumn)
        m_bSortAsending = m_bSortAsending == -1 || m_bSortAsending == 0 ? 1 : 0;
    else if (m_bSortAsending == -1)
        m_bSortAsending = 1; // otherwise a new column keeps the direction
    m_nSortedColumn = column;

    // Nothing is drawn while the rows' data stand aside and the rows move; the
    // pause ends after the sorter has given the rows their data back.
    CDrawingPause pause(*this);
    const int nSortType = GetColumnSortType(column);
    CListSorter sorter(this, column, nSortType);
    sorter.Sort(m_bSortAsending ? nSortType : -nSortType);
    TRACE(L"column = %d, m_bSortAsending = %d\n", column, m_bSortAsending);
    TRACE(L"GetColumnName(column) = %s\n", GetColumnName(column).GetString());

    m_ctlHeader.SetSortIndicator(ArrowColumn(column), m_bSortAsending);
    if (bSave)
        WriteControlSettings();
}

int CListCtrlEx::ArrowColumn(int column) const {
    // The companions of the click redirects carry the arrow back.
    if (column == 1 && GetColumnName(column) == L"Received")
        column = 6;
    if (column == 3 && GetColumnName(column) == L"CallType")
        column = 0;
    return column;
}
