// The converter's native Windows window: the menu of commands, dropped files,
// the remembered place and size, one running copy that takes the files of
// later starts, and the progress text of a running cmap conversion. The
// commands are the engine's (macconv/session/menu_commands.h).
#pragma once

#if defined(_WIN32)
namespace drumlin::win32 {

// Reads the process's command line, hands its file to a running copy or
// opens the window, and runs it until it closes. The exit status.
int RunDrumlinWindow();

// The message a second start sends the running window (WM_COPYDATA): this
// tag, and the file name as UTF-16 without its terminating zero.
inline constexpr unsigned long kHandedFileTag = 0x44524D4Cu;  // "DRML"

}  // namespace drumlin::win32
#endif
