// The search window's side of the server commands: which server is current, the
// Search In button, and the result list's columns per server. The commands
// themselves are carried out by the server management that the façade plugs in.
#include "DirectorySearchDialog.h"

#include "ListProfile.h"
#include "resource.h"

UINT CDirectorySearchDialog::ServerCommandMessage() {
    static const UINT nMessage = ::RegisterWindowMessageW(L"DirectorySearch.ServerCommand");
    return nMessage;
}

void CDirectorySearchDialog::SetServerManagement(std::unique_ptr<IServerManagement> pServers) {
    m_pServerManagement = std::move(pServers);
}

void CDirectorySearchDialog::OnServerCommand(UINT nID) {
    // A server command may open a modal sheet, and the host may destroy the window
    // while it is open. Run from a message of its own, the command returns straight
    // to the message loop: no handler of the gone window, or of the toolbar that was
    // clicked, is left to finish.
    PostMessage(ServerCommandMessage(), nID);
}

void CDirectorySearchDialog::RunServerCommand(UINT nID) {
    if (!m_pServerManagement)
        return;
    if (nID == ID_SERVER_BUTTON)
        m_pServerManagement->OnSearchIn();
    else if (nID == ID_ADD_PUBLIC_DIRECTORY)
        m_pServerManagement->OnAddServer();
}

void CDirectorySearchDialog::OnUpdateAddServer(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_bCustomizeOpen);
}

int CDirectorySearchDialog::GetCurrentServerIndex() const {
    for (int i = 0; i < m_servers.GetSize(); ++i) {
        if (&m_servers.GetAt(i) == m_pCurrentAccount)
            return i;
    }
    return -1;
}

void CDirectorySearchDialog::SetCurrentServer(int nIndex) {
    m_pCurrentAccount =
        nIndex >= 0 && nIndex < m_servers.GetSize() ? &m_servers.ElementAt(nIndex) : nullptr;
    m_strCurrentServer = m_pCurrentAccount ? m_pCurrentAccount->description : CString();
}

void CDirectorySearchDialog::SetServerButtonText(const CString& text) {
    m_toolBar.SetButtonText(m_toolBar.CommandToIndex(ID_SERVER_BUTTON), text);
    ::RedrawWindow(m_toolBar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

RECT CDirectorySearchDialog::GetServerButtonRect() const {
    RECT rc{};
    m_toolBar.GetItemRect(m_toolBar.CommandToIndex(ID_SERVER_BUTTON), &rc);
    m_toolBar.ClientToScreen(&rc);
    return rc;
}

CString CDirectorySearchDialog::GetCurrentListName() const {
    CString name;
    if (m_pCurrentAccount)
        name.Format(L"%s\\%s", m_strPlacementEntry.GetString(), m_strCurrentServer.GetString());
    return name;
}

void CDirectorySearchDialog::SaveListSettings() {
    m_listCtrl.WriteControlSettings();
}

void CDirectorySearchDialog::SwitchListToCurrentServer() {
    ClearRowData();
    m_listCtrl.DeleteAllItems();
    m_listCtrl.RemoveAllColumns();
    CWinApp* pApp = AfxGetApp();
    const CString current = pApp ? CLDapAccountArray::CurrentName(*pApp) : CString();
    if (current.IsEmpty()) {
        m_listCtrl.SetName(L"");
        return;
    }
    CString name;
    name.Format(L"%s\\%s", m_strPlacementEntry.GetString(), current.GetString());
    m_listCtrl.SetName(name);
    m_listCtrl.ReadColumns();
    m_listCtrl.ReadControlSettings();
}

void CDirectorySearchDialog::MoveListSettings(const CString& strFormer) {
    // Removed first: a new name that differs only in letter case is the same key.
    // Whatever was stored under the new name (a server this one replaced) goes too,
    // so the layout is written afresh under the name as now spelled.
    CListProfile::DeleteList(m_strPlacementEntry + L"\\" + strFormer);
    CListProfile::DeleteList(m_strPlacementEntry + L"\\" + m_strCurrentServer);
    m_listCtrl.SetName(GetCurrentListName());
    m_listCtrl.WriteControlSettings();
}

LRESULT CDirectorySearchDialog::SendHostMessage(WPARAM nCode, LPARAM lParam) {
    return m_pHost->SendHostMessage(nCode, lParam);
}
