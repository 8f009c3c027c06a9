// What the window tests answer the window with: choosers that give scripted
// answers, message boxes that are only recorded, and a way to act on a modal
// dialog from inside its own event loop.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/chooser.h"
#include "shell/sinks.h"
#include "editor/window/main_window.h"
#include "tests/support/temp_dir.h"

namespace windowtest {

// Answers each request with the next scripted answer; cancels when none is left.
class ScriptedChooser : public shell::FileChooser {
 public:
  std::optional<std::string> Choose(const shell::ChooserRequest& request) override;
  void Answer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
  std::vector<shell::ChooserRequest> asked;

 private:
  std::deque<std::optional<std::string>> answers_;
};

class RecordedMessages : public shell::MessageSink {
 public:
  void Show(const shell::Message& message) override { seen.push_back(message.caption + ": " + message.text); }
  std::vector<std::string> seen;
};

// Runs `act` with the next modal dialog as soon as it is up.
void OnNextDialog(std::function<void(QWidget*)> act);

// A window over a temporary settings folder, with scripted choosers and messages.
struct WindowFixture {
  WindowFixture();
  testsupport::TempDir dir;
  ScriptedChooser chooser;
  RecordedMessages messages;
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
