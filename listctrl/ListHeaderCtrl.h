// The header of an extended list: draws the sorted column's item with a 3-D
// arrow for the sort direction, and opens the list's column menu on a right click.
#pragma once

#include "Controls.h"

class CListHeaderCtrl : public CHeaderCtrl {
public:
    // Moves the arrow to the header item `column` (-1: none) and makes that item
    // owner-drawn; returns the item that had the arrow before.
    int SetSortIndicator(int column, BOOL ascending);

    // Draws one owner-drawn item: its label and, for the sorted column, the arrow.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

    BOOL m_bAscending = TRUE;
    int m_nSortColumn = -1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnRButtonUp(UINT nFlags, POINT point);

private:
    // o is twice the width of a space in the item's font.
    void DrawSortArrow(HDC hdc, const RECT& rcItem, int o) const;
};
