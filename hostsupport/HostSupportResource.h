// Resource ids of the host support library's own dialogs.
#pragma once

#define IDD_SELECT_NUMBERS 1001
#define IDC_SELECT_NUMBERS_PROMPT 1002
#define IDC_SELECT_NUMBERS_FIELDS 1003
