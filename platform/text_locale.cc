#include "platform/text_locale.h"

#include <clocale>
#include <cstring>
#include <string>
#if defined(_WIN32)
#include "platform/wide_text.h"
#else
#include <langinfo.h>
#endif

namespace platform {

bool LocaleIsUtf8() {
#if defined(_WIN32)
  // A console shows UTF-8 (ProgramArguments sets its code page); output to a
  // file or a pipe keeps the bytes as they are.
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) && ::GetConsoleOutputCP() == CP_UTF8;
#else
  // The program's own locale is set from the environment only for this
  // question, then put back: nothing else of the suite depends on it.
  const char* before = std::setlocale(LC_CTYPE, nullptr);
  std::string kept = before ? before : "C";
  if (!std::setlocale(LC_CTYPE, "")) return false;
  const char* codeset = nl_langinfo(CODESET);
  bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  std::setlocale(LC_CTYPE, kept.c_str());
  return utf8;
#endif
}

}  // namespace platform
