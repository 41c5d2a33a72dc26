// The servers of the search window as a user and an administrator meet them: the
// Search In button and its menu, the account sheet driven from inside its modal
// loop, and everything stored for the servers read back with the registry API.
#pragma once

#include "HostSession.h"

#include <functional>
#include <map>
#include <set>

namespace servers {

using host::kServer;

// "key path|value name" -> the value as text, below the options root.
using Stored = std::map<std::wstring, std::wstring>;

// The accounts, the column sets and "Current".
Stored ReadStored();
// What differs: "Current", "account <name>" and "columns <name>".
std::set<std::wstring> Changes(const Stored& before, const Stored& after);
std::wstring AccountValue(const Stored& stored, const std::wstring& server, const wchar_t* name);
// A column set as the list stores it: one column per name, shown in this order.
void StoreColumns(const std::wstring& server, const std::vector<std::wstring>& names);

// Runs drive(sheet) from inside the modal loop of the next property sheet that
// this thread shows. A sheet still open afterwards is cancelled: a failing test
// cannot hang in it.
class SheetDriver {
public:
    explicit SheetDriver(std::function<void(HWND)> drive);
    ~SheetDriver();
    bool Ran() const { return m_bRan; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::function<void(HWND)> m_drive;
    UINT_PTR m_timer;
    bool m_bRan = false;
};

// The sheet as a user works it. Fields are found on the page shown.
HWND Field(HWND sheet, int id);
void Type(HWND sheet, int id, const std::wstring& text); // replaces the field's text
void ShowTab(HWND sheet, int index);
int CurrentTab(HWND sheet);
void Press(HWND sheet, int button);

class ServerTest : public host::SearchWindowTest {
protected:
    std::wstring ServerButtonText() const;
    void SetCurrent(const wchar_t* pszName); // null: no "Current" value
    // Clicks Search In and works through everything that started, a menu choice
    // (0: dismissed) and a sheet (driven by drive) included; the menu as shown.
    std::vector<kit::MenuItem> SearchIn(UINT nChoice = 0, std::function<void(HWND)> drive = {});
};

} // namespace servers
