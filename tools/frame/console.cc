#include "tools/frame/console.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace tools {

void Console::Printf(const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed < 0) {
    va_end(again);
    return;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    va_end(again);
    Write(std::string_view(small, static_cast<size_t>(needed)));
    return;
  }
  // Long file names: format again into a buffer of the right size.
  std::vector<char> large(static_cast<size_t>(needed) + 1);
  std::vsnprintf(large.data(), large.size(), format, again);
  va_end(again);
  Write(std::string_view(large.data(), static_cast<size_t>(needed)));
}

void StdoutConsole::Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace tools
