// CClipboard: the system clipboard, open for as long as the object lives.
#pragma once

#include "String.h"

class FW_API CClipboard {
public:
    // Opens the clipboard for hOwner; IsOpen() says whether that worked (another
    // program may hold it).
    explicit CClipboard(HWND hOwner);
    ~CClipboard();
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;

    BOOL IsOpen() const { return m_bOpen; }
    // Replaces the clipboard's contents by text as CF_UNICODETEXT; the clipboard
    // owns the memory afterwards. FALSE, with the clipboard unchanged or empty,
    // when the memory cannot be had or the clipboard refuses it.
    BOOL SetText(const CString& text);
    // Adds the bytes in another format beside what is there (nothing is emptied);
    // the clipboard owns the memory afterwards. FALSE when it cannot be added.
    BOOL AddData(UINT nFormat, const void* pData, SIZE_T nBytes);

private:
    BOOL m_bOpen;
};
