#include "tools/frame/console.h"

#include <cstdarg>
#include <cstdio>

#include "shell/text.h"

namespace tools {

void Console::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = shell::FormatTextV(format, args);
  va_end(args);
  Write(text);
}

void StdoutConsole::Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace tools
