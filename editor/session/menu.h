// The commands of the editor's windows (the Qt one and the native Windows
// one) and where the user finds them: the menu with its keys. The numbers
// are the Windows resource script's (editor/win32/resource.h; the window
// code checks that they agree).
#pragma once

#include "shell/menu.h"

namespace editor {

enum class MenuCommand : int {
  kQuit = 40002,
  kOpen = 40003,
  kAbout = 40004,
  kSelectAll = 40006,
  kCopy = 40008,
  kExportTable = 40009,
  kDeleteTable = 40010,
  kAddTable = 40012,
  kRecalc = 40013,
  kSaveReport = 40014,
};

constexpr int CommandNumber(MenuCommand command) { return static_cast<int>(command); }

// The menu in order. A key is what the item shows and answers to; the Qt
// window takes the desktop's own binding for the same action where there
// is one.
inline constexpr shell::MenuItem kMenu[] = {
    {"&File", "&Open TrueType Font...", CommandNumber(MenuCommand::kOpen), "Ctrl+O"},
    {"&File", "&Recalc check sum", CommandNumber(MenuCommand::kRecalc), nullptr},
    {"&File", "&Add Table...", CommandNumber(MenuCommand::kAddTable), nullptr},
    {"&File", "&Export Table...", CommandNumber(MenuCommand::kExportTable), nullptr},
    {"&File", "Delete Table...", CommandNumber(MenuCommand::kDeleteTable), nullptr},
    {"&File", "&Save Report...", CommandNumber(MenuCommand::kSaveReport), "Ctrl+S"},
    {"&File", "&Quit", CommandNumber(MenuCommand::kQuit), "Ctrl+Q"},
    {"&Edit", "&Copy", CommandNumber(MenuCommand::kCopy), "Ctrl+C"},
    {"&Edit", "&Select All", CommandNumber(MenuCommand::kSelectAll), "Ctrl+A"},
    {"&Help", "&About...", CommandNumber(MenuCommand::kAbout), "F1"},
};

}  // namespace editor
