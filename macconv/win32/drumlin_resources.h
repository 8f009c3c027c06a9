// Names and numbers of the converter's Windows resources, read by drumlin.rc
// as well as by the C++ code: plain defines only. The command numbers are
// those of macconv/session/window_commands.h (the window code checks that they agree).
#pragma once

#define DRUMLIN_CMD_QUIT 4001
#define DRUMLIN_CMD_HELP 4003
#define DRUMLIN_CMD_ABOUT 4004
#define DRUMLIN_CMD_HELP_TEXT 4028
#define DRUMLIN_CMD_OPEN_AND_EXTRACT 4030
#define DRUMLIN_CMD_EXTRACT_ALL 4031
#define DRUMLIN_CMD_HELP_DOCUMENT 4045
#define DRUMLIN_CMD_CONVERT_NAME 40001
#define DRUMLIN_CMD_DUMP_CMAP 40002
#define DRUMLIN_CMD_CONVERT_CMAP 40003

// The About dialog's label that names the running system.
#define DRUMLIN_ABOUT_SYSTEM 108
