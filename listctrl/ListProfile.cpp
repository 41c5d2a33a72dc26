#include "ListProfile.h"

#include "Options.h"
#include "WinApp.h"

CListProfile::CListProfile(CModuleState* pState, const CString& strName)
    : m_pState(pState), m_strName(strName) {}

CString CListProfile::ListKey() const {
    CString szKey;
    szKey.Format(L"ListControl\\%s", m_strName.GetString());
    return szKey;
}

CString CListProfile::ColumnKey(int nIndex) const {
    return ListKey() + L"\\" + ColumnKeyName(nIndex);
}

CString CListProfile::LocalizedColumnKey(int nIndex) const {
    CString szKey;
    szKey.Format(L"ListControl\\%s-intl", m_strName.GetString());
    return szKey + L"\\" + ColumnKeyName(nIndex);
}

CString CListProfile::ColumnKeyName(int nIndex) {
    CString szName;
    szName.Format(L"Column %d", nIndex);
    return szName;
}

CWinApp* CListProfile::App() const {
    AFX_MANAGE_STATE(m_pState);
    return AfxGetApp();
}

int CListProfile::GetInt(const CString& szKey, LPCTSTR pszEntry, int nDefault) const {
    CWinApp* pApp = App();
    return pApp ? static_cast<int>(pApp->GetProfileInt(szKey, pszEntry, nDefault)) : nDefault;
}

CString CListProfile::GetString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszDefault) const {
    CWinApp* pApp = App();
    return pApp ? pApp->GetProfileString(szKey, pszEntry, pszDefault) : CString(pszDefault);
}

void CListProfile::WriteInt(const CString& szKey, LPCTSTR pszEntry, int nValue) const {
    if (CWinApp* pApp = App())
        pApp->WriteProfileInt(szKey, pszEntry, nValue);
}

void CListProfile::WriteString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszValue) const {
    if (CWinApp* pApp = App())
        pApp->WriteProfileString(szKey, pszEntry, pszValue);
}

void CListProfile::DeleteKey(LPCTSTR pszKey, LPCTSTR pszChild) {
    COptions::GetOptions()->DeleteSubKey(pszKey, pszChild);
}
