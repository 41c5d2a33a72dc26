// Where one list's settings live: the keys of its settings name in the
// application profile. Values go through the profile functions of the application
// object that was current when the list was made (the module's, whichever binary
// dispatches the message that saves); keys are removed through the host's options
// store, whose root is the same key.
#pragma once

#include "ModuleState.h"
#include "String.h"

class CWinApp;

class CListProfile {
public:
    CListProfile(CModuleState* pState, const CString& strName);

    // "ListControl\<name>", its "Column <i>" keys, and the column keys of the
    // localized titles under "ListControl\<name>-intl".
    CString ListKey() const;
    CString ColumnKey(int nIndex) const;
    CString LocalizedColumnKey(int nIndex) const;
    static CString ColumnKeyName(int nIndex);

    // Missing values (or no application object) give the default.
    int GetInt(const CString& szKey, LPCTSTR pszEntry, int nDefault) const;
    CString GetString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszDefault) const;
    void WriteInt(const CString& szKey, LPCTSTR pszEntry, int nValue) const;
    void WriteString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszValue) const;

    // Removes the child pszChild of pszKey with everything below it.
    static void DeleteKey(LPCTSTR pszKey, LPCTSTR pszChild);

private:
    CWinApp* App() const;

    CModuleState* m_pState;
    CString m_strName;
};
