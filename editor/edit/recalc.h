// The checksum recalculation: a copy of the open font in which every
// directory entry carries its table's calculated checksum and each head
// table a checkSumAdjustment that makes its font sum to 0xB1B0AFBA.
//
// The checksums of the tables come from the analysis; only the directories
// and the first 52 bytes of each head table are summed anew, as the copy
// holds them after the patches made so far. The copy is built beside the
// destination and moved into place only when complete.
#pragma once

#include <string>

#include "editor/model/font_analysis.h"
#include "shell/sinks.h"

namespace editor {

// Writes the repaired copy of analysis->fontPath to outputPath. Null or
// empty analysis: "Please open a ttf file." Returns true when the copy is in
// place; on any failure nothing is left at outputPath.
bool RecalcCheckSum(const FontAnalysis* analysis, const std::string& outputPath, shell::LogSink& log);

}  // namespace editor
