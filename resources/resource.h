// Resource ids of the module.
#pragma once

#define IDD_DIRECTORY_SEARCH 102
#define IDD_ACCOUNT_ADVANCED 104
#define IDD_ACCOUNT_GENERAL 105
#define IDC_SEARCH_BOX 105
#define IDD_ENTRY_PROPERTIES 107
#define IDR_DIRECTORY_SEARCH_MENU 128
#define IDI_DIRECTORY_SEARCH 131
#define IDB_DIRECTORY_TOOLBAR 137
#define IDD_FIELD_SELECTOR 139
#define IDR_PROPERTIES_ACCEL 250
#define IDC_RESULT_LIST 1013
#define IDC_PROPERTIES_LIST 1060
#define IDC_FIELD_LIST 1079
#define IDR_MAINFRAME_NAME 57344  // application name: the profile key

// The account property sheet's pages. Both pages label their first field 1071.
#define IDC_PORT 1030
#define IDC_TIMEOUT 1031
#define IDC_MAXIMUM_HITS 1032
#define IDC_DESCRIPTION 1040
#define IDC_ADDRESS 1041
#define IDC_LOGON 1042
#define IDC_PASSWORD 1043
#define IDC_SEARCH_ROOT 1044
#define IDC_PORT_LABEL 1068
#define IDC_TIMEOUT_LABEL 1069
#define IDC_MAXIMUM_HITS_LABEL 1070
#define IDC_DESCRIPTION_LABEL 1071
#define IDC_BIND_OPTION_LABEL 1071
#define IDC_ADDRESS_LABEL 1072
#define IDC_LOGON_LABEL 1073
#define IDC_PASSWORD_LABEL 1074
#define IDC_SEARCH_ROOT_LABEL 1075
#define IDC_BIND_OPTION 1081
// Encryption on the Advanced page; the connection test and the search roots the
// server offers on the General page.
#define IDC_ENCRYPTION 1150
#define IDC_ENCRYPTION_LABEL 1151
#define IDC_TEST_CONNECTION 1152
#define IDC_TEST_RESULT 1153
#define IDC_SEARCH_ROOT_CHOICES 1154
// Fallback of the host's text 2809: a description that cannot name a registry key.
#define IDS_DESCRIPTION_NOT_A_KEY 2809

// Commands.
#define ID_SERVER_ADD 106          // server menu: Add...
#define ID_SERVER_REMOVE 107       // server menu: Remove
#define ID_SERVER_PROPERTIES 108   // server menu: Properties...
#define ID_COPY_PROPERTIES 255
#define ID_EDIT_PROPERTIES 32777
#define ID_SEARCH_FIELD 32781
#define ID_FILE_SEARCH 32784
#define ID_ADD_TO_DIRECTORY 32785
#define ID_SEARCH_BOX 32795
#define ID_DIAL_NUMBER 32858
#define ID_SEND_EMAIL 33074
#define ID_SERVER_BUTTON 35002
#define ID_ADD_PUBLIC_DIRECTORY 35007
#define ID_FIELD_ORGANIZER 35008
#define ID_SELECT_PHONE_NUMBERS 35009
#define ID_HELP_DIRECTORY 35013
#define ID_ADVANCE_SEARCH 35014
#define ID_CLOSE_WINDOW 57602
