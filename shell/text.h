// printf-style formatting into a std::string, of any length.
#pragma once

#include <cstdarg>
#include <string>

namespace shell {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list arguments) __attribute__((format(printf, 1, 0)));

}  // namespace shell
