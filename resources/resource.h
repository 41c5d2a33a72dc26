// Resource ids of the module.
#pragma once

#define IDR_MAINFRAME_NAME 57344  // application name: the profile key
#define IDI_DIRECTORY_SEARCH 131
#define IDR_PROPERTIES_ACCEL 250

#define ID_COPY_PROPERTIES 255
#define ID_EDIT_PROPERTIES 32777
#define ID_FILE_SEARCH 32784
#define ID_ADD_TO_DIRECTORY 32785
#define ID_DIAL_NUMBER 32858
#define ID_CLOSE_WINDOW 57602
