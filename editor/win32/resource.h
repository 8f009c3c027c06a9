// Resource numbers of the editor's native Windows window: the menu, the
// icon, the two dialog templates and their controls. The menu's commands are
// editor::MenuCommand.
#pragma once

#define IDR_QUILLET_MENU 103
#define IDI_QUILLET 101
#define IDD_TABLE_LIST 107
#define IDD_ADD_TABLE 109

#define IDC_TABLE_LIST 1006
#define IDC_TABLE_PROMPT 1010
#define IDC_TABLE_NAME 1011
#define IDC_TABLE_FILE 1012
#define IDC_BROWSE 1013

#define IDC_LOG 1
