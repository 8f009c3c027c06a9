// The export command: one table of the open font written to a table file of
// its own, taken from the position that the table list records for its tag.
#pragma once

#include <string>

#include "editor/command_outcome.h"
#include "editor/sinks.h"
#include "editor/table_list.h"

namespace editor {

struct ExportTableRequest {
  std::string fontPath;   // the open font
  std::string tag;        // the four characters of the selected list item
  TableLocation location; // from the tag's section of the table list
};

// Writes exactly the table's bytes (those the font file holds) to outputPath.
CommandOutcome ExportTable(const ExportTableRequest& request, const std::string& outputPath, LogSink& log);

// The suffix of the proposed name: the tag with every "/" turned into "_".
std::string ExportSuffix(const std::string& tag);

}  // namespace editor
