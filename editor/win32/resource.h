// Resource numbers of the editor's native Windows window: the menu, the
// icon, the two dialog templates and their controls, read by quillet.rc as
// well as by the C++ code: plain defines only. The command numbers are those
// of editor/session/menu.h (the window code checks that they agree).
#pragma once

#define QUILLET_CMD_QUIT 40002
#define QUILLET_CMD_OPEN 40003
#define QUILLET_CMD_ABOUT 40004
#define QUILLET_CMD_SELECT_ALL 40006
#define QUILLET_CMD_COPY 40008
#define QUILLET_CMD_EXPORT_TABLE 40009
#define QUILLET_CMD_DELETE_TABLE 40010
#define QUILLET_CMD_ADD_TABLE 40012
#define QUILLET_CMD_RECALC 40013
#define QUILLET_CMD_SAVE_REPORT 40014

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
