// Owners of GDI objects and device contexts: each releases its handle once.
#pragma once

#include "FrameworkApi.h"

#include <windows.h>

#include <utility>

// A GDI object (font, bitmap, brush, pen) deleted with the owner.
template <class THandle> class CGdiObjectT {
public:
    CGdiObjectT() = default;
    explicit CGdiObjectT(THandle h) : m_hObject(h) {}
    ~CGdiObjectT() { DeleteObject(); }
    CGdiObjectT(CGdiObjectT&& other) noexcept
        : m_hObject(std::exchange(other.m_hObject, nullptr)) {}
    CGdiObjectT& operator=(CGdiObjectT&& other) noexcept {
        if (this != &other) {
            DeleteObject();
            m_hObject = std::exchange(other.m_hObject, nullptr);
        }
        return *this;
    }
    CGdiObjectT(const CGdiObjectT&) = delete;
    CGdiObjectT& operator=(const CGdiObjectT&) = delete;

    BOOL Attach(THandle h) {
        DeleteObject();
        m_hObject = h;
        return h != nullptr;
    }
    THandle Detach() { return std::exchange(m_hObject, nullptr); }
    BOOL DeleteObject() {
        BOOL result = m_hObject ? ::DeleteObject(m_hObject) : FALSE;
        m_hObject = nullptr;
        return result;
    }
    operator THandle() const { return m_hObject; }
    THandle GetSafeHandle() const { return m_hObject; }

protected:
    THandle m_hObject = nullptr;
};

class CFont : public CGdiObjectT<HFONT> {
public:
    BOOL CreateFontIndirect(const LOGFONTW* pLogFont) {
        return Attach(::CreateFontIndirectW(pLogFont));
    }
    BOOL GetLogFont(LOGFONTW* pLogFont) const {
        return ::GetObjectW(m_hObject, sizeof(*pLogFont), pLogFont) != 0;
    }
};

class CBitmap : public CGdiObjectT<HBITMAP> {
public:
    BOOL LoadBitmap(HINSTANCE hInstance, UINT nID) {
        return Attach(::LoadBitmapW(hInstance, MAKEINTRESOURCEW(nID)));
    }
    BOOL CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
        return Attach(::CreateCompatibleBitmap(hdc, cx, cy));
    }
};

class CBrush : public CGdiObjectT<HBRUSH> {
public:
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CPen : public CGdiObjectT<HPEN> {
public:
    BOOL CreatePen(int nStyle, int nWidth, COLORREF color) {
        return Attach(::CreatePen(nStyle, nWidth, color));
    }
};

// Selects an object into a DC for the lifetime of this guard.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ hObject) : m_hdc(hdc), m_hOld(::SelectObject(hdc, hObject)) {}
    ~CSelectObject() { ::SelectObject(m_hdc, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

// A DC's drawing state (clip region, colours, selected objects) as it was, back
// when this goes.
class CSavedDCState {
public:
    explicit CSavedDCState(HDC hdc) : m_hdc(hdc), m_nSaved(::SaveDC(hdc)) {}
    ~CSavedDCState() {
        if (m_nSaved)
            ::RestoreDC(m_hdc, m_nSaved);
    }
    CSavedDCState(const CSavedDCState&) = delete;
    CSavedDCState& operator=(const CSavedDCState&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

// The client-area DC of a window, released with the object.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd)) {}
    ~CClientDC() { ::ReleaseDC(m_hWnd, m_hdc); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};

// The DC of a WM_PAINT, ended with the object.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hdc = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hdc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// A memory DC compatible with another, deleted with the object.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC hdcCompatible) : m_hdc(::CreateCompatibleDC(hdcCompatible)) {}
    ~CMemoryDC() { ::DeleteDC(m_hdc); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HDC m_hdc;
};

// A white top-down 32-bit picture in a memory DC, its pixels readable in place.
class CDibCanvas {
public:
    CDibCanvas(int cx, int cy) : m_dc(nullptr), m_cx(cx), m_cy(cy) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap.Attach(::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0));
        m_hOld = ::SelectObject(m_dc, m_bitmap);
        const RECT rc{0, 0, cx, cy};
        ::FillRect(m_dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~CDibCanvas() { ::SelectObject(m_dc, m_hOld); }
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    bool Valid() const { return m_pBits != nullptr; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // The pixels row by row, once drawing has been flushed.
    const DWORD* Bits() const {
        ::GdiFlush();
        return static_cast<const DWORD*>(m_pBits);
    }

private:
    CMemoryDC m_dc; // deleted after the bitmap is selected out of it
    int m_cx, m_cy;
    CBitmap m_bitmap;
    void* m_pBits = nullptr;
    HGDIOBJ m_hOld = nullptr;
};
