#include "macconv/message_text.h"

#include <cstdarg>
#include <cstdio>

namespace macconv {

std::string FormatText(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (needed < 0) {
    va_end(again);
    return text;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    text.assign(small, static_cast<size_t>(needed));
  } else {
    text.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<size_t>(needed));
  }
  va_end(again);
  return text;
}

std::string CreateFileFailedText(const std::string& name) {
  return "Function CreateFile(" + name + ") failed!! File exist?";
}

std::string FileExistText(const std::string& name) { return "File exist? : " + name; }

std::string WriteFileFailedText(const std::string& name, int error) {
  return FormatText("Function WriteFile(%s) failed!! %d", name.c_str(), error);
}

std::string ReadFileFailedText(const std::string& name) { return "Function ReadFile(" + name + ") failed!!"; }

}  // namespace macconv
