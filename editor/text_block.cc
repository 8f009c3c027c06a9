#include "editor/text_block.h"

#include <cstdarg>
#include <cstdio>

namespace editor {

std::string FormatBlock(const char* format, ...) {
  char buffer[kTextBlockLimit];
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  if (length < 0) return std::string();
  size_t kept = static_cast<size_t>(length) < sizeof buffer ? static_cast<size_t>(length) : sizeof buffer - 1;
  return std::string(buffer, kept);
}

}  // namespace editor
