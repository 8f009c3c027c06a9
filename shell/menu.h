// A window's commands as a table: the popup each sits in, its text and its
// command number, and a keyboard shortcut. An item without a popup is reached
// by its shortcut alone.
#pragma once

namespace shell {

struct MenuItem {
  const char* popup;     // "&File"; null: not on the menu bar
  const char* text;      // "&Open TrueType Font..."
  int command;           // what the window runs
  const char* shortcut;  // "Ctrl+Shift+N"; null: none
};

}  // namespace shell
