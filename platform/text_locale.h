// Whether the user's locale (LC_ALL, LC_CTYPE, LANG) expects UTF-8 text.
#pragma once

namespace platform {

bool LocaleIsUtf8();

}  // namespace platform
