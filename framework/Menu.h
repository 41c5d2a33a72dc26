// CMenu: a menu handle, owned (destroyed with the object) or borrowed.
#pragma once

#include "String.h"

class FW_API CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(CMenu&& other) noexcept : m_hMenu(other.m_hMenu), m_bOwned(other.m_bOwned) {
        other.m_hMenu = nullptr;
    }
    CMenu& operator=(CMenu&& other) noexcept;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // A non-owning view of a menu that belongs to someone else.
    static CMenu Borrow(HMENU hMenu);
    // Text as a menu item (or a button) shows it as typed: "&" doubled, so that it
    // underlines nothing.
    static CString LiteralText(CString text) {
        text.Replace(L"&", L"&&");
        return text;
    }

    BOOL LoadMenu(UINT nIDResource);
    BOOL CreatePopupMenu();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }

    CMenu GetSubMenu(int nPos) const { return Borrow(::GetSubMenu(m_hMenu, nPos)); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    CString GetMenuString(UINT nIDItem, UINT nFlags) const;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const wchar_t* pszNewItem = nullptr) {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL InsertMenu(UINT nPos, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    const wchar_t* pszNewItem = nullptr) {
        return ::InsertMenuW(m_hMenu, nPos, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL ModifyMenu(UINT nPos, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    const wchar_t* pszNewItem = nullptr) {
        return ::ModifyMenuW(m_hMenu, nPos, nFlags, nIDNewItem, pszNewItem);
    }
    BOOL DeleteMenu(UINT nPos, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPos, nFlags); }
    BOOL RemoveMenu(UINT nPos, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPos, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    DWORD CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
        return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
    }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hOwner) const {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hOwner, nullptr);
    }

private:
    bool m_bOwned = true;
};
