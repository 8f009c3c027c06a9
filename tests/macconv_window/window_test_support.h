// The window tests' stand-ins for the desktop: choosers answered from a
// script, messages and help files recorded, the About dialog counted; and a
// Qt application on the offscreen platform with its settings, sockets and
// work files in folders of the test's own.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "macconv/window/desktop_services.h"
#include "macconv/window/drumlin_window.h"
#include "shell/chooser.h"
#include "tests/support/doubles.h"

namespace windowtest {

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
  shell::ScriptedChooser chooser{{}};  // answered through Answer; a missing answer or nullopt cancels
  testsupport::RecordedMessages messages;
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
