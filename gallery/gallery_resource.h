// Resource and control ids of the controls gallery. The control ids are
// fixed: docs/CONTROLS.md lists them and the demo drives the gallery by them.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_GALLERY 100
#define IDI_GALLERY_HOT 101
#define IDI_GALLERY_NORMAL 102
#define IDB_GALLERY_PICTURE 103
#define IDC_GALLERY_TARGET 104
#define IDR_GALLERY_MENU 105
// The bitmap button's picture drawn for 150 % and 200 % display scale.
#define IDB_GALLERY_PICTURE_150 106
#define IDB_GALLERY_PICTURE_200 107

// Owner-drawn buttons.
#define IDC_BUTTON_STANDARD 1001
#define IDC_BUTTON_FLAT 1002
#define IDC_BUTTON_ICON_ONLY 1003
#define IDC_BUTTON_ICON_BESIDE 1004
#define IDC_BUTTON_ICON_ABOVE 1005
#define IDC_BUTTON_HOT_NORMAL 1006
#define IDC_BUTTON_GRAYSCALE 1007
#define IDC_BUTTON_DARKER 1008
#define IDC_BUTTON_BITMAP 1009
#define IDC_BUTTON_CHECKBOX 1010
#define IDC_BUTTON_DISABLED 1011
#define IDC_BUTTON_TOOLTIP 1012
#define IDC_BUTTON_TRANSPARENT 1013
#define IDC_BUTTON_MENU 1014
#define IDC_BUTTON_LINK 1015
#define IDC_BUTTON_CURSOR_SOUND 1016
#define IDC_TRANSPARENT_PANEL 1017
#define IDC_GALLERY_STATUS 1020

// Hyperlink labels.
#define IDC_LINK_WEB 1101
#define IDC_LINK_MAIL 1102
#define IDC_LINK_MISSING 1103
#define IDC_LINK_VISITED 1104

// Folder browser and file dialog.
#define IDC_BROWSE_FOLDER 1201
#define IDC_BROWSE_FOLDER_PATH 1202
#define IDC_FILE_OPEN 1203
#define IDC_FILE_OPEN_FILES_ONLY 1204
#define IDC_FILE_PATH 1205

// The owner-drawn button in the system's look, and the system's own button
// of the same size beside it.
#define IDC_THEMED_STANDARD 1301
#define IDC_THEMED_FLAT 1302
#define IDC_THEMED_CHECKBOX 1303
#define IDC_THEMED_DEFAULT 1304
#define IDC_THEMED_DISABLED 1305
#define IDC_SYSTEM_BUTTON 1306
// The popup menu's commands.
#define ID_GALLERY_MENU_OPEN 2001
#define ID_GALLERY_MENU_SAVE 2002
#define ID_GALLERY_MENU_PROPERTIES 2003
