#include "ServerManager.h"

#include "AccountAdvancedPage.h"
#include "AccountGeneralPage.h"
#include "DirectorySearchDialog.h"
#include "LDapAccountPropertySheet.h"
#include "ListProfile.h"
#include "TranslatedText.h"
#include "resource.h"

#include <vector>

namespace {

// A renamed server keeps what its former key held, values the sheet does not
// write included (an administrator's protocol version, say); then the edits are
// stored again. Done by removing and re-creating, so that a new name differing
// only in letter case renames the key too.
void MoveStoredAccount(const CString& strFormer, CLDapAccount& account) {
    CLDapAccount former(account);
    former.description = strFormer;
    CRegKey key;
    std::vector<CRegValue> values;
    if (key.Open(HKEY_CURRENT_USER, former.GetKeyPath()) == ERROR_SUCCESS)
        values = key.ReadValues();
    key.Close();
    account.Delete();
    former.Delete();
    if (key.Create(HKEY_CURRENT_USER, account.GetKeyPath()) == ERROR_SUCCESS) {
        for (const CRegValue& value : values)
            key.SetValue(value);
    }
    account.Save();
}

// The menu item of server nIndex: its number from 1, passing over the ids of Add,
// Remove and Properties, so that a long list of servers takes no command's place.
UINT ServerItemId(int nIndex) {
    const UINT nId = static_cast<UINT>(nIndex) + 1;
    return nId < ID_SERVER_ADD ? nId : nId + (ID_SERVER_PROPERTIES - ID_SERVER_ADD + 1);
}

int ServerIndexOf(UINT nId) {
    if (nId < ID_SERVER_ADD)
        return static_cast<int>(nId) - 1;
    return nId > ID_SERVER_PROPERTIES
               ? static_cast<int>(nId - (ID_SERVER_PROPERTIES - ID_SERVER_ADD + 1)) - 1
               : -1;
}

} // namespace

CServerManager::CServerManager(CDirectorySearchDialog& window)
    : m_window(window), m_pModuleState(AfxGetModuleState()) {}

CString CServerManager::Text(UINT nID) const {
    return TranslatedText(m_window.GetTranslation(), nID);
}

int CServerManager::FindCurrentServer() const {
    const CString& current = m_window.GetCurrentServerName();
    CLDapAccountArray& servers = m_window.GetServers();
    for (int i = 0; !current.IsEmpty() && i < servers.GetSize(); ++i) {
        if (servers[i].description == current)
            return i;
    }
    return -1;
}

void CServerManager::WriteCurrentServer(const CString& description) {
    if (CWinApp* pApp = AfxGetApp())
        CLDapAccountArray::WriteCurrentName(*pApp, description);
}

void CServerManager::BuildServerMenu() {
    AFX_MANAGE_STATE(m_pModuleState);
    m_serverMenu.CreatePopupMenu();
    CLDapAccountArray& servers = m_window.GetServers();
    for (int i = 0; i < servers.GetSize(); ++i)
        m_serverMenu.AppendMenu(MF_STRING, ServerItemId(i), CMenu::LiteralText(servers[i].description));
    if (servers.IsEmpty()) {
        m_window.SetServerButtonText(Text(3841));
        return;
    }
    if (m_window.MayModifyPublicSearch() && !m_window.IsCustomizeOpen()) {
        m_serverMenu.AppendMenu(MF_SEPARATOR);
        m_serverMenu.AppendMenu(MF_STRING, ID_SERVER_ADD, Text(2000) + L"...");
        m_serverMenu.AppendMenu(MF_STRING, ID_SERVER_REMOVE, Text(2011));
        m_serverMenu.AppendMenu(MF_STRING, ID_SERVER_PROPERTIES, Text(2010) + L"...");
    }
    int nCurrent = FindCurrentServer();
    if (nCurrent >= 0) {
        ::SetMenuDefaultItem(m_serverMenu, nCurrent, TRUE);
        m_window.SetServerButtonText(CMenu::LiteralText(servers[nCurrent].description));
    }
    if (m_window.IsCustomizeOpen())
        GreyForCustomize();
}

