// Resources of the list tests: a dialog holding one report list.
#pragma once

#define IDD_LIST_HOST 100
#define IDC_TEST_LIST 1000
#define IDC_TEST_EDIT 1001
