// Sorting 10,000 rows of an extended list by a text column and by a date column,
// beside a bare list-view sort of the same rows by their item data. Prints table
// rows (fastest and median of the rounds); asserts nothing.
//
//   listsort_bench.exe [--rounds N]
#include "ListCtrlEx.h"

#include "Framework.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kRows = 10000;

// A fixed pseudo-random sequence, so that every run sorts the same rows.
class CSequence {
public:
    unsigned Next() {
        m_nState = m_nState * 1103515245u + 12345u;
        return (m_nState >> 8) & 0xFFFFFF;
    }

private:
    unsigned m_nState = 20240611u;
};

CString RandomName(CSequence& sequence) {
    static const wchar_t* const kFirst[] = {L"anna",  L"Ben",   L"carla", L"Dieter", L"eva",
                                            L"Frank", L"greta", L"Hans",  L"ida",    L"Jonas"};
    static const wchar_t* const kLast[] = {L"Meyer", L"schulz",  L"Wagner", L"becker", L"Hoffmann",
                                           L"koch",  L"Richter", L"klein",  L"Wolf",   L"neumann"};
    CString name;
    name.Format(L"%s %s %05u", kLast[sequence.Next() % 10], kFirst[sequence.Next() % 10],
                sequence.Next() % 100000);
    return name;
}

// A date and time as the user's locale writes them, between 2000 and 2024.
CString RandomDate(CSequence& sequence) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(2000 + sequence.Next() % 25);
    st.wMonth = static_cast<WORD>(1 + sequence.Next() % 12);
    st.wDay = static_cast<WORD>(1 + sequence.Next() % 28);
    st.wHour = static_cast<WORD>(sequence.Next() % 24);
    st.wMinute = static_cast<WORD>(sequence.Next() % 60);
    wchar_t szDate[64] = L"", szTime[64] = L"";
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, szDate, 64);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, szTime, 64);
    return CString(szDate) + L" " + szTime;
}

int CALLBACK CompareItemData(LPARAM lParam1, LPARAM lParam2, LPARAM) {
    return lParam1 < lParam2 ? -1 : lParam1 > lParam2 ? 1 : 0;
}

// The bare sort: an order unrelated to the start order, at almost no cost per
// comparison.
int CALLBACK CompareScrambled(LPARAM lParam1, LPARAM lParam2, LPARAM) {
    const unsigned n1 = static_cast<unsigned>(lParam1) * 2654435761u;
    const unsigned n2 = static_cast<unsigned>(lParam2) * 2654435761u;
    return n1 < n2 ? -1 : n1 > n2 ? 1 : 0;
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

struct Times {
    double fastest = 0, median = 0;
};

Times Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return {times.front(), n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2};
}

// `sort` timed once, on the rows as they were shuffled.
template <class TSort> double TimeOnce(CListCtrlEx& list, TSort sort) {
    // The rows' item data are their shuffled start order: put that back.
    list.SortItems(CompareItemData, 0);
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    sort();
    ::QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

void PrintRow(const char* pszWhat, Times t, Times bare) {
    std::printf("| %-34s | %8.1f ms | %8.1f ms | %8.1f ms | %6.1f |\n", pszWhat, t.fastest,
                t.median, bare.median, t.median / bare.median);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    int nRounds = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds"))
            nRounds = std::max(1, std::atoi(argv[++i]));
    }
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);

    CWnd frame;
    frame.CreateEx(0, nullptr, L"List sort benchmark", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                   nullptr);
    HWND hList = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                                   0, 780, 560, frame, nullptr, nullptr, nullptr);
    CListCtrlEx list;
    list.SubclassWindow(hList);
    list.AddColumn(L"Name", L"Name", 200, ListSortType::Text, FALSE, TRUE, TRUE, FALSE, -1, 15, 0);
    list.AddColumn(L"When", L"When", 200, ListSortType::Date, FALSE, TRUE, TRUE, FALSE, -1, 15, 0);

    // Rows go in at shuffled places; each row's item data is its insertion number.
    CSequence sequence;
    for (int i = 0; i < kRows; ++i) {
        const CString name = RandomName(sequence);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(sequence.Next() % (i + 1));
        item.pszText = const_cast<wchar_t*>(name.GetString());
        item.lParam = i;
        const int nRow = list.InsertItem(&item);
        list.SetItemText(nRow, 1, RandomDate(sequence));
    }
    ::ShowWindow(frame, SW_SHOWNOACTIVATE);
    ::UpdateWindow(frame);

    // Round by round, so that the machine's load weighs on all three alike.
    std::vector<double> bare, text, date;
    for (int round = 0; round < nRounds; ++round) {
        bare.push_back(TimeOnce(list, [&] { list.SortItems(CompareScrambled, 0); }));
        text.push_back(TimeOnce(list, [&] {
            list.m_nSortedColumn = -1;
            list.SortColumn(0, TRUE, FALSE);
        }));
        date.push_back(TimeOnce(list, [&] {
            list.m_nSortedColumn = -1;
            list.SortColumn(1, TRUE, FALSE);
        }));
    }
    PrintRow("SortColumn, 10,000 rows by text", Summary(text), Summary(bare));
    PrintRow("SortColumn, 10,000 rows by date", Summary(date), Summary(bare));
    PrintRow("bare LVM_SORTITEMS, 10,000 rows", Summary(bare), Summary(bare));
    frame.DestroyWindow();
    return 0;
}
