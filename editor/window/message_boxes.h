// The engine's message boxes as Qt message boxes: the caption and the text
// as given, the detail (the system's reason) as the box's informative text,
// owned by the modal window in front (a dialog) or else by the main window.
#pragma once

#include "shell/sinks.h"

class QWidget;

namespace editor::gui {

class QtMessageBoxes : public shell::MessageSink {
 public:
  explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
  void Show(const shell::Message& message) override;

 private:
  QWidget* owner_;
};

}  // namespace editor::gui
