#include "AdvancedFilter.h"

#include "SearchFilter.h"

CString BuildAdvancedFilter(const std::vector<std::vector<CString>>& cells,
                            const std::vector<CString>& keys) {
    CString result;
    for (const auto& row : cells) {
        CString expression;
        for (size_t c = 0; c < row.size() && c < keys.size(); ++c) {
            if (row[c].IsEmpty())
                continue;
            const CString condition = keys[c] + L"=" + EscapeFilterValue(row[c]);
            expression =
                expression.IsEmpty() ? condition : L"&(" + expression + L") (" + condition + L")";
        }
        if (expression.IsEmpty())
            continue;
        result = result.IsEmpty() ? expression : L"|(" + result + L") (" + expression + L")";
    }
    return result.IsEmpty() ? result : L"(" + result + L")";
}
