// What the tests hand the engines where a user would see a message box: a
// recorder of every message, in order. Test choosers are shell::ScriptedChooser.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/sinks.h"

namespace testsupport {

// Keeps every message shown and the thread that showed it. Shown from any
// thread; each reading is a copy taken under the lock.
class RecordedMessages : public shell::MessageSink {
 public:
  void Show(const shell::Message& message) override;

  // "CAPTION: text", one a message, in the order shown.
  std::vector<std::string> lines() const;
  // Each message's detail, index-aligned with lines().
  std::vector<std::string> details() const;
  // The last message shown; an empty one before any.
  shell::Message last() const;
  size_t count() const;
  bool empty() const { return count() == 0; }
  // The thread that showed each message, index-aligned with lines().
  std::vector<std::thread::id> threads() const;
  // Forgets what was shown so far.
  void Clear();

 private:
  mutable std::mutex lock_;
  std::vector<shell::Message> shown_;
  std::vector<std::thread::id> threads_;
};

}  // namespace testsupport
