#include "ScreenImage.h"

#include "Gdi.h"

#include <cstdio>

namespace {

bool IsInk(DWORD pixel) {
    const int nBrightness = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return nBrightness < 3 * 128;
}

} // namespace

CScreenImage CScreenImage::Capture(const RECT& rc) {
    CScreenImage image;
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return image;
    CDibCanvas surface(cx, cy);
    HDC hdcScreen = ::GetDC(nullptr);
    const bool bCopied = surface.Valid() &&
                         ::BitBlt(surface.Dc(), 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, hdcScreen);
    if (!bCopied)
        return image;
    image.m_cx = cx;
    image.m_cy = cy;
    image.m_pixels.assign(surface.Bits(), surface.Bits() + cx * cy);
    return image;
}

CScreenImage CScreenImage::DrawText(const wchar_t* pszText, HFONT hFont, int cx, int cy) {
    CScreenImage image;
    CDibCanvas surface(cx, cy);
    if (!surface.Valid())
        return image;
    RECT rc{0, 0, cx, cy};
    HGDIOBJ hOldFont = ::SelectObject(surface.Dc(), hFont);
    ::SetTextColor(surface.Dc(), RGB(0, 0, 0));
    ::SetBkMode(surface.Dc(), TRANSPARENT);
    ::DrawTextW(surface.Dc(), pszText, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SelectObject(surface.Dc(), hOldFont);
    image.m_cx = cx;
    image.m_cy = cy;
    image.m_pixels.assign(surface.Bits(), surface.Bits() + cx * cy);
    return image;
}

CScreenImage CScreenImage::Ink() const {
    int left = m_cx, top = m_cy, right = -1, bottom = -1;
    for (int y = 0; y < m_cy; ++y) {
        for (int x = 0; x < m_cx; ++x) {
            if (!IsInk(m_pixels[y * m_cx + x]))
                continue;
            left = x < left ? x : left;
            right = x > right ? x : right;
            top = y < top ? y : top;
            bottom = y > bottom ? y : bottom;
        }
    }
    CScreenImage ink;
    if (right < 0)
        return ink;
    ink.m_cx = right - left + 1;
    ink.m_cy = bottom - top + 1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            ink.m_pixels.push_back(IsInk(m_pixels[y * m_cx + x]) ? 1 : 0);
    }
    return ink;
}

int CScreenImage::InkPixels() const {
    int n = 0;
    for (DWORD pixel : m_pixels)
        n += pixel == 1;
    return n;
}

bool CScreenImage::SaveBitmap(const CString& path) const {
    if (Empty())
        return false;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = m_cx;
    info.biHeight = -m_cy;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD nBytes = static_cast<DWORD>(m_pixels.size() * sizeof(DWORD));
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + nBytes;
    FILE* pFile = _wfopen(path, L"wb");
    if (!pFile)
        return false;
    const bool bWritten = std::fwrite(&header, sizeof(header), 1, pFile) == 1 &&
                          std::fwrite(&info, sizeof(info), 1, pFile) == 1 &&
                          std::fwrite(m_pixels.data(), nBytes, 1, pFile) == 1;
    return std::fclose(pFile) == 0 && bWritten;
}
