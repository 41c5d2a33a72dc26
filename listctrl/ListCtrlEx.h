// CListCtrlEx: the report list of every multi-column list of the module. It keeps
// a catalogue of column definitions of which any subset is shown in a chosen
// order, saves and restores it per settings name, sorts by a header click, offers
// a column menu on the header and edits cells in place.
#pragma once

#include "ListColumn.h"
#include "ListHeaderCtrl.h"

#include "Controls.h"
#include "ModuleState.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CListProfile;
class CProfileValues;
class CSubItemEdit;
class CSupplementaryTextPainter;
class CTranslation;

// Sent to m_pNotifyWnd: a hidden column was shown again from the header menu
// (wParam: the column name, valid during the call only).
constexpr UINT WM_LIST_COLUMN_SHOWN = WM_USER + 112;
// Sent to m_pNotifyWnd: the user chose the header menu's field-organizer command.
constexpr UINT WM_LIST_FIELD_ORGANIZER = WM_USER + 113;

using CListColumnList = std::vector<std::unique_ptr<CListColumn>>;

class CListCtrlEx : public CListCtrl {
public:
    CListCtrlEx();
    ~CListCtrlEx() override;

    // The usual start of a persisted list: name it, read its stored columns, take
    // over its header (once the list has a window) and apply the stored view style
    // and sort state.
    void InitializeList(const CString& strName);

    // ------------------------------------------------------------ catalogue
    void SetName(const CString& name) { m_strName = name; }
    int AddColumn(LPCTSTR name, LPCTSTR title, int width, int sortType, BOOL phoneNumber,
                  BOOL remove, BOOL move, BOOL edit, int column, UINT mask, int format);
    // index -1 puts the column after the last shown one. With bInsert, later
    // columns move right and the owner is told.
    BOOL DisplayColumn(LPCTSTR name, int index, BOOL bInsert);
    void DisplayColumns();
    BOOL DeleteColumn(int column);
    void RemoveAllColumns();
    void ReadColumns();
    void ReadColumnsOnly();
    BOOL ReadControlSettings();
    BOOL WriteControlSettings();
    CListColumn* FindColumn(const CString& name) const;
    CListColumn* GetColumnAt(int column) const;
    int GetColumnPosition(const CString& name) const;
    CString GetColumnName(int column) const;
    int GetColumnSortType(int column) const;
    BOOL IsColumnEditable(int column) const;
    BOOL HasHiddenColumns() const;
    int GetDisplayedColumnCount() const;
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetColumnWidthByTitle(const CString& title) const;
    // The shown columns in the order of their positions.
    std::vector<CListColumn*> GetShownColumns() const;
    void GetSubItemOffset(NMLISTVIEW* pNMListView, int& column, int& offset) const;

    // ------------------------------------------------------------ sorting
    void SortColumn(int column, BOOL bFlip, BOOL bSave);

    // Nothing is drawn or laid out while one lives, and the list is drawn once
    // when it goes; a list that was not drawing stays so. For changes to many
    // rows at once, each of which would otherwise redraw its row.
    class CDrawingPause {
    public:
        explicit CDrawingPause(CListCtrlEx& list);
        ~CDrawingPause();
        CDrawingPause(const CDrawingPause&) = delete;
        CDrawingPause& operator=(const CDrawingPause&) = delete;

    private:
        CListCtrlEx& m_list;
        bool m_bPaused;
    };

    // ------------------------------------------------------------ column menu
    // column: the clicked display position; x, y: screen point of the click.
    void ShowColumnMenu(int column, int x, int y);

    // ------------------------------------------------------------ in-place editing
    // Opens an editor over the cell; null when the cell cannot be edited.
    CSubItemEdit* EditSubLabel(int nItem, int nCol);

    int m_nSortedColumn = -1;
    CListHeaderCtrl m_ctlHeader;
    CWnd* m_pNotifyWnd = nullptr;
    CTranslation* m_pTranslation = nullptr;
    CString m_strName;
    CListColumnList m_columns;
    // The editor made last; compared with the window under the mouse only.
    CSubItemEdit* m_pEdit = nullptr;
    BOOL m_bCaptureReleased = FALSE;
    BOOL m_bSortColumns = FALSE;
    int m_bSortAsending = -1;
    BOOL m_bColumnMenu = FALSE;
    BOOL m_bColumnsChanged = FALSE;
    int m_nLastClickedItem = -1;
    bool m_bNoDisplayOnRead = false;
    BOOL m_bPersistColumns = FALSE;
    // Counts WriteControlSettings calls: owners that remember what is stored look
    // again when it changes.
    UINT m_nSettingsWrites = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnColumnclick(NMLISTVIEW* pNMListView, LRESULT* pResult);
    BOOL OnClick(NMLISTVIEW* pNMListView, LRESULT* pResult);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnMouseMove(UINT nFlags, POINT point);
    // Cells with characters outside the basic multilingual plane (ListCtrlExDraw.cpp).
    void OnCustomDraw(NMLVCUSTOMDRAW& draw, LRESULT* pResult);
    void DrawSupplementaryCell(const NMLVCUSTOMDRAW& draw);

private:
    CListProfile Profile() const;
    BOOL IsLocalized() const;
    void ReadStoredColumn(const CListProfile& profile, int nIndex, const CString& szName,
                          BOOL bLocalized);
    CString ReadLocalizedTitle(const CListProfile& profile, int nIndex, const CString& szName);
    // width: the column's width as the header shows it, -1 when it does not.
    CProfileValues ColumnValues(const CListProfile& profile, int nIndex, const CListColumn& column,
                                BOOL bLocalized, int width);
    // The width of the first header item with each text, read in one pass.
    std::unordered_map<std::wstring, int> HeaderWidthsByTitle() const;
    // Shown columns take the positions 0..n-1 in the order of the positions they
    // have (ties in catalogue order); other negative positions become -1 (hidden).
    void CompactPositions();
    BOOL ShowColumn(CListColumn& column, int index, BOOL bInsert);
    void AddTitle(CProfileValues& values, const CListProfile& profile, int nIndex,
                  const CListColumn& column, BOOL bLocalized);
    // The column that shows the sort arrow for a sort by `column`.
    int ArrowColumn(int column) const;

    // The module state current when the list was made: its settings belong to
    // that binary's application object.
    CModuleState* m_pModuleState;
    // Set while a sort puts its pairs into the rows' item data or takes them out.
    bool m_bSwappingItemData = false;
    // Whether drawing is on (WM_SETREDRAW); the list view cannot be asked.
    bool m_bRedraw = true;
    // Made for the first cell the list view cannot draw itself.
    std::unique_ptr<CSupplementaryTextPainter> m_pTextPainter;
    // The text of the cell being drawn, from its pre-paint stage to its post-paint one.
    CString m_strDrawnCell;
    friend class CListSorter;
};
