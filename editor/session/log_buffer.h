// The log that the window shows: a buffer of 65,536 bytes (65,535
// characters and a terminating zero). When an append would not fit, the
// oldest characters make room for it, as many as the new text is long, so
// a full log keeps its length and slides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "shell/sinks.h"

namespace editor {

inline constexpr size_t kLogBufferSize = 65536;
inline constexpr size_t kLogTextLimit = kLogBufferSize - 1;

// The trimming rule on a plain string. A text longer than the whole buffer
// leaves only its own last 65,535 characters.
void AppendTrimmed(std::string& log, std::string_view text);

// The log text shared by the window's thread and the analysis thread; every
// access takes the lock.
class LogBuffer {
 public:
  explicit LogBuffer(std::string_view initial = {});

  void Append(std::string_view text);
  std::string Text() const;
  size_t size() const;
  // Counts appends, so a window can tell whether it shows the latest text.
  uint64_t version() const;

 private:
  mutable std::mutex lock_;
  std::string text_;
  uint64_t version_ = 0;
};

// A log sink that appends to a LogBuffer and then calls `changed` (if set)
// on the appending thread, for the window to schedule a refresh on its own.
class LogBufferSink : public shell::LogSink {
 public:
  explicit LogBufferSink(LogBuffer& buffer, std::function<void()> changed = {})
      : buffer_(buffer), changed_(std::move(changed)) {}
  void Append(std::string_view text) override;

 private:
  LogBuffer& buffer_;
  std::function<void()> changed_;
};

}  // namespace editor
