// The window tests' stand-ins for the desktop: choosers answered from a
// script, messages and help files recorded, the About dialog counted; and a
// Qt application on the offscreen platform with its settings, sockets and
// work files in folders of the test's own.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "macconv/window/desktop_services.h"
#include "macconv/window/drumlin_window.h"

namespace windowtest {

class AnsweringChooser : public shell::FileChooser {
 public:
  // Answers in order; a missing answer or nullopt cancels.
  void Answer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
  std::optional<std::string> Choose(const shell::ChooserRequest& request) override;

  std::vector<shell::ChooserRequest> requests;

 private:
  std::deque<std::optional<std::string>> answers_;
};

class RecordedMessages : public shell::MessageSink {
 public:
  void Show(const shell::Message& message) override {
    lines.push_back(message.caption + ": " + message.text);
    details.push_back(message.detail);
  }
  std::vector<std::string> lines;
  std::vector<std::string> details;  // index-aligned with lines
};

class RecordedHelp : public drumlin::HelpOpener {
 public:
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return true;
  }
  std::vector<std::string> opened;
};

class CountedAbout : public drumlin::AboutPresenter {
 public:
  void ShowAbout(QWidget*) override { ++shown; }
  int shown = 0;
};

struct FakeDesktop {
  AnsweringChooser chooser;
  RecordedMessages messages;
  RecordedHelp help;
  CountedAbout about;
  drumlin::WindowServices services() { return {&chooser, &messages, &help, &about}; }
};

// Forgets the stored window place and program path.
void ClearSettings();
int StoredInt(const char* key);  // under QSettings("Marlowby", "Drumlin"); -1 when missing
std::string StoredMyself();

// Runs the event loop until `done` holds or `timeoutMs` has passed.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

// Triggers the window's action for `command`; false when it has none.
bool Trigger(drumlin::DrumlinWindow& window, int command);

// Drops files (local paths) on the window.
void DropFiles(drumlin::DrumlinWindow& window, const QStringList& paths);

// The folder of the test program's settings, sockets and work files.
std::string RuntimeFolder();

}  // namespace windowtest
