#include "String.h"

#include "ModuleState.h"

#include <cwctype>

CString::CString(const char* psz) {
    if (!psz || !*psz)
        return;
    int n = MultiByteToWideChar(CP_UTF8, 0, psz, -1, nullptr, 0);
    if (n > 1) {
        m_str.resize(n - 1);
        MultiByteToWideChar(CP_UTF8, 0, psz, -1, m_str.data(), n);
    }
}

std::string CString::ToUtf8() const {
    if (m_str.empty())
        return {};
    int n =
        WideCharToMultiByte(CP_UTF8, 0, m_str.c_str(), GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, m_str.c_str(), GetLength(), out.data(), n, nullptr, nullptr);
    return out;
}

int CString::Compare(const wchar_t* psz) const {
    return m_str.compare(psz ? psz : L"");
}

int CString::CompareNoCase(const wchar_t* psz) const {
    return lstrcmpiW(m_str.c_str(), psz ? psz : L"");
}

int CString::Find(wchar_t ch, int nStart) const {
    if (nStart < 0 || nStart > GetLength())
        return -1;
    auto pos = m_str.find(ch, nStart);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    auto pos = m_str.find(pszSub, nStart);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    auto pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* pszChars) const {
    auto pos = m_str.find_first_of(pszChars ? pszChars : L"");
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const {
    if (nCount <= 0)
        return CString();
    return CString(m_str.substr(0, nCount));
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0)
        return CString();
    return CString(m_str.substr(nFirst, nCount));
}

CString CString::Right(int nCount) const {
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return CString(m_str.substr(m_str.size() - nCount));
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && std::iswspace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && std::iswspace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == ch)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight(wchar_t ch) {
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == ch)
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::MakeLower() {
    if (!m_str.empty())
        CharLowerBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeUpper() {
    if (!m_str.empty())
        CharUpperBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
    int n = 0;
    for (auto& c : m_str) {
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const wchar_t* pszOld, const wchar_t* pszNew) {
    std::wstring oldText = pszOld ? pszOld : L"";
    std::wstring newText = pszNew ? pszNew : L"";
    if (oldText.empty())
        return 0;
    int n = 0;
    for (size_t pos = m_str.find(oldText); pos != std::wstring::npos;
         pos = m_str.find(oldText, pos + newText.size())) {
        m_str.replace(pos, oldText.size(), newText);
        ++n;
    }
    return n;
}

int CString::Remove(wchar_t ch) {
    size_t before = m_str.size();
    std::wstring kept;
    kept.reserve(before);
    for (wchar_t c : m_str) {
        if (c != ch)
            kept += c;
    }
    m_str.swap(kept);
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, const wchar_t* psz) {
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > GetLength())
        nIndex = GetLength();
    m_str.insert(nIndex, psz ? psz : L"");
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex >= 0 && nIndex < GetLength() && nCount > 0)
        m_str.erase(nIndex, nCount);
    return GetLength();
}

void CString::FormatV(const wchar_t* pszFormat, va_list args) {
    va_list counting;
    va_copy(counting, args);
    int n = _vscwprintf(pszFormat, counting);
    va_end(counting);
    if (n < 0) {
        m_str.clear();
        return;
    }
    std::wstring out(n + 1, L'\0');
    _vsnwprintf(out.data(), out.size(), pszFormat, args);
    out.resize(n);
    m_str.swap(out);
}

void CString::Format(const wchar_t* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* pszFormat, ...) {
    CString tail;
    va_list args;
    va_start(args, pszFormat);
    tail.FormatV(pszFormat, args);
    va_end(args);
    m_str += tail.m_str;
}

BOOL CString::LoadString(UINT nID) {
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(p, n);
    return TRUE;
}

wchar_t* CString::GetBuffer(int nMinLength) {
    if (nMinLength > GetLength())
        m_str.resize(nMinLength);
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(nNewLength);
}
