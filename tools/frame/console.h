// Where a console tool's lines go: standard output in the programs, a text
// buffer in the tests.
#pragma once

#include <string>
#include <string_view>

#include "shell/text.h"

namespace tools {

class Console {
 public:
  virtual ~Console() = default;
  virtual void Write(std::string_view text) = 0;
  // printf-style formatting of one message.
  void Printf(const char* format, ...) SUITE_PRINTF_FORMAT(2, 3);
};

class StdoutConsole : public Console {
 public:
  void Write(std::string_view text) override;
};

class TextConsole : public Console {
 public:
  void Write(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace tools
