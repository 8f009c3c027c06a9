// The commands of the converter's windows (the Qt one and the native Windows
// one) and where the user finds them: the menu, and keyboard shortcuts for
// the two commands the menu does not offer.
#pragma once

#include "shell/menu.h"

namespace drumlin {

enum Command : int {
  kExtractNamedFile = 4000,  // a file from the command line, a drop or a second start
  kQuit = 4001,
  kHelp = 4003,              // the "&Help" item itself: nothing to do
  kAbout = 4004,
  kHelpText = 4028,
  kOpenAndExtract = 4030,
  kExtractAllFonts = 4031,
  kHelpDocument = 4045,
  kConvertName = 40001,      // not on the menu
  kDumpCmap = 40002,         // not on the menu
  kConvertCmap = 40003,
};

// The menu, then the commands reached by keyboard only (the help text
// lists them).
inline constexpr shell::MenuItem kMenu[] = {
    {"&File", "&Open TTF and Extract", kOpenAndExtract, nullptr},
    {"&File", "Extract &All Fonts...", kExtractAllFonts, nullptr},
    {"&File", "&Quit", kQuit, nullptr},
    {"&Tool", "Convert Mac cmap table to Win", kConvertCmap, nullptr},
    {"&Help", "&Help", kHelp, nullptr},
    {"&Help", "Help &Document", kHelpDocument, nullptr},
    {"&Help", "Help &Text", kHelpText, nullptr},
    {"&Help", "&About", kAbout, nullptr},
    {nullptr, "Convert Mac name table to Win", kConvertName, "Ctrl+Shift+N"},
    {nullptr, "Dump Mac cmap mapping", kDumpCmap, "Ctrl+Shift+D"},
};

}  // namespace drumlin
