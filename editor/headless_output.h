// The headless stand-ins for the log window and message boxes: report text
// goes to a stream with every "\r\n" written as a plain line feed, messages
// go to another stream as "CAPTION: text".
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "editor/sinks.h"

namespace editor {

// "\r\n" becomes "\n"; a lone "\r" stays.
std::string CrlfToLf(std::string_view text);

// Writes log text to a stream. A "\r" at the end of one append waits for the
// next, so a line end split between two appends still becomes one "\n".
class StreamLog : public LogSink {
 public:
  explicit StreamLog(std::FILE* out) : out_(out) {}
  ~StreamLog() override { Finish(); }
  void Append(std::string_view text) override;
  // Writes a "\r" still held back and flushes.
  void Finish();

 private:
  std::FILE* out_;
  bool pendingCr_ = false;
};

class StreamMessages : public MessageSink {
 public:
  explicit StreamMessages(std::FILE* out) : out_(out) {}
  void Show(const Message& message) override;

 private:
  std::FILE* out_;
};

}  // namespace editor