void CServerManager::SetCustomizeOpen(BOOL bOpen) {
    AFX_MANAGE_STATE(m_pModuleState);
    if (bOpen)
        GreyForCustomize();
    else
        BuildServerMenu(); // whole again, with the commands a menu built meanwhile left out
}

void CServerManager::GreyForCustomize() {
    // By command rather than by place: the menu may lack Add, Remove and Properties.
    const int nCurrent = FindCurrentServer();
    for (int i = 0; i < m_window.GetServers().GetSize(); ++i) {
        if (i != nCurrent)
            m_serverMenu.EnableMenuItem(ServerItemId(i), MF_BYCOMMAND | MF_GRAYED);
    }
    m_serverMenu.EnableMenuItem(ID_SERVER_ADD, MF_BYCOMMAND | MF_GRAYED);
    m_serverMenu.EnableMenuItem(ID_SERVER_REMOVE, MF_BYCOMMAND | MF_GRAYED);
}

void CServerManager::OnSearchIn() {
    AFX_MANAGE_STATE(m_pModuleState);
    if (m_window.GetServers().IsEmpty()) {
        AddServer();
        return;
    }
    RECT button = m_window.GetServerButtonRect();
    const UINT nChoice = static_cast<UINT>(m_serverMenu.TrackPopupMenu(
        TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, button.left, button.bottom, m_window));
    switch (nChoice) {
    case 0: // dismissed
        break;
    case ID_SERVER_ADD:
        AddServer();
        break;
    case ID_SERVER_REMOVE:
        RemoveServer();
        break;
    case ID_SERVER_PROPERTIES:
        EditServer();
        break;
    default:
        ChooseServer(ServerIndexOf(nChoice));
        break;
    }
}

void CServerManager::OnAddServer() {
    AFX_MANAGE_STATE(m_pModuleState);
    AddServer();
}

void CServerManager::ChooseServer(int nIndex) {
    CLDapAccountArray& servers = m_window.GetServers();
    if (nIndex < 0 || nIndex >= servers.GetSize() ||
        servers[nIndex].description == m_window.GetCurrentServerName())
        return;
    m_window.AbandonSearch();
    WriteCurrentServer(servers[nIndex].description);
    m_window.SetServerButtonText(CMenu::LiteralText(servers[nIndex].description));
    ::SetMenuDefaultItem(m_serverMenu, ServerItemId(nIndex), FALSE);
    m_window.SetCurrentServer(nIndex);
    m_window.SaveListSettings(); // still named after the server being left
    m_window.SwitchListToCurrentServer();
}

void CServerManager::AddServer() {
    if (!m_window.MayModifyPublicSearch() || m_window.IsCustomizeOpen())
        return;
    CLDapAccount account;
    if (EditAccount(account) != kStored || account.description.IsEmpty())
        return; // a destroyed sheet ends here too: the window may be gone
    account.Save();
    // The list is about to show the new server: a search of the previous one must
    // not go on filling it, nor keep its connection.
    m_window.AbandonSearch();
    CLDapAccountArray& servers = m_window.GetServers();
    m_window.SetCurrentServer(servers.Add(account));
    WriteCurrentServer(account.description);
    BuildServerMenu();
    m_window.SaveListSettings();
    m_window.SwitchListToCurrentServer();
}

void CServerManager::RemoveServer() {
    const int nIndex = FindCurrentServer();
    if (nIndex < 0)
        return;
    CLDapAccountArray& servers = m_window.GetServers();
    const CString listName = m_window.GetCurrentListName();
    servers[nIndex].Delete();
    RemoveFromList(nIndex);
    CListProfile::DeleteList(listName);
    m_window.SetCurrentServer(servers.IsEmpty() ? -1 : 0);
    WriteCurrentServer(m_window.GetCurrentServerName());
    BuildServerMenu();
    m_window.SwitchListToCurrentServer();
}

