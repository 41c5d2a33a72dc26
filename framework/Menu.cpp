#include "Menu.h"

#include "ModuleState.h"

CMenu& CMenu::operator=(CMenu&& other) noexcept {
    if (this != &other) {
        DestroyMenu();
        m_hMenu = other.m_hMenu;
        m_bOwned = other.m_bOwned;
        other.m_hMenu = nullptr;
    }
    return *this;
}

CMenu CMenu::Borrow(HMENU hMenu) {
    CMenu menu;
    menu.m_hMenu = hMenu;
    menu.m_bOwned = false;
    return menu;
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::Attach(HMENU hMenu) {
    DestroyMenu();
    m_hMenu = hMenu;
    m_bOwned = true;
    return hMenu != nullptr;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu() {
    BOOL result = FALSE;
    if (m_hMenu && m_bOwned)
        result = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return result;
}

CString CMenu::GetMenuString(UINT nIDItem, UINT nFlags) const {
    CString text;
    int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (n > 0) {
        ::GetMenuStringW(m_hMenu, nIDItem, text.GetBuffer(n + 1), n + 1, nFlags);
        text.ReleaseBuffer();
    }
    return text;
}
