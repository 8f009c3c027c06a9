// The table files the converter reads (a cmap or a name table by itself)
// are read whole, up to the most bytes such a table can use here; a larger
// file is refused before anything is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/problem.h"

namespace macconv {

// A name table reaches at most its header, 65,535 records, 65,535 language
// tags and strings stored up to 65,535 + 65,535 bytes in; bytes after that
// are never read.
uint64_t NameTableReach();
// A cmap table file larger than this is refused: no table the converter
// reads comes near it.
inline constexpr uint64_t kLargestCmapFile = uint64_t{64} << 20;

// Reads `path` into *bytes: at most `reach` bytes of it when `refuseLarger`
// is false, else the whole file unless it is larger than `reach`. Nothing
// when it was read; else the problem that says why not: the file cannot be
// opened (or is no regular file), is too large, or could not be read.
std::optional<core::Problem> ReadTableFile(const std::string& path, uint64_t reach, bool refuseLarger,
                                           std::vector<uint8_t>* bytes);

// The message text of a problem of ReadTableFile with the file `name`:
// "Function CreateFile(<name>) failed!! ...", "<name> is larger than the
// <limit> bytes a table file may have." or "Function ReadFile(<name>)
// failed!! <errno>".
std::string TableFileProblemText(const core::Problem& problem, const std::string& name);

}  // namespace macconv
