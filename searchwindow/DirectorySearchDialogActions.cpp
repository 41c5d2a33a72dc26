// What the user does with a found entry in the Directory Search window: dial it,
// write to it, add it to the phone directory, see all its fields, choose which
// fields hold numbers, and the search-field button's list of fields.
#include "DirectorySearchDialog.h"

#include "EntryMap.h"
#include "EntryPropertiesDialog.h"
#include "EventLog.h"
#include "FieldSelectorPopup.h"
#include "HostMessages.h"
#include "ListColumnFields.h"
#include "Options.h"
#include "PhoneNumberChooser.h"
#include "Translation.h"
#include "resource.h"

#include <shellapi.h>

#include <memory>

namespace {

// Where the host keeps whether a call waits for the user's confirmation.
const wchar_t kConfirmDialKey[] = L"Software\\Tovana\\Tovana Quillet\\Config\\Options";
const wchar_t kConfirmDialValue[] = L"ConfirmDial";

} // namespace

BOOL CDirectorySearchDialog::OnActionCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CDirectorySearchDialog> map[] = {
        {ID_SEARCH_FIELD, ID_SEARCH_FIELD, &CDirectorySearchDialog::OnSearchField, nullptr},
        {ID_DIAL_NUMBER, ID_DIAL_NUMBER, &CDirectorySearchDialog::OnDialNumber,
         &CDirectorySearchDialog::OnUpdateDialNumber},
        {ID_SEND_EMAIL, ID_SEND_EMAIL, &CDirectorySearchDialog::OnSendEmail,
         &CDirectorySearchDialog::OnUpdateSendEmail},
        {ID_ADD_TO_DIRECTORY, ID_ADD_TO_DIRECTORY, &CDirectorySearchDialog::OnAddToDirectory,
         &CDirectorySearchDialog::OnUpdateEntrySelected},
        {ID_EDIT_PROPERTIES, ID_EDIT_PROPERTIES, &CDirectorySearchDialog::OnEditProperties,
         &CDirectorySearchDialog::OnUpdateEntrySelected},
        {ID_SELECT_PHONE_NUMBERS, ID_SELECT_PHONE_NUMBERS,
         &CDirectorySearchDialog::OnSelectPhoneNumbers,
         &CDirectorySearchDialog::OnUpdateSelectPhoneNumbers},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI);
}

// ---------------------------------------------------------------- keys and mouse

BOOL CDirectorySearchDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Enter anywhere but in the search box (which takes its own) dials, whether
    // or not calls are enabled: the Dial command's state does not stop it.
    if (LOWORD(wParam) == IDOK) {
        Dial();
        return TRUE;
    }
    return CDialogEx::OnCommand(wParam, lParam);
}

BOOL CDirectorySearchDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->idFrom == IDC_RESULT_LIST && pHdr->hwndFrom == m_listCtrl.m_hWnd) {
        if (pHdr->code == NM_DBLCLK) {
            Dial();
            *pResult = 0;
            return TRUE;
        }
        if (pHdr->code == NM_RCLICK) {
            ShowRowMenu(reinterpret_cast<NMITEMACTIVATE*>(lParam));
            *pResult = 0;
            return TRUE;
        }
    }
    return CDialogEx::OnNotify(wParam, lParam, pResult);
}

BOOL CDirectorySearchDialog::PreTranslateMessage(MSG* pMsg) {
    // Alt+Enter in the list opens the entry's properties. With Alt held the key
    // comes as a system key, which the list itself never reports.
    if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_RETURN &&
        pMsg->hwnd == m_listCtrl.m_hWnd) {
        SendMessage(WM_COMMAND, ID_EDIT_PROPERTIES);
        return TRUE;
    }
    return CDialogEx::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------- the selected entry

int CDirectorySearchDialog::SelectedRow() const {
    if (!m_listCtrl.m_hWnd || m_listCtrl.GetSelectedCount() != 1)
        return -1;
    return m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
}

CMapStringToString* CDirectorySearchDialog::SelectedEntry() const {
    const int nRow = SelectedRow();
    return nRow >= 0 ? reinterpret_cast<CMapStringToString*>(m_listCtrl.GetItemData(nRow))
                     : nullptr;
}

