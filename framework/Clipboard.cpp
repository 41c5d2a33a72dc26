#include "Clipboard.h"

#include <cstring>

namespace {

// Global memory that is freed unless handed on.
class CGlobalBlock {
public:
    CGlobalBlock(UINT nFlags, SIZE_T nBytes) : m_hMemory(::GlobalAlloc(nFlags, nBytes)) {}
    ~CGlobalBlock() {
        if (m_hMemory)
            ::GlobalFree(m_hMemory);
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;

    HGLOBAL Get() const { return m_hMemory; }
    HGLOBAL Release() {
        HGLOBAL hMemory = m_hMemory;
        m_hMemory = nullptr;
        return hMemory;
    }

private:
    HGLOBAL m_hMemory;
};

} // namespace

CClipboard::CClipboard(HWND hOwner) : m_bOpen(::OpenClipboard(hOwner)) {}

CClipboard::~CClipboard() {
    if (m_bOpen)
        ::CloseClipboard();
}

BOOL CClipboard::SetText(const CString& text) {
    if (!m_bOpen || !::EmptyClipboard())
        return FALSE;
    const SIZE_T nBytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    return AddData(CF_UNICODETEXT, text.GetString(), nBytes); // the terminating NUL included
}

BOOL CClipboard::AddData(UINT nFormat, const void* pData, SIZE_T nBytes) {
    if (!m_bOpen || nFormat == 0)
        return FALSE;
    CGlobalBlock block(GMEM_MOVEABLE | GMEM_ZEROINIT, nBytes);
    if (!block.Get())
        return FALSE;
    void* pCopy = ::GlobalLock(block.Get());
    if (!pCopy)
        return FALSE;
    std::memcpy(pCopy, pData, nBytes);
    ::GlobalUnlock(block.Get());
    if (!::SetClipboardData(nFormat, block.Get()))
        return FALSE;
    block.Release(); // the clipboard's now
    return TRUE;
}
