#include "ImageButton.h"

#include "Gdi.h"

#include <algorithm>

namespace {

// Where the bitmap goes along one axis of the face, and which part of it shows.
struct Placement {
    int pos = 0;    // within the inner area, before the border offset
    int offset = 0; // first bitmap pixel shown
};

// nAlign: 0 near edge (left/top), 1 far edge (right/bottom), 2 centre.
Placement Place(int nAlign, int nInner, int nBitmap, int nBorder) {
    Placement p;
    if (nAlign == 0) {
        p.pos = 2 * nBorder;
        return p;
    }
    p.pos = nAlign == 1 ? nInner - nBitmap : (nInner - nBitmap) / 2 + nBorder;
    if (p.pos < 2 * nBorder) {
        // Wider than the face: the far part or the middle of the bitmap shows.
        p.pos = 2 * nBorder;
        p.offset = nAlign == 1 ? nBitmap - nInner : (nBitmap - nInner) / 2;
    }
    return p;
}

} // namespace

CImageButton::CImageButton() : m_hResources(AfxGetResourceHandle()) {}

BOOL CImageButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CButton::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    const int cx = ::GetSystemMetrics(SM_CXBORDER);
    const int cy = ::GetSystemMetrics(SM_CYBORDER);
    const HDC hdc = lpDIS->hDC;
    CSavedDCState saved(hdc);
    RECT inner = lpDIS->rcItem;
    ::InflateRect(&inner, -2 * cx, -2 * cy);
    const int W = inner.right - inner.left;
    const int H = inner.bottom - inner.top;

    const bool bSelected = lpDIS->itemState & ODS_SELECTED;
    bool bDither = false;
    int nBitmap = m_nNormalBitmap;
    if (bSelected) {
        nBitmap = m_nPressedBitmap ? m_nPressedBitmap : m_nNormalBitmap;
    } else if (lpDIS->itemState & (ODS_DISABLED | ODS_GRAYED)) {
        bDither = m_nDisabledBitmap == 0;
        nBitmap = bDither ? m_nNormalBitmap : m_nDisabledBitmap;
    }
    // A fresh copy with its greys in the system's 3-D colours: greying it below
    // leaves the resource as it is.
    CBitmap bitmap;
    if (nBitmap == 0 ||
        !bitmap.Attach(static_cast<HBITMAP>(::LoadImageW(
            m_hResources, MAKEINTRESOURCEW(nBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)))) {
        return; // nothing at all, not even the face
    }
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    const int bw = info.bmWidth, bh = info.bmHeight;

    const LONG style = ::GetWindowLongW(lpDIS->hwndItem, GWL_STYLE);
    int x, y, width = bw, height = bh, sx = 0, sy = 0;
    if (m_nStretch) {
        x = 2 * cx;
        y = 2 * cy;
        width = W - cx;
        height = H - cy;
    } else {
        const LONG horizontal = style & (BS_LEFT | BS_RIGHT | BS_CENTER);
        const LONG vertical = style & (BS_TOP | BS_BOTTOM | BS_VCENTER);
        const Placement px = Place(horizontal == BS_LEFT    ? 0
                                   : horizontal == BS_RIGHT ? 1
                                                            : 2,
                                   W, bw, cx);
        const Placement py = Place(vertical == BS_TOP      ? 0
                                   : vertical == BS_BOTTOM ? 1
                                                           : 2,
                                   H, bh, cy);
        x = px.pos;
        sx = px.offset;
        y = py.pos;
        sy = py.offset;
    }
    POINT image{x + cx, y + cy};
    RECT focus{x, y, x + width + 2 * cx, y + height + 2 * cy};

    RECT face = lpDIS->rcItem;
    ::DrawEdge(hdc, &face, bSelected ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    if (bSelected) {
        // The image sinks with the face.
        image.x += cx;
        image.y += cy;
        ::OffsetRect(&focus, cx, cy);
    }

    CMemoryDC memory(hdc);
    CSelectObject selected(memory, bitmap);
    if (bDither) {
        const COLORREF face3d = ::GetSysColor(COLOR_BTNFACE);
        for (int dx = 0; dx < bw; dx += 2) {
            for (int dy = 0; dy < bh; ++dy)
                ::SetPixel(memory, dx + dy % 2, dy, face3d);
        }
    }
    if (m_nStretch) {
        ::StretchBlt(hdc, image.x, image.y, width, height, memory, sx, sy, bw - sx, bh - sy,
                     SRCCOPY);
    } else {
        // No further than the inner area.
        const int nCopyWidth = std::min<int>(bw - sx, inner.right - image.x);
        const int nCopyHeight = std::min<int>(bh - sy, inner.bottom - image.y);
        if (nCopyWidth > 0 && nCopyHeight > 0)
            ::BitBlt(hdc, image.x, image.y, nCopyWidth, nCopyHeight, memory, sx, sy, SRCCOPY);
    }
    if (lpDIS->itemState & ODS_FOCUS)
        ::DrawFocusRect(hdc, &focus);
}