CString CDirectorySearchDialog::SelectedEmail() const {
    const int nRow = SelectedRow();
    if (nRow < 0)
        return CString();
    // The address as the row shows it; from the entry when its column is hidden.
    const int nColumn = m_listCtrl.GetColumnPosition(L"mail");
    if (nColumn >= 0)
        return m_listCtrl.GetItemText(nRow, nColumn);
    CString email;
    if (const CMapStringToString* pEntry = SelectedEntry())
        pEntry->Lookup(L"mail", email);
    return email;
}

bool CDirectorySearchDialog::HasNumberToDial(const CMapStringToString& entry) const {
    for (const auto& pColumn : m_listCtrl.m_columns) {
        CString value;
        if (pColumn->m_bPhoneNumber && entry.Lookup(pColumn->m_szName, value) && !value.IsEmpty())
            return true;
    }
    return false;
}

CString CDirectorySearchDialog::DialText(const CMapStringToString& entry) const {
    const CPersonFields person = GetPersonFields(entry);
    CString text;
    text.Format(L"%s %s %s", Text(2717).GetString(), person.strFirstName.GetString(),
                person.strLastName.GetString());
    return CMenu::LiteralText(text);
}

// ---------------------------------------------------------------- command states

void CDirectorySearchDialog::OnUpdateDialNumber(CCmdUI* pCmdUI) {
    const CMapStringToString* pEntry = SelectedEntry();
    const BOOL bEnable = m_bCallsEnabled && pEntry && HasNumberToDial(*pEntry);
    pCmdUI->Enable(bEnable);
    // The menu names whom it dials; otherwise it keeps its own text.
    pCmdUI->SetText(bEnable ? DialText(*pEntry) : Text(2729) + L"\t" + Text(2603));
}

void CDirectorySearchDialog::OnUpdateSendEmail(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!SelectedEmail().IsEmpty());
}

void CDirectorySearchDialog::OnUpdateEntrySelected(CCmdUI* pCmdUI) {
    pCmdUI->Enable(SelectedEntry() != nullptr);
}

void CDirectorySearchDialog::OnUpdateSelectPhoneNumbers(CCmdUI* pCmdUI) {
    OnUpdateFieldCommands(pCmdUI);
}

// ---------------------------------------------------------------- the actions

void CDirectorySearchDialog::Dial() {
    const int nRow = SelectedRow();
    CMapStringToString* pEntry = SelectedEntry();
    if (!pEntry)
        return;
    RECT row{};
    m_listCtrl.GetItemRect(nRow, &row, LVIR_LABEL);
    m_listCtrl.ClientToScreen(&row);
    const CString number = ChoosePhoneNumber(m_listCtrl, *pEntry, row, m_hWnd);
    if (number.IsEmpty())
        return;
    const CPersonFields person = GetPersonFields(*pEntry);
    if (m_pOptions->GetRegistryValue(HKEY_CURRENT_USER, kConfirmDialKey, kConfirmDialValue, 1) ==
        0) {
        m_pHost->SendHostMessage(HostMessage::kDial, reinterpret_cast<LPARAM>(number.GetString()));
        return;
    }
    // The host confirms the call and frees the record.
    auto* pRecord = new HostEntryRecord;
    pRecord->name = LastCommaFirst(person);
    pRecord->number = number;
    m_pHost->SendHostMessage(HostMessage::kDialConfirm, reinterpret_cast<LPARAM>(pRecord));
}

void CDirectorySearchDialog::OnSendEmail(UINT) {
    const CString email = SelectedEmail();
    if (email.IsEmpty())
        return;
    CString target;
    target.Format(L"mailto:%s", email.GetString());
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32 && m_pEventLog)
        m_pEventLog->Trace(L"Send Email: no program opened %s (%d)\n", target.GetString(),
                           static_cast<int>(result));
}

void CDirectorySearchDialog::OnAddToDirectory(UINT) {
    const CMapStringToString* pEntry = SelectedEntry();
    if (!pEntry)
        return;
    const CPersonFields person = GetPersonFields(*pEntry);
    // The host copies what it keeps before the message returns.
    auto pRecord = std::make_unique<HostEntryRecord>();
    pRecord->name = LastCommaFirst(person);
    pRecord->number = person.strTelephoneNumber;
    pRecord->email = person.strEmail;
    m_pHost->SendHostMessage(HostMessage::kAddToDirectory, reinterpret_cast<LPARAM>(pRecord.get()));
}

