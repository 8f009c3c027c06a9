// What the converter's window asks of the desktop, behind interfaces so that
// tests can answer every question without a dialog: file choosers and message
// boxes (the engine's interfaces), opening a help file with the desktop's
// default application, and the About dialog.
#pragma once

#include <string>

#include "macconv/engine/sinks.h"

class QWidget;

namespace drumlin {

class HelpOpener {
 public:
  virtual ~HelpOpener() = default;
  // Opens an existing file with the desktop's default application; false
  // when that could not be started.
  virtual bool Open(const std::string& path) = 0;
};

class AboutPresenter {
 public:
  virtual ~AboutPresenter() = default;
  // Shows the About dialog owned by `owner` until the user closes it.
  virtual void ShowAbout(QWidget* owner) = 0;
};

struct WindowServices {
  shell::FileChooser* chooser = nullptr;
  shell::MessageSink* messages = nullptr;
  HelpOpener* help = nullptr;
  AboutPresenter* about = nullptr;
};

}  // namespace drumlin
