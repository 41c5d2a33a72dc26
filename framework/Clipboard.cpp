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
    if (!m_bOpen)
        return FALSE;
    const SIZE_T nBytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    CGlobalBlock block(GMEM_MOVEABLE | GMEM_ZEROINIT, nBytes);
    if (!block.Get())
        return FALSE;
    void* pData = ::GlobalLock(block.Get());
    if (!pData)
        return FALSE;
    std::memcpy(pData, text.GetString(), nBytes); // the terminating NUL included
    ::GlobalUnlock(block.Get());
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, block.Get()))
        return FALSE;
    block.Release(); // the clipboard's now
    return TRUE;
}
