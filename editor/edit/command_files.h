// The first steps of every editing command that writes a file: create the
// new output beside its destination and open the font it reads.
#pragma once

#include <string>

#include "core/io/readable_file.h"
#include "editor/model/font_analysis.h"
#include "shell/sinks.h"
#include "platform/output_file.h"

namespace editor {

// Begins `out` at outputPath and opens the font. On failure logs the
// "has an error at 1" line (with createNote after the error code) or the
// "has an error at 3" line, and returns false; nothing is left on disk.
bool OpenOutputAndFont(const std::string& outputPath, const char* createNote, const FontAnalysis& analysis,
                       platform::AtomicOutput& out, core::ReadableFile& font, shell::LogSink& log);

// False (logged) when the opened font is not the file the analysis read:
// replaced, written or cut since. Table places come from the analysis only
// while this holds.
bool IsAnalysedFont(const FontAnalysis& analysis, const core::ReadableFile& font, shell::LogSink& log);

// After the copies, before the output is committed: false (logged) when a
// read of `file` failed or the file changed while it was copied.
bool CopiedWhole(const core::ReadableFile& file, const std::string& path, shell::LogSink& log);

}  // namespace editor
