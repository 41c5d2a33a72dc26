// The Entry Properties dialog: every field of one directory entry as a Field/Value
// list, copied to the clipboard as text with Ctrl+C; F1 asks the host for help.
#pragma once

#include "ListCtrlEx.h"
#include "SearchWindowHost.h"

#include "Framework.h"

#include <functional>

class CTranslation;

// The registered clipboard format of the contact card that Ctrl+C adds.
constexpr wchar_t kVCardClipboardFormat[] = L"text/vcard";

class CEntryPropertiesDialog : public CDialog {
public:
    // The entry is borrowed from the search window's row for the dialog's life.
    // DoModal gives IDOK when the user pressed Enter, IDCANCEL for Close.
    CEntryPropertiesDialog(CMapStringToString* pEntry, CWnd* pParent);

    // The entry as text: one "label<tab>value<CR><LF>" line per value of each field.
    CString EntryText() const;

    // Set by the creator before DoModal.
    CFont* m_pNativeFont = nullptr;
    CTranslation* m_pTranslation = nullptr;
    ISearchWindowHost* m_pHost = nullptr; // for help requests

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString Text(UINT nID) const;
    CString Label(const CString& attribute) const;
    // Every value of every field with its label, in the entry's order.
    void ForEachValue(const std::function<void(const CString&, const CString&)>& take) const;
    // Ctrl+C: the text, and the entry as a vCard (kVCardClipboardFormat) beside it.
    void OnCopy(UINT);

    CListCtrlEx m_list;
    CMapStringToString* m_pEntry;
    HACCEL m_hAccelerators = nullptr; // a resource's: freed with the module
    CMapStringToString m_labels;      // attribute to display label
};
