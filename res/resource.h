// Identifiers of the program's own resources. Shared by the resource script
// and the code, so each number is written once.
#pragma once

#define IDR_MAINFRAME 128    // application icon
#define IDI_MAIN_DIALOG 135  // main dialog's icon; also the start-up message's icon
#define IDB_SPLASH 157       // splash picture

#define IDD_ABOUTBOX 100
#define IDD_UTILITY_DIALOG 102
#define IDR_MAIN_MENU 145
#define IDS_ABOUTBOX 101  // "&About Vornix Utility..." for the system menu

#define IDC_ABOUT_TEXT 1011
#define IDC_HELP_BUTTON 1049
#define IDC_ABOUT_ICON 1060

#define ID_FILE_EXIT 32772
#define ID_HELP_ABOUT 32773
#define ID_HELP_CONTENTS 32774

#define IDM_ABOUTBOX 0x0010  // system-menu command
