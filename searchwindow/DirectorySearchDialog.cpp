// The Directory Search window: construction, initialisation, menus, prompts and
// closing. The search itself is in DirectorySearchDialogSearch.cpp.
#include "DirectorySearchDialog.h"

#include "EventLog.h"
#include "HostMessages.h"
#include "Options.h"
#include "RecentSearches.h"
#include "TranslatedText.h"
#include "Translation.h"
#include "resource.h"

namespace {

// The prompts, and the outcome of the search (CSearchStatusPane).
const UINT kIndicators[] = {ID_SEPARATOR, ID_SEPARATOR};
const UINT kToolbarButtons[] = {ID_SEARCH_FIELD, ID_SEARCH_BOX,      ID_FILE_SEARCH,
                                ID_SEPARATOR,    ID_SERVER_BUTTON,   ID_SEPARATOR,
                                ID_DIAL_NUMBER,  ID_SEND_EMAIL,      ID_EDIT_PROPERTIES,
                                ID_SEPARATOR,    ID_ADD_TO_DIRECTORY};

constexpr int kSearchBoxWidth = 150;
constexpr int kSearchBoxDropHeight = 135;

// Prompt texts: translation id, and whether the Alt+Enter or Enter key names follow.
struct PromptText {
    UINT nCommand;
    UINT nTextId;
    bool bAltEnter;
    bool bEnter;
};
const PromptText kPrompts[] = {
    {ID_EDIT_PROPERTIES, 3479, true, false},       {ID_SEARCH_FIELD, 3803, false, false},
    {ID_FILE_SEARCH, 3461, false, false},          {ID_ADD_TO_DIRECTORY, 3401, false, false},
    {ID_SEARCH_BOX, 3468, false, false},           {ID_DIAL_NUMBER, 3418, false, true},
    {ID_SEND_EMAIL, 3802, false, false},           {ID_SERVER_BUTTON, 3804, false, false},
    {ID_ADD_PUBLIC_DIRECTORY, 3801, false, false}, {ID_FIELD_ORGANIZER, 3831, false, false},
    {ID_SELECT_PHONE_NUMBERS, 3714, false, false}, {AFX_IDS_IDLEMESSAGE, 3115, false, false},
    {ID_CLOSE_WINDOW, 3437, false, false},
};

// Messages of the hand-off between a search worker and the window, registered
// once, on first use.
UINT SearchStartedMessage() {
    static const UINT nMessage = ::RegisterWindowMessageW(L"DirectorySearch.SearchStarted");
    return nMessage;
}
UINT SearchFailedMessage() {
    static const UINT nMessage = ::RegisterWindowMessageW(L"DirectorySearch.SearchFailed");
    return nMessage;
}

} // namespace

CDirectorySearchDialog::CDirectorySearchDialog(std::unique_ptr<ISearchWindowHost> pHost,
                                               const CSearchWindowServices& services)
    : CDialogEx(IDD_DIRECTORY_SEARCH, nullptr), m_pHost(std::move(pHost)),
      m_pNativeFont(services.pNativeFont), m_pEventLog(services.pEventLog),
      m_pTranslation(services.pTranslation), m_pOptions(COptions::GetOptions()),
      m_pManager(services.pManager), m_bMayModify(m_pOptions->ModifyPublicSearch()),
      m_bMayModifyPhoneDirectory(m_pOptions->ModifyPhoneDirectory()) {
    m_nWindowKind = kWindowKind;
    m_bAdvancedSearch = m_pOptions->Is(HostOption::AdvancedSearch);
    m_strPlacementEntry = L"DirectorySearch";
    m_pIndicators = kIndicators;
    m_nIndicators = static_cast<int>(std::size(kIndicators));
    m_bToolbarHasBitmap = TRUE;
    m_nBitmapResourceId = IDB_DIRECTORY_TOOLBAR;
    m_pButtons = kToolbarButtons;
    m_nButtons = static_cast<int>(std::size(kToolbarButtons));
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_DIRECTORY_SEARCH));
}

CDirectorySearchDialog::~CDirectorySearchDialog() {
    *m_pAlive = false;
    m_servers.SaveAll();
}

CString CDirectorySearchDialog::Text(UINT nID) const {
    return TranslatedText(m_pTranslation, nID);
}

void CDirectorySearchDialog::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RESULT_LIST, m_listCtrl);
}

