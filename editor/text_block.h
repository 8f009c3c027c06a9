// Formatting of one block of log text. A block is limited to 1,024 bytes
// with its terminating zero, as the editor's formatting always was; longer
// output is cut at 1,023 characters.
#pragma once

#include <cstddef>
#include <string>

namespace editor {

inline constexpr size_t kTextBlockLimit = 1024;

std::string FormatBlock(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace editor
