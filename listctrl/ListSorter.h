// Sorting a list by the text of one column: each row's item data stands aside for
// a (data, text) pair while the list view sorts, so every cell is read once.
#pragma once

#include "String.h"

#include <vector>

class CListCtrlEx;

// What a row's item data holds during a sort.
struct CListSortItem {
    DWORD_PTR m_dwData; // the row's own item data (a pointer on 64-bit Windows)
    CString m_szText;   // the row's text in the sorted column
    // For a date column: the text read as a date once, on a line that orders
    // times; m_bDate is false when the text is no date.
    double m_dtDate = 0;
    bool m_bDate = false;
};

class CListSorter {
public:
    // Replaces every row's item data by its pair; the texts of a date column
    // (nSortType) are read as dates here, once per row.
    CListSorter(CListCtrlEx* pList, int nColumn, int nSortType);
    // Gives every row its own item data back.
    virtual ~CListSorter();
    CListSorter(const CListSorter&) = delete;
    CListSorter& operator=(const CListSorter&) = delete;

    // lParamSort: the column's sort type, negated for a descending sort.
    void Sort(LPARAM lParamSort);

    // A row's pair as the sorter makes it for a column of nSortType.
    static CListSortItem MakeItem(DWORD_PTR dwData, const CString& szText, int nSortType);

    // The list view's comparison of two rows' pairs.
    static int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

private:
    CListCtrlEx* m_pList;
    std::vector<CListSortItem> m_items; // the pairs; rows point into it while sorting
};