BOOL CDirectorySearchDialog::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_pHandOff = std::make_shared<CSearchHandOff>(m_hWnd, SearchStartedMessage(),
                                                  SearchFailedMessage());
    m_searchStatus.Attach(&m_statusBar, m_pTranslation);

    m_strNameModeLabel = Text(3119);
    m_strTelephoneModeLabel = Text(3121);
    m_strEmailModeLabel = Text(3110);
    AddAnchor(&m_listCtrl, 0, 0);
    m_servers.LoadAll(m_pOptions);
    LocalizeMenus();
    CreateSearchBox();

    m_toolBar.SetSizes(SIZE{31, 27}, SIZE{24, 20});
    for (int i = 0; i < m_toolBar.GetCount(); ++i) {
        BYTE style = m_toolBar.GetButtonStyle(i);
        if (!(style & BTNS_SEP) && m_toolBar.GetItemID(i) != ID_SEARCH_BOX)
            m_toolBar.SetButtonStyle(i, style | BTNS_AUTOSIZE);
    }

    m_listCtrl.m_bSortColumns = TRUE;
    m_listCtrl.m_bColumnMenu = m_bMayModify;
    m_listCtrl.m_bPersistColumns = TRUE;
    m_listCtrl.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_listCtrl.m_pNotifyWnd = this;
    m_listCtrl.m_pTranslation = m_pTranslation;
    if (m_pNativeFont)
        m_listCtrl.SetFont(*m_pNativeFont);

    ChooseCurrentAccount();
    CString listName;
    if (m_pCurrentAccount)
        listName.Format(L"%s\\%s", m_strPlacementEntry.GetString(), m_strCurrentServer.GetString());
    // Reads the stored columns and takes over the header control.
    m_listCtrl.InitializeList(listName);
    if (m_pServerManagement)
        m_pServerManagement->BuildServerMenu();

    SelectNameMode();
    RecordAnchors();
    RestorePlacement();
    if (m_pSearchBox)
        m_pSearchBox->SetFocus();

    if (!m_bMayModifyPhoneDirectory) {
        int index = m_toolBar.CommandToIndex(ID_ADD_TO_DIRECTORY);
        if (index >= 0) {
            m_toolBar.DeleteButton(index);
            m_toolBar.DeleteButton(index - 1); // the separator before it
        }
    }
    if (!m_bMayModify) {
        int index = m_toolBar.CommandToIndex(ID_EDIT_PROPERTIES);
        if (index >= 0)
            m_toolBar.DeleteButton(index);
    }
    return FALSE; // the focus is in the search box
}

void CDirectorySearchDialog::ChooseCurrentAccount() {
    m_pCurrentAccount = AfxGetApp() ? m_servers.ChooseCurrent(*AfxGetApp()) : nullptr;
    m_strCurrentServer = m_pCurrentAccount ? m_pCurrentAccount->description : CString();
}

void CDirectorySearchDialog::LocalizeMenus() {
    CMenu menu = CMenu::Borrow(GetMenu());
    if (!menu.m_hMenu)
        return;
    const CString alt = Text(2600);
    const CString enter = Text(2603);
    // Only the captions change; the items, their ids and submenus stay.
    auto setText = [&](UINT nItem, BOOL bByPosition, const CString& text) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(text.GetString());
        ::SetMenuItemInfoW(menu, nItem, bByPosition, &info);
    };
    auto setTopLevel = [&](int nPos, UINT nTextId) { setText(nPos, TRUE, Text(nTextId)); };
    auto setItem = [&](UINT nCommand, const CString& text) { setText(nCommand, FALSE, text); };

    setTopLevel(0, 2739);
    setItem(ID_FILE_SEARCH, Text(2768));
    setItem(ID_ADD_PUBLIC_DIRECTORY, Text(2793) + L"...");
    setItem(ID_ADD_TO_DIRECTORY, Text(2702) + L"...");
    setItem(ID_CLOSE_WINDOW, Text(2720));
    if (!m_bMayModifyPhoneDirectory) {
        menu.DeleteMenu(ID_ADD_TO_DIRECTORY, MF_BYCOMMAND);
        menu.GetSubMenu(0).DeleteMenu(2, MF_BYPOSITION);
    }
    setTopLevel(1, 2733);
    setItem(ID_EDIT_PROPERTIES, Text(2783) + L"\t" + alt + L"+" + enter);
    setItem(ID_FIELD_ORGANIZER, Text(3712) + L"...");
    setItem(ID_SELECT_PHONE_NUMBERS, Text(3714) + L"...");
    setItem(ID_ADVANCE_SEARCH, Text(3717));
    setTopLevel(2, 2791);
    setItem(ID_DIAL_NUMBER, Text(2729) + L"\t" + enter);
    setItem(ID_SEND_EMAIL, Text(2734) + L"...");
    setTopLevel(3, 2742);
    setItem(ID_HELP_DIRECTORY, Text(2742) + L"\tF1");
    if (!m_bMayModify) {
        menu.DeleteMenu(ID_ADD_PUBLIC_DIRECTORY, MF_BYCOMMAND);
        menu.DeleteMenu(1, MF_BYPOSITION);
    }
    DrawMenuBar();
    m_strBaseTitle = Text(3231);
    SetWindowText(m_strBaseTitle);
}

