// The diagnostic dump of a Mac Japanese cmap subtable: for every Unicode code
// the Shift-JIS code the code table gives it and the glyph the Mac format 2
// subtable gives that code, as text.
#pragma once

#include <string>

#include "macconv/engine/sinks.h"
#include <cstdint>
#include <span>

namespace macconv {

// The text for the format 2 subtable at `offset`:
//   "dwSubHeaderOffset = 0x<subheader base>\n"
//   "unicode, sjiscode, index\n"
//   "0x<u>, 0x<Shift-JIS>, 0x<glyph>\n" for u from 0 to 0xFFFE
std::string CmapMappingText(std::span<const uint8_t> table, uint64_t offset);

// Dumps every (1, 1) format 2 subtable of the cmap table file `inputName`
// into `outputName` (a later one replaces an earlier one; the name the user
// chose is replaced freely). A table without one writes nothing. Ends with
// "Done!!" titled "Message" in every case.
shell::Outcome DumpCmapMapping(const std::string& inputName, const std::string& outputName, shell::MessageSink& messages);

}  // namespace macconv
