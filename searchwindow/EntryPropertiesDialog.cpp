#include "EntryPropertiesDialog.h"

#include "EntryMap.h"
#include "EntryVCard.h"
#include "HostMessages.h"
#include "TranslatedText.h"
#include "Translation.h"
#include "resource.h"

namespace {

struct AttributeLabel {
    const wchar_t* pszAttribute;
    UINT nTextId;
};
const AttributeLabel kLabels[] = {
    {L"dn", 3106}, {L"cn", 3102}, {L"mail", 3110},   {L"givenname", 3114},
    {L"sn", 3127}, {L"o", 3122},  {L"ou", 3123},     {L"l", 3116},
    {L"c", 3103},  {L"st", 3125}, {L"street", 3126},
};

constexpr UINT kColumnMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
constexpr int kModalLoopGone = -2;

} // namespace

CEntryPropertiesDialog::CEntryPropertiesDialog(CMapStringToString* pEntry, CWnd* pParent)
    : CDialog(IDD_ENTRY_PROPERTIES, pParent), m_pEntry(pEntry) {}

CString CEntryPropertiesDialog::Text(UINT nID) const {
    return TranslatedText(m_pTranslation, nID);
}

CString CEntryPropertiesDialog::Label(const CString& attribute) const {
    CString label;
    return m_labels.Lookup(attribute, label) ? label : attribute;
}

void CEntryPropertiesDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROPERTIES_LIST, m_list);
}

BOOL CEntryPropertiesDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const auto& label : kLabels)
        m_labels.SetAt(label.pszAttribute, Text(label.nTextId));

    SetWindowText(Text(3228));
    SetDlgItemText(IDCANCEL, Text(2006));

    m_list.AddColumn(L"Field", Text(3112), 150, 2, TRUE, TRUE, TRUE, TRUE, -1, kColumnMask,
                     LVCFMT_LEFT);
    m_list.AddColumn(L"Value", Text(3130), 220, 2, TRUE, TRUE, TRUE, TRUE, -1, kColumnMask,
                     LVCFMT_LEFT);
    m_list.m_bSortColumns = TRUE;
    m_list.m_ctlHeader.SubclassDlgItem(0, &m_list);
    if (m_pNativeFont)
        m_list.SetFont(*m_pNativeFont);

    // One row per value: a multi-valued field has a row for each of its values.
    ForEachValue([this](const CString& label, const CString& value) {
        const int nRow = m_list.InsertItem(m_list.GetItemCount(), label);
        m_list.SetItemText(nRow, 1, value);
    });
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_hAccelerators =
        ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_PROPERTIES_ACCEL));
    return TRUE;
}

void CEntryPropertiesDialog::ForEachValue(
    const std::function<void(const CString&, const CString&)>& take) const {
    if (!m_pEntry)
        return;
    CString attribute, value;
    for (POSITION pos = m_pEntry->GetStartPosition(); pos;) {
        m_pEntry->GetNextAssoc(pos, attribute, value);
        const CString label = Label(attribute);
        for (const CString& each : AllValues(*m_pEntry, attribute))
            take(label, each);
    }
}

CString CEntryPropertiesDialog::EntryText() const {
    CString text;
    ForEachValue([&text](const CString& label, const CString& value) {
        text += label + L"\t" + value + L"\r\n";
    });
    return text;
}

void CEntryPropertiesDialog::OnCopy(UINT) {
    CClipboard clipboard(m_hWnd);
    if (!clipboard.SetText(EntryText()) || !m_pEntry)
        return;
    // Beside the text, the entry as a contact that address books take when pasted.
    static const UINT nVCardFormat = ::RegisterClipboardFormatW(kVCardClipboardFormat);
    const std::string card = BuildVCard(*m_pEntry);
    clipboard.AddData(nVCardFormat, card.c_str(), card.size() + 1);
}

BOOL CEntryPropertiesDialog::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) {
    static const CommandMapEntry<CEntryPropertiesDialog> map[] = {
        {ID_COPY_PROPERTIES, ID_COPY_PROPERTIES, &CEntryPropertiesDialog::OnCopy, nullptr},
    };
    return DispatchCommand(this, map, nID, nCode, pCmdUI) || CDialog::OnCmdMsg(nID, nCode, pCmdUI);
}

BOOL CEntryPropertiesDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccelerators && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateAcceleratorW(m_hWnd, m_hAccelerators, pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CEntryPropertiesDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HELP:
        if (m_pHost)
            m_pHost->SendHostMessage(HostMessage::kHelp, 0);
        return TRUE;
    case WM_DESTROY: {
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        if (m_bModal)
            EndDialog(kModalLoopGone);
        return result;
    }
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}
