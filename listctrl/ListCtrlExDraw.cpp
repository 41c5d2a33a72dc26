// Cells whose text holds characters outside the basic multilingual plane. Where the
// platform's plain text output draws such a character as the two halves of its
// surrogate pair (Wine's draws one UTF-16 unit at a time, whatever the fonts have),
// the list view draws the cell as usual and the list then draws its text again over
// it, with the glyphs. Everywhere else, and for every other cell, the list view draws
// alone.
#include "ListCtrlEx.h"

#include "SupplementaryTextPainter.h"

#include <algorithm>

namespace {

// The list view's room between a cell's edge and its text.
constexpr int kTextPadding = 5;

void FillSolid(HDC hdc, const RECT& rc, COLORREF color) {
    const COLORREF oldColor = ::SetBkColor(hdc, color);
    ::ExtTextOutW(hdc, rc.left, rc.top, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hdc, oldColor);
}

} // namespace

CListCtrlEx::~CListCtrlEx() = default;

void CListCtrlEx::OnCustomDraw(NMLVCUSTOMDRAW& draw, LRESULT* pResult) {
    *pResult = CDRF_DODEFAULT;
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        if ((GetStyle() & LVS_TYPEMASK) == LVS_REPORT &&
            CSupplementaryTextPainter::PlainOutputSplitsPairs(
                static_cast<HFONT>(::GetCurrentObject(draw.nmcd.hdc, OBJ_FONT))))
            *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        *pResult = CDRF_NOTIFYSUBITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        // Wine's list view paints every cell of a selected row as selected once rows
        // are custom drawn; without full-row selection only the first one is.
        if (draw.iSubItem != 0 && !(GetExtendedStyle() & LVS_EX_FULLROWSELECT))
            draw.nmcd.uItemState &= ~CDIS_SELECTED;
        m_strDrawnCell = GetItemText(static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem);
        if (CSupplementaryTextPainter::HasSurrogatePair(m_strDrawnCell))
            *pResult = CDRF_NOTIFYPOSTPAINT;
        break;
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        DrawSupplementaryCell(draw);
        break;
    default:
        break;
    }
}

void CListCtrlEx::DrawSupplementaryCell(const NMLVCUSTOMDRAW& draw) {
    const int nItem = static_cast<int>(draw.nmcd.dwItemSpec);
    const int nSubItem = draw.iSubItem;
    HDC hdc = draw.nmcd.hdc;
    RECT rcLabel{};
    // A label being edited in place is its editor's to show.
    if ((nSubItem == 0 && ListView_GetEditControl(m_hWnd) && GetItemState(nItem, LVIS_FOCUSED)) ||
        !ListView_GetSubItemRect(m_hWnd, nItem, nSubItem, LVIR_LABEL, &rcLabel))
        return;
    // The colours the list view drew the cell in are still the DC's.
    COLORREF background = ::GetBkColor(hdc);
    if (::GetBkMode(hdc) != OPAQUE && (background = ListView_GetBkColor(m_hWnd)) == CLR_NONE)
        return; // over a picture: nothing can take the list view's text away
    const DWORD dwExStyle = GetExtendedStyle();
    if (dwExStyle & LVS_EX_GRIDLINES)
        --rcLabel.bottom; // the grid line is no room for text

    LVCOLUMNW column{};
    column.mask = LVCF_FMT;
    GetColumn(nSubItem, &column);
    const int nJustify = nSubItem == 0 ? LVCFMT_LEFT : column.fmt & LVCFMT_JUSTIFYMASK;
    RECT rcText = rcLabel;
    if (nJustify == LVCFMT_LEFT)
        rcText.left += kTextPadding;
    else if (nJustify == LVCFMT_RIGHT)
        rcText.right -= kTextPadding;
    if (!m_pTextPainter)
        m_pTextPainter = std::make_unique<CSupplementaryTextPainter>();
    const std::wstring text =
        m_pTextPainter->Fit(hdc, m_strDrawnCell.str(), rcText.right - rcText.left);
    const int cx = m_pTextPainter->Width(hdc, text);
    const int x = nJustify == LVCFMT_RIGHT    ? rcText.right - cx
                  : nJustify == LVCFMT_CENTER ? (rcText.left + rcText.right - cx) / 2
                                              : rcText.left;

    // The edge pixels stay: the focus rectangle and the grid lines may be there.
    RECT rcErase = rcLabel;
    ::InflateRect(&rcErase, -1, -1);
    if (nSubItem == 0 && !(dwExStyle & LVS_EX_FULLROWSELECT) &&
        GetItemState(nItem, LVIS_SELECTED)) {
        // The selection colour reaches as far as the text only.
        const COLORREF window = ListView_GetBkColor(m_hWnd);
        FillSolid(hdc, rcErase, window == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : window);
        rcErase.right = std::min<LONG>(rcErase.right, x + cx + kTextPadding);
    }
    FillSolid(hdc, rcErase, background);
    m_pTextPainter->Draw(hdc, text, x, rcText);
}
