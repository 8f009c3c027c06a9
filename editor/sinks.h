// The three ways the editor's engine reaches its user: the log, message
// boxes and file choosers. The window, the headless command line and the
// tests each supply their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace editor {

// Receives report text exactly as the log shows it ("\r\n" line ends).
// May be called from the analysis thread; implementations hand the text
// over under a lock or through a queue.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Append(std::string_view text) = 0;
};

// A modal message box: a caption and a fixed text.
struct Message {
  std::string caption;
  std::string text;
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns when the user has seen the message.
  virtual void Show(const Message& message) = 0;
};

// The three choosers of the editor; each keeps its own custom filter.
enum class ChooserKind { kFontFile, kTableFile, kSaveFile };

// What a chooser is asked: everything a platform file dialog needs.
struct ChooserRequest {
  ChooserKind kind = ChooserKind::kSaveFile;
  std::string title;
  std::string filterList;     // "label|pattern|label|pattern|"
  int filterShownFirst = 1;   // 1-based index into the filter pairs
  std::string proposedName;   // the name the chooser starts with; may be empty
  std::string defaultSuffix;  // added to a name typed without one; may be empty
  bool saving = false;        // a save chooser accepts names that do not exist
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The accepted path, or nothing when the user cancelled.
  virtual std::optional<std::string> Choose(const ChooserRequest& request) = 0;
};

// Sinks that drop everything, for callers that want no output.
class NullLog : public LogSink {
 public:
  void Append(std::string_view) override {}
};
class NullMessages : public MessageSink {
 public:
  void Show(const Message&) override {}
};

}  // namespace editor
