// Turns a Mac name table whose Japanese records hold Shift-JIS strings into
// one with Windows Unicode records. Every record is taken as a Mac record and
// decided by its encoding and language alone:
//   platformID  3 when encodingID is 1, else unchanged
//   languageID  11 (Japanese on the Mac) becomes 1041 (Japanese on Windows)
//   string      encodingID 1: big-endian UTF-16 of the Shift-JIS bytes;
//               otherwise the bytes unchanged; at most the first 2048 bytes
//               of the string are used, and none beyond the input's end
//   length      the new string's length
//   offset      the sum of the new lengths of the records before it
// The records keep their order; the new strings follow them directly. The
// header keeps format; count is the number of records that lie inside the
// input, and stringOffset stays as read when the input's strings began right
// after its records, else it becomes 6 + 12 x count so the table is valid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "macconv/engine/sinks.h"
#include <span>

namespace macconv {

// The converted table, or nothing when its strings would not fit: a record's
// offset, and the stringOffset past the records, must stay within 16 bits.
std::optional<std::vector<uint8_t>> ConvertNameTableBytes(std::span<const uint8_t> input);

// The conversion of the table file `inputName` into the new file
// `inputName` + ".name", never replacing one that exists. Messages:
//   input unreadable      ERROR at 000  Function CreateFile(<input>) failed!! File exist?
//   output taken          ERROR at 002  Function CreateFile(<output>) failed!! File exist?
//   strings too long      ERROR         The new strings do not fit in a name table.
//   output unwritable     ERROR         Function WriteFile(<output>) failed!! <errno>
//   done                  Message       Success!
shell::Outcome ConvertNameTable(const std::string& inputName, shell::MessageSink& messages);

}  // namespace macconv
