// The delete command: a new font file holding every table of the open font
// but one, all laid out anew. The open font is never written.
#pragma once

#include <cstdint>
#include <string>

#include "editor/command_outcome.h"
#include "editor/sinks.h"

namespace editor {

struct DeleteTableRequest {
  std::string fontPath;     // the open font
  std::string tag;          // the four characters of the selected list item
  uint32_t tableCount = 0;  // Number_Of_Tables of the table list when the dialog opened
};

// Writes the new font to outputPath. A tag that the font's directory does
// not hold exactly once is refused with a log line.
CommandOutcome DeleteTable(const DeleteTableRequest& request, const std::string& outputPath, LogSink& log,
                           MessageSink& messages);

}  // namespace editor
