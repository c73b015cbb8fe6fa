// Resource identifiers of the setup program. Plain #defines only: the
// resource script, the program and the native tests all include this file.
#pragma once

#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_BUTTON_OPENFOLDER 3
#define IDC_BUTTON_ADVANCED 4
#define IDC_EDIT_OS 1000
#define IDC_EDIT_MODEL 1001
#define IDC_CHECK_DEFAULT 1002
#define IDC_CHECK_OPENFOLDER 1003
#define IDC_STATIC_OS 1004
#define IDC_STATIC_MODEL 1005
#define IDC_PROGRESS 1007
#define IDC_GROUP_INSTALL 1010
#define IDC_GROUP_DISKETTE 1012
#define IDC_GROUP_COPY 1013
#define IDC_STATIC_DISK_OS 1014
#define IDC_STATIC_DRIVE 1015
#define IDC_COMBO_DISK_OS 1016
#define IDC_COMBO_DRIVE 1017
#define IDC_BUTTON_MAKEDISK 1018
#define IDC_STATIC_FOLDER 1019
#define IDC_EDIT_FOLDER 1020
#define IDC_BUTTON_BROWSE 1021
#define IDC_BUTTON_COPY 1022
#define IDC_BUTTON_BACK 1023
#define IDC_BUTTON_EXIT2 1024
#define IDC_STATIC_COPY_OS 1025
#define IDC_COMBO_COPY_OS 1026