void CServerManager::EditServer() {
    const int nIndex = FindCurrentServer();
    if (nIndex < 0)
        return;
    const CString former = m_window.GetServers()[nIndex].description;
    if (EditAccount(m_window.GetServers().ElementAt(nIndex)) != kStored)
        return; // a destroyed sheet ends here too: the window may be gone
    // The edited server is still the current one, wherever it stands now.
    const int nEdited = m_window.GetCurrentServerIndex();
    CLDapAccount& account = m_window.GetServers().ElementAt(nEdited);
    if (account.description == former)
        return;
    // Renamed: its stored settings, the current server and its columns follow.
    MoveStoredAccount(former, account);
    m_window.SetCurrentServer(nEdited);
    WriteCurrentServer(account.description);
    m_window.MoveListSettings(former);
    BuildServerMenu();
}

void CServerManager::RemoveFromList(int nIndex) {
    const int nCurrent = m_window.GetCurrentServerIndex();
    if (nCurrent == nIndex)
        m_window.AbandonSearch(); // its connection goes with it
    m_window.GetServers().RemoveAt(nIndex);
    m_window.SetCurrentServer(nCurrent == nIndex  ? -1
                              : nCurrent > nIndex ? nCurrent - 1
                                                  : nCurrent);
}

int CServerManager::EditAccount(CLDapAccount& account) {
    CLDapAccountArray& servers = m_window.GetServers();
    int nIndex = -1;
    for (int i = 0; i < servers.GetSize(); ++i) {
        if (&servers[i] == &account)
            nIndex = i;
    }
    CTranslation* pTranslation = m_window.GetTranslation();
    CAccountAdvancedPage advancedPage(account, pTranslation);
    CAccountGeneralPage generalPage(account, advancedPage, pTranslation);
    CLDapAccountPropertySheet sheet(&m_window, pTranslation);
    sheet.AddPage(&generalPage);
    sheet.AddPage(&advancedPage);
    const INT_PTR nResult = sheet.DoModal();
    if (nResult != IDOK)
        return static_cast<int>(nResult); // Cancel is kNotStored; -2 touches nothing more

    const CString& description = generalPage.m_szDescription;
    if (description != account.description) {
        // Registry key names ignore letter case: a server whose name differs only
        // in case would be overwritten just the same.
        for (int i = 0; i < servers.GetSize(); ++i) {
            if (i == nIndex || servers[i].description.CompareNoCase(description) != 0)
                continue;
            if (m_window.MessageBox(Text(3451), Text(3232), MB_YESNO | MB_ICONQUESTION) != IDYES)
                return kNotStored;
            servers[i].Delete(); // the edited account is stored in its place below
            RemoveFromList(i);
            if (nIndex > i)
                --nIndex;
            break;
        }
    }
    // The list may have moved up: the account is found again by its place.
    CLDapAccount& target = nIndex >= 0 ? servers.ElementAt(nIndex) : account;
    target.description = description;
    target.logon = generalPage.m_szLogon;
    target.password = generalPage.m_szPassword;
    target.address = generalPage.m_szAddress;
    target.searchRoot = generalPage.m_szSearchRoot;
    target.maximumHits = advancedPage.m_nMaximumHits;
    target.port = advancedPage.m_nPort;
    target.timeout = advancedPage.m_nTimeout;
    if (advancedPage.m_nEncryption >= 0)
        target.encryption = advancedPage.m_nEncryption;
    const int nBind = advancedPage.m_nBindIndex;
    // Switched to the negotiated bind on the Advanced page and confirmed there,
    // without the General page having blanked the typed logon.
    if (nBind == CAccountAdvancedPage::kNegotiateBind && target.bindSelection != 0 &&
        generalPage.m_nCredentialsCleared == 0) {
        target.logon.Empty();
        target.password.Empty();
    }
    target.bindSelection = nBind;
    target.UpdateBindMethod();
    target.Save();
    return kStored;
}
