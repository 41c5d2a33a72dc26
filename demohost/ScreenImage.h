// A copy of part of the screen, or of text drawn off screen, as 32-bit pixels: what
// the tour saves as screenshots and compares to tell drawn glyphs from boxes.
#pragma once

#include "String.h"

#include <vector>

class CScreenImage {
public:
    // What the screen shows in rc (screen coordinates) now.
    static CScreenImage Capture(const RECT& rc);
    // pszText drawn with hFont in black on white, as the list draws it: one line,
    // from the left, vertically centred in a cx by cy cell.
    static CScreenImage DrawText(const wchar_t* pszText, HFONT hFont, int cx, int cy);

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    bool Empty() const { return m_pixels.empty(); }
    // Writes a 32-bit .bmp file.
    bool SaveBitmap(const CString& path) const;
    // The dark pixels ("ink") cropped to their bounding box: 1 for ink, 0 for none.
    CScreenImage Ink() const;
    // Of an Ink() image: how many pixels are ink.
    int InkPixels() const;
    bool operator==(const CScreenImage& other) const {
        return m_cx == other.m_cx && m_cy == other.m_cy && m_pixels == other.m_pixels;
    }

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<DWORD> m_pixels; // top-down rows, 0x00RRGGBB
};
