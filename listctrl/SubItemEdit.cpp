#include "SubItemEdit.h"

#include "Gdi.h"

#include <string>
#include <utility>

CSubItemEdit::CSubItemEdit(int item, int subItem, CString initText)
    : m_nItem(item), m_nSubItem(subItem), m_szInitText(std::move(initText)) {}

BOOL CSubItemEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pList, UINT nID) {
    if (!CreateEx(0, L"EDIT", nullptr, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pList->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    // A control of a system class is attached once it exists, so its set-up runs
    // here rather than from its creation message.
    OnCreate();
    return TRUE;
}

void CSubItemEdit::OnCreate() {
    SetFont(reinterpret_cast<HFONT>(::SendMessageW(List(), WM_GETFONT, 0, 0)), TRUE);
    SetWindowText(m_szInitText);
    SetFocus();
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
}

BOOL CSubItemEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_DELETE || pMsg->wParam == VK_ESCAPE ||
         ::GetKeyState(VK_CONTROL) < 0)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

LRESULT CSubItemEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    default:
        return CEdit::WindowProc(message, wParam, lParam);
    }
}

void CSubItemEdit::OnChar(UINT nChar) {
    if (nChar == VK_ESCAPE || nChar == VK_RETURN) {
        if (nChar == VK_ESCAPE)
            m_bCancelled = TRUE;
        // Losing the focus ends the edit; the object is gone when this returns.
        ::SetFocus(List());
        return;
    }
    Default();
    GrowToText();
}

void CSubItemEdit::GrowToText() {
    const HWND hList = List();
    const CString szText = GetWindowText();
    SIZE size{};
    {
        CClientDC dc(m_hWnd);
        CSelectObject font(dc, reinterpret_cast<HFONT>(::SendMessageW(hList, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32W(dc, szText, szText.GetLength(), &size);
    }
    const int nNeeded = size.cx + 5;

    RECT rcClient, rcWindow, rcList;
    GetClientRect(&rcClient);
    GetWindowRect(&rcWindow);
    ::MapWindowPoints(nullptr, hList, reinterpret_cast<POINT*>(&rcWindow), 2);
    ::GetClientRect(hList, &rcList);
    if (nNeeded <= rcClient.right - rcClient.left)
        return;
    // The box keeps its place and height; the border comes on top of the text room.
    const int nBorder = (rcWindow.right - rcWindow.left) - (rcClient.right - rcClient.left);
    int nRight = rcWindow.left + nNeeded + nBorder;
    if (nRight >= rcList.right)
        nRight = rcList.right;
    if (nRight <= rcWindow.right)
        return;
    ::MoveWindow(m_hWnd, rcWindow.left, rcWindow.top, nRight - rcWindow.left,
                 rcWindow.bottom - rcWindow.top, TRUE);
}

void CSubItemEdit::OnKillFocus() {
    Default();
    const HWND hEdit = m_hWnd;
    const HWND hList = List();
    std::wstring szText = GetWindowText().str();

    NMLVDISPINFOW info{};
    info.hdr.hwndFrom = hList;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITW;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = m_nItem;
    info.item.iSubItem = m_nSubItem;
    info.item.pszText = m_bCancelled ? nullptr : szText.data();
    info.item.cchTextMax = static_cast<int>(szText.size());
    ::SendMessageW(::GetParent(hList), WM_NOTIFY, static_cast<WPARAM>(::GetDlgCtrlID(hList)),
                   reinterpret_cast<LPARAM>(&info));

    // Every way of leaving the box ends here; the object goes with the window. The
    // owner may already have destroyed both while it handled the notification.
    if (::IsWindow(hEdit))
        ::DestroyWindow(hEdit);
}
