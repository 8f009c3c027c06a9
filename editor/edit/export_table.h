// The export command: one table of the open font written to a table file of
// its own, taken from the place that the font's analysed directory gives it.
#pragma once

#include <string>

#include "shell/outcome.h"
#include "editor/model/font_analysis.h"
#include "shell/sinks.h"

namespace editor {

// Writes exactly the bytes of the listed font's table `tag` (the four
// characters of the selected list item), as far as the font file holds them,
// to outputPath. A tag that the directory does not hold exactly once (case
// counts) is refused with a log line.
shell::CommandOutcome ExportTable(const FontAnalysis& font, const std::string& tag, const std::string& outputPath,
                           shell::LogSink& log);

// The suffix of the proposed name: the tag with every "/" turned into "_".
std::string ExportSuffix(const std::string& tag);

}  // namespace editor
