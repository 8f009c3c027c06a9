// What the window tests answer the window with: choosers that give scripted
// answers, message boxes that are only recorded, and a way to act on a modal
// dialog from inside its own event loop.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/chooser.h"
#include "shell/sinks.h"
#include "editor/window/main_window.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_dir.h"

namespace windowtest {

// Runs `act` with the next modal dialog as soon as it is up.
void OnNextDialog(std::function<void(QWidget*)> act);

// A window over a temporary settings folder, with scripted choosers and messages.
struct WindowFixture {
  WindowFixture();
  testsupport::TempDir dir;
  shell::ScriptedChooser chooser{{}};  // answered through Answer
  testsupport::RecordedMessages messages;
  std::unique_ptr<editor::gui::MainWindow> window;

  // Triggers the menu item with this text (mnemonic included).
  void Trigger(const char* itemText);
  // Writes a built font and analyses it in the window; true when the run ended.
  bool OpenBuiltFont(const std::string& name, const std::vector<uint8_t>& bytes);
  std::string Log() const { return window->LogText(); }
  // The log from `mark` on.
  std::string LogSince(size_t mark) const { return window->LogText().substr(mark); }
};

inline constexpr const char* kProgramPath = "/opt/marlowby/lib/quillet";

}  // namespace windowtest
