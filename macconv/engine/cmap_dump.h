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

// Whether the dump may take the place of a file that exists: the window's
// diagnostic file is replaced freely; a name given on the command line is
// never replaced, as no output of the suite replaces a file.
enum class DumpTarget { kReplaceFreely, kNewFileOnly };

// Dumps the last (1, 1) format 2 subtable of the cmap table file `inputName`
// into `outputName`. A table without one writes nothing. Ends with "Done!!"
// titled "Message" unless the dump failed.
shell::Outcome DumpCmapMapping(const std::string& inputName, const std::string& outputName, DumpTarget target,
                               shell::MessageSink& messages);

}  // namespace macconv
