// The advanced search's filter: each row of the criteria grid is one alternative,
// and within a row every filled cell must match.
#pragma once

#include "String.h"

#include <vector>

// cells[r][c] is what the user typed for field keys[c] in row r; empty cells are no
// condition. Two conditions are joined as "&(" E ") (" K=V ")", two rows as
// "|(" R ") (" E ")", and the whole is put in parentheses: "(&(sn=Smith) (l=Portland))".
// Values are taken as typed except that "(", ")", "\" and NUL are escaped; "*" is the
// wildcard. Empty when no cell is filled.
CString BuildAdvancedFilter(const std::vector<std::vector<CString>>& cells,
                            const std::vector<CString>& keys);
