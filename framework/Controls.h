// Thin wrappers of the standard and common controls: each is a CWnd whose
// members send the control's messages.
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
    void LimitText(int nChars) { SendMessage(EM_LIMITTEXT, nChars); }
    void ReplaceSel(const wchar_t* psz) {
        SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(psz));
    }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, nCheck); }
};

class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
    int AddString(const wchar_t* psz) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz)));
    }
    int InsertString(int nIndex, const wchar_t* psz) {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(psz)));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int FindStringExact(int nStart, const wchar_t* psz) const {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, nStart, reinterpret_cast<LPARAM>(psz)));
    }
    CString GetLBText(int nIndex) const {
        CString text;
        int n = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, nIndex));
        if (n > 0) {
            SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(text.GetBuffer(n + 1)));
            text.ReleaseBuffer();
        }
        return text;
    }
    DWORD_PTR GetItemData(int nIndex) const { return SendMessage(CB_GETITEMDATA, nIndex); }
    int SetItemData(int nIndex, DWORD_PTR data) {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, nIndex, data));
    }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    void ShowDropDown(BOOL bShow = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShow); }
    void LimitText(int nChars) { SendMessage(CB_LIMITTEXT, nChars); }
};

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
    int AddString(const wchar_t* psz) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz)));
    }
    int InsertString(int nIndex, const wchar_t* psz) {
        return static_cast<int>(
            SendMessage(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(psz)));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    CString GetText(int nIndex) const {
        CString text;
        int n = static_cast<int>(SendMessage(LB_GETTEXTLEN, nIndex));
        if (n > 0) {
            SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(text.GetBuffer(n + 1)));
            text.ReleaseBuffer();
        }
        return text;
    }
    DWORD_PTR GetItemData(int nIndex) const { return SendMessage(LB_GETITEMDATA, nIndex); }
    int SetItemData(int nIndex, DWORD_PTR data) {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, nIndex, data));
    }
};

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int nPos, HDITEMW* pItem) const {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMW, nPos, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(int nPos, HDITEMW* pItem) {
        return static_cast<BOOL>(SendMessage(HDM_SETITEMW, nPos, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL GetItemRect(int nIndex, RECT* pRect) const {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(pRect)));
    }
    int OrderToIndex(int nOrder) const {
        return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, nOrder));
    }
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    DWORD GetExtendedStyle() const {
        return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
    }
    DWORD SetExtendedStyle(DWORD dwStyle) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwStyle));
    }
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn) {
        return static_cast<int>(
            SendMessage(LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(pColumn)));
    }
    int InsertColumn(int nCol, const wchar_t* pszHeading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | (nWidth >= 0 ? LVCF_WIDTH : 0);
        column.pszText = const_cast<wchar_t*>(pszHeading);
        column.fmt = nFormat;
        column.cx = nWidth;
        return InsertColumn(nCol, &column);
    }
    BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, nCol)); }
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const {
        return static_cast<BOOL>(
            SendMessage(LVM_GETCOLUMNW, nCol, reinterpret_cast<LPARAM>(pColumn)));
    }
    BOOL SetColumn(int nCol, const LVCOLUMNW* pColumn) {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNW, nCol, reinterpret_cast<LPARAM>(pColumn)));
    }
    int GetColumnWidth(int nCol) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol));
    }
    BOOL SetColumnWidth(int nCol, int cx) {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)));
    }
    int InsertItem(const LVITEMW* pItem) {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    int InsertItem(int nItem, const wchar_t* pszItem) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = nItem;
        item.pszText = const_cast<wchar_t*>(pszItem);
        return InsertItem(&item);
    }
    BOOL SetItemText(int nItem, int nSubItem, const wchar_t* pszText) {
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.pszText = const_cast<wchar_t*>(pszText);
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item)));
    }
    CString GetItemText(int nItem, int nSubItem) const {
        // The control copies at most the buffer's size; grow until the text fits.
        CString text;
        for (int size = 256;; size *= 2) {
            LVITEMW item{};
            item.iSubItem = nSubItem;
            item.cchTextMax = size;
            item.pszText = text.GetBuffer(size);
            int n = static_cast<int>(
                SendMessage(LVM_GETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item)));
            if (n < size - 1) {
                text.ReleaseBuffer(n);
                return text;
            }
        }
    }
    DWORD_PTR GetItemData(int nItem) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
    }
    BOOL SetItemData(int nItem, DWORD_PTR data) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        item.lParam = static_cast<LPARAM>(data);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    UINT GetItemState(int nItem, UINT nMask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, nItem, nMask));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) {
        LVITEMW item{};
        item.state = nState;
        item.stateMask = nMask;
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item)));
    }
    // The check box of an item (LVS_EX_CHECKBOXES).
    BOOL GetCheck(int nItem) const {
        return (GetItemState(nItem, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
               INDEXTOSTATEIMAGEMASK(2);
    }
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE) {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, nItem, nFlags));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, nItem, bPartialOK));
    }
    BOOL GetItemRect(int nItem, RECT* pRect, UINT nCode) const {
        pRect->left = static_cast<LONG>(nCode);
        return static_cast<BOOL>(
            SendMessage(LVM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(pRect)));
    }
    BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, RECT* pRect) const {
        pRect->top = nSubItem;
        pRect->left = nArea;
        return static_cast<BOOL>(
            SendMessage(LVM_GETSUBITEMRECT, nItem, reinterpret_cast<LPARAM>(pRect)));
    }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, LPARAM lParamSort) {
        return static_cast<BOOL>(
            SendMessage(LVM_SORTITEMS, lParamSort, reinterpret_cast<LPARAM>(pfnCompare)));
    }
    BOOL Scroll(int dx, int dy) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, dx, dy)); }
    int HitTest(LVHITTESTINFO* pInfo) const {
        return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
    }
    int SubItemHitTest(LVHITTESTINFO* pInfo) {
        return static_cast<int>(
            SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
    }
    BOOL GetColumnOrderArray(int* pOrder, int nCount) const {
        return static_cast<BOOL>(
            SendMessage(LVM_GETCOLUMNORDERARRAY, nCount, reinterpret_cast<LPARAM>(pOrder)));
    }
    BOOL SetColumnOrderArray(int nCount, const int* pOrder) {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNORDERARRAY, nCount, reinterpret_cast<LPARAM>(pOrder)));
    }
};

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* pParent, DWORD dwStyle = 0) {
        return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParent->m_hWnd, nullptr);
    }
    // The owner relays its mouse messages (RelayEvent) unless uFlags has TTF_SUBCLASS.
    BOOL AddTool(HWND hOwner, const wchar_t* pszText, const RECT& rect, UINT_PTR nIDTool,
                 UINT uFlags = 0) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = uFlags;
        info.hwnd = hOwner;
        info.uId = nIDTool;
        info.rect = rect;
        info.lpszText = const_cast<wchar_t*>(pszText);
        return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    void SetDelayTime(DWORD dwDuration, int nTime) {
        SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(nTime, 0));
    }
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
};