void CDirectorySearchDialog::OnEditProperties(UINT) {
    CMapStringToString* pEntry = SelectedEntry();
    if (!pEntry)
        return;
    AFX_MANAGE_STATE(m_pModuleState);
    // Owned by this window, which stays disabled, and so keeps the entry, meanwhile.
    CEntryPropertiesDialog dialog(pEntry, this);
    dialog.m_pTranslation = m_pTranslation;
    dialog.m_pHost = m_pHost.get();
    dialog.m_pNativeFont = m_pNativeFont;
    if (dialog.DoModal() == IDOK)
        OnCancel(); // Enter in the dialog: done with the directory (this object goes)
}

void CDirectorySearchDialog::OnSelectPhoneNumbers(UINT) {
    CListColumnFields fields(m_listCtrl);
    if (m_pOptions->SelectNumbers(fields, this))
        m_listCtrl.WriteControlSettings(); // kept even if the window then goes by Escape
}

void CDirectorySearchDialog::OnSearchField(UINT) {
    AFX_MANAGE_STATE(m_pModuleState);
    RECT button{};
    m_toolBar.GetItemRect(m_toolBar.CommandToIndex(ID_SEARCH_FIELD), &button);
    m_toolBar.ClientToScreen(&button);
    auto* pPopup = new CFieldSelectorPopup(this, &m_listCtrl, button);
    if (!pPopup->Create(IDD_FIELD_SELECTOR, this)) {
        delete pPopup; // no window was made: the template is missing
        return;
    }
    pPopup->ShowWindow(SW_RESTORE);
}

// ---------------------------------------------------------------- the row menu

void CDirectorySearchDialog::UpdateMenuBarStates() {
    HMENU hMenuBar = GetMenu();
    for (int i = 0; hMenuBar && i < ::GetMenuItemCount(hMenuBar); ++i) {
        if (HMENU hSubMenu = ::GetSubMenu(hMenuBar, i))
            SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSubMenu), MAKELPARAM(i, FALSE));
    }
}

void CDirectorySearchDialog::ShowRowMenu(NMITEMACTIVATE* pItem) {
    const CMapStringToString* pEntry = SelectedEntry();
    if (!pEntry)
        return;
    // The notification starts as an NMLISTVIEW does: item, sub-item and point.
    int nColumn = 0, nOffset = 0;
    m_listCtrl.GetSubItemOffset(reinterpret_cast<NMLISTVIEW*>(pItem), nColumn, nOffset);
    RECT row{};
    m_listCtrl.GetItemRect(SelectedRow(), &row,
                           nColumn == m_listCtrl.GetColumnPosition(L"cn") ? LVIR_LABEL
                                                                          : LVIR_BOUNDS);
    m_listCtrl.ClientToScreen(&row);

    UpdateMenuBarStates();
    CMenu menuBar = CMenu::Borrow(GetMenu());
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    auto append = [&](UINT nCommand, const CString& text) {
        const UINT nState = menuBar.GetMenuState(nCommand, MF_BYCOMMAND);
        const UINT nGrayed =
            nState == static_cast<UINT>(-1) ? 0 : nState & (MF_GRAYED | MF_DISABLED);
        menu.AppendMenu(MF_STRING | nGrayed, nCommand, text);
    };
    // Dial is offered for any number the Dial command can use, not only the
    // telephoneNumber attribute.
    const bool bNumber = HasNumberToDial(*pEntry);
    const CPersonFields person = GetPersonFields(*pEntry);
    if (bNumber)
        append(ID_DIAL_NUMBER, DialText(*pEntry));
    if (!person.strEmail.IsEmpty())
        append(ID_SEND_EMAIL, menuBar.GetMenuString(ID_SEND_EMAIL, MF_BYCOMMAND));
    if (bNumber && (m_bMayModify || m_bMayModifyPhoneDirectory))
        menu.AppendMenu(MF_SEPARATOR);
    if (m_bMayModify)
        append(ID_EDIT_PROPERTIES, menuBar.GetMenuString(ID_EDIT_PROPERTIES, MF_BYCOMMAND));
    if (m_bMayModifyPhoneDirectory)
        append(ID_ADD_TO_DIRECTORY, menuBar.GetMenuString(ID_ADD_TO_DIRECTORY, MF_BYCOMMAND));
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, row.left + nOffset, row.bottom, m_hWnd);
}
