// The ways the converter's engine reaches its user beyond the shell kit's
// message boxes and choosers: the progress text of a running conversion, and
// the converter's three kinds of chooser request.
#pragma once

#include <string>

#include "shell/chooser.h"
#include "shell/outcome.h"
#include "shell/sinks.h"

namespace macconv {

// The progress text drawn in the window while a cmap conversion runs. The
// conversion may run on a worker thread; a window implementation hands the
// text over to its own thread.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Replaces the text shown. Lines are separated by "\n".
  virtual void ShowProgress(const std::string& text) = 0;
  // Clears the text area.
  virtual void ClearProgress() = 0;
  // The last text is meant to stay this long before the work goes on; a
  // window may pause, headless runs and tests need not.
  virtual void HoldProgress(int /*milliseconds*/) {}
};

class NullProgress : public ProgressSink {
 public:
  void ShowProgress(const std::string&) override {}
  void ClearProgress() override {}
};

// The converter's choosers offer all files and start at `proposed` (may be
// empty). Neither checks whether the file exists; an existing file chosen
// for saving is refused by the command itself.
inline shell::ChooserRequest OpenRequest(std::string title, std::string proposed) {
  shell::ChooserRequest request;
  request.title = std::move(title);
  request.proposedName = std::move(proposed);
  return request;
}
inline shell::ChooserRequest SaveRequest(std::string title, std::string proposed) {
  shell::ChooserRequest request = OpenRequest(std::move(title), std::move(proposed));
  request.saving = true;
  return request;
}
inline shell::ChooserRequest FolderRequest(std::string title, std::string proposed) {
  shell::ChooserRequest request = OpenRequest(std::move(title), std::move(proposed));
  request.folder = true;
  return request;
}

}  // namespace macconv
