// Formatting of one block of log text. A block is limited to 1,024 bytes
// with its terminating zero, as the editor's formatting always was; longer
// output is cut at 1,023 characters.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#include "shell/text.h"

namespace editor {

inline constexpr size_t kTextBlockLimit = 1024;

SUITE_PRINTF_FORMAT(1, 2) inline std::string FormatBlock(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = shell::FormatTextV(format, arguments);
  va_end(arguments);
  if (text.size() >= kTextBlockLimit) text.resize(kTextBlockLimit - 1);
  return text;
}

}  // namespace editor
