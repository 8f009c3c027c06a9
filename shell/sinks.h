// How a program's engine reaches its user: the log, message boxes and, in
// chooser.h, file choosers. Each window, headless runner and test supplies
// its own.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// Receives log text exactly as the window shows it ("\r\n" line ends). May be
// called from a worker thread; implementations hand it over under a lock or
// through a queue.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Append(std::string_view text) = 0;
};

// A modal message box: a caption ("ERROR", "Message", ...) and a fixed text.
// A window shows `detail`, when there is one, under the text in plain words:
// the system's reason behind a failure, or the file a command wrote.
struct Message {
  std::string caption;
  std::string text;
  std::string detail = {};
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns when the user has seen the message.
  virtual void Show(const Message& message) = 0;
};

// Sinks that drop everything.
class NullLog : public LogSink {
 public:
  void Append(std::string_view) override {}
};
class NullMessages : public MessageSink {
 public:
  void Show(const Message&) override {}
};

}  // namespace shell
