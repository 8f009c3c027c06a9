// The delete command: a new font file holding every table of the open font
// but one, all laid out anew. The open font is never written.
#pragma once

#include <cstdint>
#include <string>

#include "shell/outcome.h"
#include "editor/model/font_analysis.h"
#include "shell/sinks.h"

namespace editor {

struct DeleteTableRequest {
  std::string tag;          // the four characters of the selected list item
  uint32_t tableCount = 0;  // Number_Of_Tables of the table list when the dialog opened
};

// Writes the new font to outputPath from the open font (`font`, its
// analysis). A tag that the font's directory does not hold exactly once is
// refused with a log line.
shell::CommandOutcome DeleteTable(const FontAnalysis& font, const DeleteTableRequest& request, const std::string& outputPath,
                           shell::LogSink& log, shell::MessageSink& messages);

}  // namespace editor
