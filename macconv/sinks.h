// The ways the converter's engine reaches its user: message boxes, the
// progress text of a running conversion and the file choosers. The window,
// the headless command line and the tests each supply their own.
#pragma once

#include <optional>
#include <string>

namespace macconv {

// A modal message box: a caption ("ERROR", "Message", ...) and a fixed text.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns when the user has seen the message.
  virtual void Show(const std::string& caption, const std::string& text) = 0;
};

// The progress text drawn in the window while a cmap conversion runs. The
// conversion may run on a worker thread; a window implementation hands the
// text over to its own thread (a queued signal or a lock).
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

// Asks the user for a file. `proposed` is the name the chooser starts with
// (may be empty). Returns the chosen path, or nothing when cancelled. The
// same chooser serves for opening and saving; it does not check whether the
// file exists.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  virtual std::optional<std::string> ChooseFile(const std::string& title, const std::string& proposed) = 0;
};

// Sinks that drop everything.
class NullMessages : public MessageSink {
 public:
  void Show(const std::string&, const std::string&) override {}
};
class NullProgress : public ProgressSink {
 public:
  void ShowProgress(const std::string&) override {}
  void ClearProgress() override {}
};

// How a command ended: the headless program turns it into its exit status.
enum class Outcome { kDone, kFailed, kCancelled };

}  // namespace macconv
