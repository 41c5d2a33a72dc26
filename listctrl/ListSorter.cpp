#include "ListSorter.h"

#include "ListColumn.h"
#include "ListCtrlEx.h"

#include <oleauto.h>

#include <cmath>

namespace {

// Automation dates count days from 30 December 1899 with the time of day as the
// fraction; before that day the fraction still counts forward, so the raw number
// does not order times within one day. This maps them onto one increasing line.
double LinearDate(double dtValue) {
    if (dtValue >= 0)
        return dtValue;
    double dtDay = std::ceil(dtValue);
    return dtDay - (dtValue - dtDay);
}

// Reads text the way the platform reads dates and times in the user's default
// format. Any failure, not only text that is no date, counts as unparsable.
bool ParseUserDateTime(const CString& szText, double& dtValue) {
    DATE date = 0;
    if (FAILED(::VarDateFromStr(const_cast<LPOLESTR>(szText.GetString()), LANG_USER_DEFAULT, 0,
                                &date)))
        return false;
    dtValue = LinearDate(date);
    return true;
}

} // namespace

CListSorter::CListSorter(CListCtrlEx* pList, int nColumn, int nSortType) : m_pList(pList) {
    const int nCount = pList->GetItemCount();
    m_items.reserve(nCount); // rows hold pointers into it: it must never move
    pList->m_bSwappingItemData = true;
    for (int i = 0; i < nCount; ++i) {
        m_items.push_back(
            MakeItem(pList->GetItemData(i), pList->GetItemText(i, nColumn), nSortType));
        pList->SetItemData(i, reinterpret_cast<DWORD_PTR>(&m_items.back()));
    }
    pList->m_bSwappingItemData = false;
}

CListSorter::~CListSorter() {
    const int nCount = m_pList->GetItemCount();
    m_pList->m_bSwappingItemData = true;
    for (int i = 0; i < nCount; ++i) {
        const auto* pItem = reinterpret_cast<const CListSortItem*>(m_pList->GetItemData(i));
        m_pList->SetItemData(i, pItem->m_dwData);
    }
    m_pList->m_bSwappingItemData = false;
}

CListSortItem CListSorter::MakeItem(DWORD_PTR dwData, const CString& szText, int nSortType) {
    CListSortItem item{dwData, szText};
    if (nSortType == ListSortType::Date)
        item.m_bDate = ParseUserDateTime(szText, item.m_dtDate);
    return item;
}

void CListSorter::Sort(LPARAM lParamSort) {
    m_pList->SortItems(CompareItems, lParamSort);
}

int CALLBACK CListSorter::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const auto* pItem1 = reinterpret_cast<const CListSortItem*>(lParam1);
    const auto* pItem2 = reinterpret_cast<const CListSortItem*>(lParam2);
    const int nSign = lParamSort < 0 ? -1 : 1;
    const LPARAM nType = nSign * lParamSort;

    if (nType == ListSortType::Text)
        return _wcsicmp(pItem1->m_szText, pItem2->m_szText) * nSign;
    if (nType == ListSortType::Date) {
        if (!pItem1->m_bDate || !pItem2->m_bDate)
            return 0;
        // Equal dates answer "greater"; their order is left to the list view.
        return (pItem1->m_dtDate < pItem2->m_dtDate ? -1 : 1) * nSign;
    }
    return 0;
}
