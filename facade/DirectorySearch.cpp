#include "DirectorySearch.h"

#include "CustomizeSearchLink.h"
#include "DirectorySearchDialog.h"
#include "HtmlHelp.h"
#include "LdapVersionProbe.h"
#include "ServerManager.h"

#include <cstdlib>
#include <new>

// The search window's link to the façade that made it.
class CSearchWindowLink : public ISearchWindowHost {
public:
    explicit CSearchWindowLink(CDirectorySearch& facade) : m_facade(facade) {}
    LRESULT SendHostMessage(WPARAM nCode, LPARAM lParam) override {
        return m_facade.SendHostMessage(nCode, lParam);
    }
    void OnSearchWindowDestroyed(int nWindowKind) override {
        m_facade.OnSearchWindowDestroyed(nWindowKind);
    }

private:
    CDirectorySearch& m_facade;
};

CDirectorySearch::CDirectorySearch(HWND hHostControlWnd) : m_hHostControlWnd(hHostControlWnd) {}

CDirectorySearch::~CDirectorySearch() = default;

void* CDirectorySearch::operator new(size_t nSize) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    void* p = std::malloc(nSize);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void CDirectorySearch::operator delete(void* p) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    std::free(p);
}

void CDirectorySearch::SetManager(CManager* pManager) {
    m_pManager = pManager;
}

void CDirectorySearch::SetNativeFont(CFont* pFont) {
    m_pNativeFont = pFont;
}

void CDirectorySearch::SetEventLog(CEventLog* pEventLog) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_pEventLog = pEventLog;
}

void CDirectorySearch::SetTranslation(CTranslation* pTranslation) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_pTranslation = pTranslation;
}

void CDirectorySearch::SetMainFrame(CFrameWnd* pMainFrame) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_pMainFrame = pMainFrame;
}

void CDirectorySearch::EnableCalls(BOOL bEnable) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    m_bCallsEnabled = bEnable;
    if (m_pSearchWindow)
        m_pSearchWindow->EnableCalls(bEnable);
}

CWnd* CDirectorySearch::DisplaySearchDialog() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (m_pSearchWindow) {
        if (m_pSearchWindow->IsIconic())
            m_pSearchWindow->ShowWindow(SW_RESTORE);
        m_pSearchWindow->SetFocus();
    } else {
        // A top-level window of its own, not owned by the host's frame.
        auto* pWindow = new CDirectorySearchDialog(
            std::make_unique<CSearchWindowLink>(*this),
            CSearchWindowServices{m_pEventLog, m_pTranslation, m_pManager, m_pNativeFont});
        pWindow->SetServerManagement(std::make_unique<CServerManager>(*pWindow));
        // The customize window reaches HTML Help through the module's one binding.
        pWindow->SetCustomizeSearch(std::make_unique<CCustomizeSearchLink>(*pWindow, &HtmlHelpW));
        if (!pWindow->Create()) {
            delete pWindow;
            return nullptr;
        }
        m_pSearchWindow = pWindow;
        if (!m_pSearchWindow->IsZoomed())
            m_pSearchWindow->ShowWindow(SW_RESTORE);
    }
    m_pSearchWindow->EnableCalls(m_bCallsEnabled);
    return m_pSearchWindow;
}

void CDirectorySearch::CloseDialogs() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (m_pSearchWindow)
        m_pSearchWindow->SendMessage(WM_CLOSE);
}

int CDirectorySearch::ldapCheckVersion(CString server, int port) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return ProbeLdapVersion(server, port);
}

LRESULT CDirectorySearch::SendHostMessage(WPARAM nCode, LPARAM lParam) const {
    return ::SendMessageW(m_hHostControlWnd, HostMessage::kId, nCode, lParam);
}

void CDirectorySearch::OnSearchWindowDestroyed(int nWindowKind) {
    m_pSearchWindow = nullptr;
    SendHostMessage(HostMessage::kWindowDestroyed, nWindowKind);
}
