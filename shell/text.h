// printf-style formatting into a std::string, of any length.
#pragma once

#include <cstdarg>
#include <string>

// The compiler's check of printf-style formats. MinGW's C++ library uses its
// own C99 printf, whose formats are GNU's (%zu, %llu), not those of the
// Microsoft runtime that the plain "printf" check stands for there.
#if defined(__MINGW32__)
#define SUITE_PRINTF_FORMAT(formatAt, firstAt) __attribute__((format(gnu_printf, formatAt, firstAt)))
#else
#define SUITE_PRINTF_FORMAT(formatAt, firstAt) __attribute__((format(printf, formatAt, firstAt)))
#endif

namespace shell {

std::string FormatText(const char* format, ...) SUITE_PRINTF_FORMAT(1, 2);
std::string FormatTextV(const char* format, va_list arguments) SUITE_PRINTF_FORMAT(1, 0);

}  // namespace shell
