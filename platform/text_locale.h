// Whether the user's locale (LC_ALL, LC_CTYPE, LANG) expects UTF-8 text; on
// Windows, whether standard output is a console that shows UTF-8.
#pragma once

namespace platform {

bool LocaleIsUtf8();

}  // namespace platform
