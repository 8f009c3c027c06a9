// The commands of the converter's window and where the user finds them: the
// menu, and keyboard shortcuts for the two commands the menu does not offer.
#pragma once

namespace drumlin {

enum Command : int {
  kExtractNamedFile = 4000,  // a file from the command line, a drop or a second start
  kQuit = 4001,
  kHelp = 4003,              // the "&Help" item itself: nothing to do
  kAbout = 4004,
  kHelpText = 4028,
  kOpenAndExtract = 4030,
  kHelpDocument = 4045,
  kConvertName = 40001,      // not on the menu
  kDumpCmap = 40002,         // not on the menu
  kConvertCmap = 40003,
};

struct MenuItem {
  const char* popup;
  const char* text;
  int command;
};

inline constexpr MenuItem kMenu[] = {
    {"&File", "&Open TTF and Extract", kOpenAndExtract},
    {"&File", "&Quit", kQuit},
    {"&Tool", "Convert Mac cmap table to Win", kConvertCmap},
    {"&Help", "&Help", kHelp},
    {"&Help", "Help &Document", kHelpDocument},
    {"&Help", "Help &Text", kHelpText},
    {"&Help", "&About", kAbout},
};

// Commands reached by keyboard only; the help text lists them.
struct ShortcutCommand {
  const char* shortcut;
  const char* text;
  int command;
};

inline constexpr ShortcutCommand kShortcutCommands[] = {
    {"Ctrl+Shift+N", "Convert Mac name table to Win", kConvertName},
    {"Ctrl+Shift+D", "Dump Mac cmap mapping", kDumpCmap},
};

}  // namespace drumlin