BOOL CDirectorySearchDialog::GetMessageString(UINT nID, CString& tip, CString& prompt) {
    CString text;
    bool bKnown = false;
    for (const auto& p : kPrompts) {
        if (p.nCommand != nID)
            continue;
        bKnown = true;
        text = Text(p.nTextId);
        if (p.bAltEnter)
            text += L" (" + Text(2600) + L"+" + Text(2603) + L")";
        if (p.bEnter)
            text += L" (" + Text(2603) + L")";
        break;
    }
    if (!bKnown && m_pEventLog)
        m_pEventLog->Debug("CPhoneDirectoryDialog::CDirectorySearchDialog() - No tooltip for: %d",
                           nID);
    if (text.IsEmpty())
        text.LoadString(nID);
    if (text.IsEmpty())
        return FALSE;
    int lineFeed = text.Find(L'\n');
    prompt = lineFeed >= 0 ? text.Left(lineFeed) : text;
    tip = lineFeed >= 0 ? text.Mid(lineFeed + 1) : CString();
    return TRUE;
}

// ---------------------------------------------------------------- search box and modes

void CDirectorySearchDialog::CreateSearchBox() {
    int index = m_toolBar.CommandToIndex(ID_SEARCH_BOX);
    if (index < 0)
        return;
    RECT button;
    m_toolBar.GetItemRect(index, &button);
    m_toolBar.SetSeparator(index, kSearchBoxWidth);
    m_pSearchBox = std::make_unique<CSearchBox>();
    if (!m_pSearchBox->CreateEx(0, WC_COMBOBOXW, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN |
                                    CBS_AUTOHSCROLL | CBS_HASSTRINGS,
                                button.left, button.top + 2, kSearchBoxWidth,
                                button.bottom + kSearchBoxDropHeight - (button.top + 2),
                                m_toolBar.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_SEARCH_BOX)))) {
        m_pSearchBox.reset();
        return;
    }
    m_pSearchBox->ResetContent();
    m_pSearchBox->SetFont(m_pNativeFont ? static_cast<HFONT>(*m_pNativeFont) : GetFont());
    m_pSearchBox->m_pSearchWindow = this;
}

void CDirectorySearchDialog::PlaceSearchBox() {
    int index = m_toolBar.CommandToIndex(ID_SEARCH_BOX);
    if (!m_pSearchBox || index < 0)
        return;
    RECT button, box;
    m_toolBar.GetItemRect(index, &button);
    m_pSearchBox->GetWindowRect(&box);
    m_pSearchBox->SetWindowPos(nullptr, button.left, button.top + 2, box.right - box.left,
                               button.bottom + kSearchBoxDropHeight - (button.top + 2),
                               SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_toolBar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void CDirectorySearchDialog::SelectMode(const CString& label, const wchar_t* pszAttribute) {
    if (m_strSearchFieldLabel == label && !label.IsEmpty())
        return;
    m_strSearchFieldLabel = label;
    m_strSearchAttribute = pszAttribute;
    if (m_pSearchBox) {
        m_pSearchBox->ResetContent();
        m_pSearchBox->SetWindowText(L"");
    }
    m_toolBar.SetButtonText(m_toolBar.CommandToIndex(ID_SEARCH_FIELD), label);
    CStringList recent;
    m_pOptions->GetSubKeyValues(RecentSearchesKey(m_strSearchAttribute), recent, HKEY_CURRENT_USER);
    const bool bNameMode = m_strSearchAttribute == L"cn";
    for (POSITION pos = recent.GetHeadPosition(); pos;) {
        const CString& text = recent.GetNext(pos);
        if (m_pSearchBox && !(bNameMode && text.IsEmpty()))
            m_pSearchBox->AddString(text);
    }
    PlaceSearchBox();
}

void CDirectorySearchDialog::SelectNameMode() {
    SelectMode(m_strNameModeLabel, L"cn");
}

void CDirectorySearchDialog::SelectTelephoneMode() {
    SelectMode(m_strTelephoneModeLabel, L"telephoneNumber");
}

void CDirectorySearchDialog::SelectEmailMode() {
    SelectMode(m_strEmailModeLabel, L"mail");
}

void CDirectorySearchDialog::ApplyFieldChoice(const CString& label, const CString& attribute) {
    if (m_pSearchBox) {
        m_pSearchBox->ResetContent();
        m_pSearchBox->SetWindowText(L"");
    }
    m_toolBar.SetButtonText(m_toolBar.CommandToIndex(ID_SEARCH_FIELD), label);
    PlaceSearchBox();
    // The mode is set afresh even when it is the current one: its recent texts
    // were just cleared from the box.
    m_strSearchFieldLabel.Empty();
    if (attribute == L"cn") {
        SelectNameMode();
    } else if (attribute == L"mail") {
        SelectEmailMode();
    } else if (attribute == L"telephoneNumber") {
        SelectTelephoneMode();
    } else {
        m_strSearchFieldLabel = label;
        m_strSearchAttribute = attribute;
    }
}

void CDirectorySearchDialog::EnableCalls(BOOL bEnable) {
    m_bCallsEnabled = bEnable;
    if (m_toolBar.m_hWnd)
        m_toolBar.SendMessage(TB_ENABLEBUTTON, ID_DIAL_NUMBER,
                              MAKELPARAM(bEnable ? TRUE : FALSE, 0));
}

// ---------------------------------------------------------------- commands

BOOL CDirectorySearchDialog::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CDirectorySearchDialog> map[] = {
        {ID_FILE_SEARCH, ID_FILE_SEARCH, &CDirectorySearchDialog::OnFileSearch,
         &CDirectorySearchDialog::OnUpdateFileSearch},
        {ID_CLOSE_WINDOW, ID_CLOSE_WINDOW, &CDirectorySearchDialog::OnCloseWindow, nullptr},
        {ID_HELP_DIRECTORY, ID_HELP_DIRECTORY, &CDirectorySearchDialog::OnHelp, nullptr},
        {ID_SERVER_BUTTON, ID_SERVER_BUTTON, &CDirectorySearchDialog::OnServerCommand, nullptr},
        {ID_ADD_PUBLIC_DIRECTORY, ID_ADD_PUBLIC_DIRECTORY, &CDirectorySearchDialog::OnServerCommand,
         &CDirectorySearchDialog::OnUpdateAddServer},
        {ID_SERVER_ADD, ID_SERVER_ADD, nullptr, &CDirectorySearchDialog::OnUpdateAddServer},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI) || OnActionCmdMsg(nID, nCode, pCmdUI) ||
           OnCustomizeCmdMsg(nID, nCode, pCmdUI) || CDialogEx::OnCmdMsg(nID, nCode, pCmdUI);
}

void CDirectorySearchDialog::OnUpdateFileSearch(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_strCurrentServer.IsEmpty() && m_pSearchBox &&
                   m_pSearchBox->GetWindowTextLength() > 0);
}

