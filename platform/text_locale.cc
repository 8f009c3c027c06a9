#include "platform/text_locale.h"

#include <clocale>
#include <cstring>
#include <string>
#if !defined(_WIN32)
#include <langinfo.h>
#endif

namespace platform {

bool LocaleIsUtf8() {
#if defined(_WIN32)
  return false;
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
