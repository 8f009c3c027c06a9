// Paths as the suite cuts and joins them: one rule for where the folder part
// ends. The separator is '/'; on Windows '\' separates as well.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr bool kBackslashIsSeparator = true;
#else
inline constexpr bool kBackslashIsSeparator = false;
#endif

// Where the last separator stands, or npos.
size_t LastSeparator(std::string_view path, bool backslashIsSeparator = kBackslashIsSeparator);

// The folder part: "." when there is none, "/" for a name in the root.
std::string FolderOf(std::string_view path);

// The text up to and including the last separator; empty when there is none.
std::string FolderPrefix(std::string_view path);

// The name after the last separator (the whole path when there is none).
std::string NameOf(std::string_view path);

// Whether the path starts at a root: "/..."; on Windows also "\...",
// "C:\..." and "C:/...".
bool IsAbsolutePath(std::string_view path);

// A folder and a name joined with '/'; an empty folder gives the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
