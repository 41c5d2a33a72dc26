// What the list tests share: an application object with the module's profile
// root, raw registry access below that root, and a dialog that holds a list and
// records what the list tells its owner.
#pragma once

#include "ListCtrlEx.h"

#include "Framework.h"
#include "MessageLog.h"
#include "RegistrySandbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CTranslation;

namespace lctest {

// HKCU\Software\Tovana\Tovana Quillet: the options root and the profile root.
extern const wchar_t kRootKey[];

// Raw registry, paths relative to kRootKey.
std::wstring FullPath(const std::wstring& path);
inline bool HasKey(const std::wstring& path) {
    return ::KeyExists(FullPath(path));
}
std::optional<DWORD> ReadDword(const std::wstring& path, const wchar_t* name);
std::optional<std::wstring> ReadString(const std::wstring& path, const wchar_t* name);
inline std::vector<std::wstring> ValueNames(const std::wstring& path) {
    return RawValueNames(FullPath(path));
}
inline void WriteDword(const std::wstring& path, const wchar_t* name, DWORD value) {
    WriteRawNumber(FullPath(path), name, value);
}
inline void WriteString(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    WriteRawText(FullPath(path), name, value);
}

// The host's translation tables, in the language of option 110.
CTranslation* Translation();

// The pixels an owner-drawn item draws into a w x h bitmap first filled with `fill`, in
// `font` when one is given.
struct DrawnPixels {
    int w = 0;
    std::vector<COLORREF> p; // row by row
    COLORREF At(int x, int y) const { return p[static_cast<size_t>(y * w + x)]; }
};
DrawnPixels DrawItem(UINT type, HWND control, UINT state, int w, int h, COLORREF fill,
                     const std::function<void(DRAWITEMSTRUCT*)>& draw, HFONT font = nullptr);

// The message filter of a host: the windows from the message's own up to its
// top-level window pre-translate it.
BOOL PreTranslateThroughWindows(MSG* pMsg);

constexpr int kOwnerHandler = -1;

class ListHostDialog : public CDialog {
public:
    ListHostDialog();
    ~ListHostDialog() override;
    // Creates and shows the dialog with the list attached; the list gets `width`
    // pixels of client area.
    bool Open(int width = 400);
    HWND List() const { return m_list.m_hWnd; }
    HWND Header() const { return m_list.GetHeaderCtrl(); }
    // Adds a column that shows at once (the list does not persist here).
    void AddTextColumn(const wchar_t* name, int width, BOOL edit = TRUE, BOOL remove = TRUE);
    void AddRow(const std::vector<std::wstring>& cells, LPARAM data = 0);
    std::vector<std::wstring> Column(int column) const;
    // The middle of a cell, in list client coordinates.
    POINT CellPoint(int row, int column) const;

    CListCtrlEx m_list;
    std::vector<std::wstring> m_shownColumns; // WM_USER+112
    int m_organizerRequests = 0;              // WM_USER+113
    // LVN_ENDLABELEDIT as "row,column text/length" (text "(none)" when cancelled), with
    // "?" in front when it did not come from the list's editor (id 112) to the
    // list's parent.
    std::vector<std::wstring> m_editEnds;
    std::vector<int> m_clickedRows; // NM_CLICK as the owner sees it
    // When set, gets what the owner's handler sees of item-data changes and edit
    // ends, as window kOwnerHandler.
    kit::MessageLog* m_pLog = nullptr;
    bool m_bRefuseDataChanges = false;
    int m_okCount = 0;
    int m_cancelCount = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnOK() override { ++m_okCount; }
    void OnCancel() override { ++m_cancelCount; }
};

// Every test runs with the tests' application object current, an empty
// "ListControl" key, the language option unset, and a dialog with a list open.
class ListTest : public testing::Test {
    CModuleStateSwitch m_state; // first made, last gone

protected:
    ListTest();
    void SetUp() override;
    void TearDown() override;
    static void SetLanguage(int nLanguage);
    static void ClearSettings();

    int m_nListWidth = 400;
    ListHostDialog m_dlg;
};

} // namespace lctest
