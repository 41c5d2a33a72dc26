// The server commands of the Directory Search window: the Search In button's menu
// of servers, choosing, adding, removing and editing a server, and the
// edit-account operation that runs the account property sheet.
#pragma once

#include "Framework.h"
#include "ServerManagement.h"

class CDirectorySearchDialog;
class CLDapAccount;

class CServerManager : public IServerManagement {
public:
    // Results of EditAccount beside the sheet's own.
    static constexpr int kStored = 1;
    static constexpr int kNotStored = 2;

    // Made under the module's state, which its commands run under.
    explicit CServerManager(CDirectorySearchDialog& window);

    void BuildServerMenu() override;
    void OnSearchIn() override;
    void OnAddServer() override;
    void SetCustomizeOpen(BOOL bOpen) override;

    // Runs the account sheet on account (an element of the window's server list, or
    // a new account) and, when the user confirms, stores the edits: kStored. The
    // user cancelling or keeping another server of that description: kNotStored,
    // nothing changed. The sheet destroyed from outside: -2, and the window may be
    // gone with this object.
    int EditAccount(CLDapAccount& account);

private:
    CString Text(UINT nID) const;
    void AddServer();
    void ChooseServer(int nIndex);
    void RemoveServer();
    void EditServer();
    // The current server's place in the list (and in the menu), -1 when none.
    int FindCurrentServer() const;
    void WriteCurrentServer(const CString& description);
    // Greys every server but the current one, and Add and Remove.
    void GreyForCustomize();
    // Takes element nIndex out of the server list; the current server stays current.
    void RemoveFromList(int nIndex);

    CDirectorySearchDialog& m_window;
    CMenu m_serverMenu;
    CModuleState* m_pModuleState;
};
