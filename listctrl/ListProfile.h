// Where one list's settings live: the keys of its settings name in the
// application profile. Values go through the profile functions of the application
// object that was current when the list was made (the module's, whichever binary
// dispatches the message that saves); keys are removed through the host's options
// store, whose root is the same key.
#pragma once

#include "ModuleState.h"
#include "Registry.h"
#include "String.h"

#include <vector>

class CWinApp;

// The values one registry key is to hold, in the order they are written, each as
// the profile functions write it.
class CProfileValues {
public:
    using Value = CRegValue;
    void AddInt(LPCTSTR pszName, int nValue);
    void AddString(LPCTSTR pszName, LPCTSTR pszValue);
    const std::vector<Value>& Values() const { return m_values; }

private:
    std::vector<Value> m_values;
};

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
    // Removes everything stored for the list of that settings name: its key and the
    // key of its localized titles.
    static void DeleteList(const CString& strName);

    // Makes the list key hold exactly `list` and, as its only children, the column
    // keys 0..n-1 holding exactly `columns`: the result of deleting the list key
    // and writing it afresh. What is stored is read once and only the difference
    // is written; under Wine every registry call is a round trip to the server.
    void StoreListKey(const CProfileValues& list, const std::vector<CProfileValues>& columns) const;
    // Writes one text value unless it is stored already.
    void UpdateString(const CString& szKey, LPCTSTR pszEntry, LPCTSTR pszValue) const;

private:
    CWinApp* App() const;

    CModuleState* m_pState;
    CString m_strName;
};
