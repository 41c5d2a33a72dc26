#include "SearchStatusPane.h"

#include "TranslatedText.h"
#include "Translation.h"

#include <algorithm>

namespace {

// Texts of the host's translation tables.
constexpr UINT kSearchingText = 3900;      // "Searching…"
constexpr UINT kSearchingCountText = 3901; // "Searching… %d"
constexpr UINT kFoundText = 3902;          // "%d found (%d.%d s)"
constexpr UINT kTruncatedText = 3903;      // "First %d shown — …"
constexpr UINT kNoMatchText = 3904;        // "No match"
constexpr UINT kInitFailedText = 3905;     // no connection could be opened
constexpr UINT kUnreachableText = 3906;    // the server did not answer
constexpr UINT kLogonRefusedText = 3907;   // the server refused the bind
constexpr UINT kSecureFailedText = 3908;   // no encrypted connection
constexpr UINT kSearchRefusedText = 3909;  // the request could not be sent
constexpr UINT kConnectionLostText = 3910; // the results could not be received
constexpr UINT kServerErrorText = 3911;    // "Search failed: %s"

// Room around the text inside the pane, and the share of the bar the pane may take
// from the prompts.
constexpr int kPadding = 16;
constexpr int kMaxShareNumerator = 2, kMaxShareDenominator = 3;

} // namespace

void CSearchStatusPane::Attach(CStatusBar* pBar, const CTranslation* pTranslation) {
    m_pBar = pBar;
    m_pTranslation = pTranslation;
    Layout();
}

CString CSearchStatusPane::Text(UINT nID) const {
    return TranslatedText(m_pTranslation, nID);
}

void CSearchStatusPane::Started() {
    m_nStartTick = ::GetTickCount64();
    Show(Text(kSearchingText));
}

void CSearchStatusPane::Progress(int nEntries) {
    CString text;
    text.Format(Text(kSearchingCountText), nEntries);
    Show(text);
}

void CSearchStatusPane::Finished(int nEntries, ULONG nResult) {
    CString text;
    if (nResult == LDAP_SIZELIMIT_EXCEEDED) {
        text.Format(Text(kTruncatedText), nEntries);
    } else if (nEntries == 0) {
        text = Text(kNoMatchText);
    } else {
        const ULONGLONG nTenths = (::GetTickCount64() - m_nStartTick + 50) / 100;
        text.Format(Text(kFoundText), nEntries, static_cast<int>(nTenths / 10),
                    static_cast<int>(nTenths % 10));
    }
    Show(text);
}

void CSearchStatusPane::Failed(SearchFailure failure) {
    UINT nID = kSearchRefusedText;
    switch (failure) {
    case SearchFailure::Init:
        nID = kInitFailedText;
        break;
    case SearchFailure::Connect:
    case SearchFailure::NoAnswer:
        nID = kUnreachableText;
        break;
    case SearchFailure::Bind:
        nID = kLogonRefusedText;
        break;
    case SearchFailure::Secure:
        nID = kSecureFailedText;
        break;
    case SearchFailure::Receive:
        nID = kConnectionLostText;
        break;
    case SearchFailure::Search:
        break;
    }
    Show(Text(nID));
}

void CSearchStatusPane::ServerError(const CString& reason) {
    CString text;
    text.Format(Text(kServerErrorText), reason.GetString());
    Show(text);
}

void CSearchStatusPane::Clear() {
    Show(CString());
}

void CSearchStatusPane::Show(const CString& text) {
    m_strText = text;
    Layout();
    if (m_pBar && m_pBar->m_hWnd)
        m_pBar->SetPaneText(kPane, m_strText);
}

void CSearchStatusPane::Layout() {
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    RECT bar;
    m_pBar->GetClientRect(&bar);
    int cxText = 0;
    if (!m_strText.IsEmpty()) {
        CClientDC dc(m_pBar->m_hWnd);
        CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(m_pBar->SendMessage(WM_GETFONT)));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, m_strText, m_strText.GetLength(), &size);
        cxText = static_cast<int>(size.cx) + kPadding;
    }
    const int cxBar = static_cast<int>(bar.right);
    const int cxPane = std::min(cxText, cxBar * kMaxShareNumerator / kMaxShareDenominator);
    int edges[] = {std::max(cxBar - cxPane, 0), -1};
    m_pBar->SendMessage(SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}
