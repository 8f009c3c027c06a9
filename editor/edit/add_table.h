// The add command: a new font file holding the open font's tables and one
// more from a table file, its entry placed in tag order and all tables laid
// out anew. The open font is never written.
#pragma once

#include <cstdint>
#include <string>

#include "core/io/readable_file.h"
#include "shell/outcome.h"
#include "editor/model/font_analysis.h"
#include "shell/sinks.h"

namespace editor {

struct AddTableRequest {
  std::string tag;            // as typed; at most 4 characters are used
  std::string tableFilePath;  // the table's bytes
  uint32_t tableCount = 0;    // Number_Of_Tables of the table list when the dialog opened
};

// The tag the command adds: the first four characters typed, padded with spaces.
std::string PaddedTag(const std::string& typed);

// The tag as typed, cut to the dialog field's four characters (for log lines).
std::string TypedTag(const std::string& typed);

// Writes the new font to outputPath from the open font (`font`, its
// analysis) and the already opened table file. Log lines and messages as the
// add dialog shows them; a tag the font holds already keeps the dialog open.
shell::CommandOutcome AddTable(const FontAnalysis& font, const AddTableRequest& request, const core::ReadableFile& tableFile,
                        const std::string& outputPath, shell::LogSink& log, shell::MessageSink& messages);

}  // namespace editor