void CDirectorySearchDialog::OnHelp(UINT) {
    m_pHost->SendHostMessage(HostMessage::kHelp, 0);
}

void CDirectorySearchDialog::OnCloseWindow(UINT) {
    OnClose();
}

void CDirectorySearchDialog::OnClose() {
    m_listCtrl.WriteControlSettings();
    CDialogEx::OnClose();
}

void CDirectorySearchDialog::OnCancel() {
    ClearRowData();
    CDialogEx::OnClose();
}

LRESULT CDirectorySearchDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SearchStartedMessage()) {
        OnSearchStarted();
        return 0;
    }
    if (message == SearchFailedMessage()) {
        OnSearchFailed(static_cast<UINT>(wParam), static_cast<SearchFailure>(lParam));
        return 0;
    }
    if (message == ServerCommandMessage()) {
        RunServerCommand(static_cast<UINT>(wParam));
        return 0; // the window may be gone: it can be destroyed while a sheet is open
    }
    switch (message) {
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_LIST_COLUMN_SHOWN:
        FillColumn(reinterpret_cast<const wchar_t*>(wParam));
        return 0;
    case WM_LIST_FIELD_ORGANIZER:
        OnFieldOrganizer(ID_FIELD_ORGANIZER);
        return 0;
    case WM_TIMER:
        if (wParam == kDeadlineTimer) {
            OnDeadline();
            return 0;
        }
        if (wParam != kResultTimer)
            break; // the base's own timer
        OnTimer();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_SIZE: {
        LRESULT result = CDialogEx::WindowProc(message, wParam, lParam);
        m_searchStatus.Layout();
        return result;
    }
    case WM_SETFOCUS: {
        LRESULT result = CDialogEx::WindowProc(message, wParam, lParam);
        if (m_pSearchBox && m_pSearchBox->m_hWnd)
            m_pSearchBox->SetFocus();
        return result;
    }
    case WM_DESTROY: {
        LRESULT result = CDialogEx::WindowProc(message, wParam, lParam);
        // Workers still running must not report to a window that is gone.
        if (m_pHandOff)
            m_pHandOff->WindowGone();
        KillTimer(kResultTimer);
        KillTimer(kDeadlineTimer);
        CloseConnection();
        ClearRowData();
        return result;
    }
    default:
        break;
    }
    return CDialogEx::WindowProc(message, wParam, lParam);
}

void CDirectorySearchDialog::PostNcDestroy() {
    // The customize window must not call back into a window that is gone.
    if (m_pCustomize)
        m_pCustomize->Release();
    m_pHost->OnSearchWindowDestroyed(m_nWindowKind);
    delete this;
}
