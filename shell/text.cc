#include "shell/text.h"

#include <cstdio>

namespace shell {

std::string FormatTextV(const char* format, va_list arguments) {
  char small[512];
  va_list again;
  va_copy(again, arguments);
  int needed = std::vsnprintf(small, sizeof small, format, arguments);
  std::string text;
  if (needed >= 0 && static_cast<size_t>(needed) < sizeof small) {
    text.assign(small, static_cast<size_t>(needed));
  } else if (needed >= 0) {
    text.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<size_t>(needed));
  }
  va_end(again);
  return text;
}

std::string FormatText(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = FormatTextV(format, arguments);
  va_end(arguments);
  return text;
}

}  // namespace shell
