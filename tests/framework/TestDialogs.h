// Resource ids of the test programs' own dialogs and menus.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_FIRST_EDIT 1001
#define IDC_SECOND_EDIT 1002

#define IDR_TEST_MENU 200
#define ID_TEST_HANDLED 40001
#define ID_TEST_DISABLED 40002
#define ID_TEST_UNHANDLED 40003
#define ID_TEST_RANGE_FIRST 40010
#define ID_TEST_RANGE_LAST 40012
