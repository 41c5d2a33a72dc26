// CString: the wide-character string of the framework, a value type over std::wstring.
#pragma once

#include "FrameworkApi.h"

#include <windows.h>

#include <cstdarg>
#include <string>

class FW_API CString {
public:
    CString() = default;
    CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}
    CString(const wchar_t* pch, int nLength) : m_str(pch, pch ? nLength : 0) {}
    CString(wchar_t ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(std::wstring str) : m_str(std::move(str)) {}
    // Narrow text is taken as UTF-8.
    explicit CString(const char* psz);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int nIndex) const { return m_str.at(nIndex); }
    wchar_t operator[](int nIndex) const { return m_str.at(nIndex); }
    void SetAt(int nIndex, wchar_t ch) { m_str.at(nIndex) = ch; }

    operator const wchar_t*() const { return m_str.c_str(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }
    std::string ToUtf8() const;

    CString& operator=(const wchar_t* psz) {
        m_str = psz ? psz : L"";
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const wchar_t* psz) {
        if (psz)
            m_str += psz;
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_str += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_str + b.m_str);
    }
    friend CString operator+(const CString& a, const wchar_t* b) {
        return CString(a.m_str + (b ? b : L""));
    }
    friend CString operator+(const wchar_t* a, const CString& b) {
        return CString((a ? a : L"") + b.m_str);
    }
    friend CString operator+(const CString& a, wchar_t ch) { return CString(a.m_str + ch); }

    // Exact, case-sensitive comparison; the operators below use it.
    int Compare(const wchar_t* psz) const;
    // Comparison that ignores case the way the platform's lstrcmpi does.
    int CompareNoCase(const wchar_t* psz) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
    friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    // Positions are zero-based; -1 means not found.
    int Find(wchar_t ch, int nStart = 0) const;
    int Find(const wchar_t* pszSub, int nStart = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* pszChars) const;

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

    // White space is what iswspace accepts: blank, tab, line feed, carriage return,
    // vertical tab and form feed.
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }
    CString& TrimLeft(wchar_t ch);
    CString& TrimRight(wchar_t ch);

    CString& MakeLower();
    CString& MakeUpper();
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(const wchar_t* pszOld, const wchar_t* pszNew);
    int Remove(wchar_t ch);
    int Insert(int nIndex, const wchar_t* psz);
    int Delete(int nIndex, int nCount = 1);

    // printf-style formatting with the platform's wide conventions (%s is a wide string).
    void Format(const wchar_t* pszFormat, ...);
    void FormatV(const wchar_t* pszFormat, va_list args);
    void AppendFormat(const wchar_t* pszFormat, ...);

    // Loads a string resource from the current resource module; FALSE when absent.
    BOOL LoadString(UINT nID);

    // Direct access to a buffer of at least nMinLength characters for Win32 calls;
    // ReleaseBuffer trims to the first NUL (or to nNewLength when given).
    wchar_t* GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::wstring m_str;
};
