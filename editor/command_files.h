// The first steps of every editing command that writes a file: create the
// new output beside its destination and open the font it reads.
#pragma once

#include <string>

#include "core/readable_file.h"
#include "shell/sinks.h"
#include "platform/output_file.h"

namespace editor {

// Begins `out` at outputPath and opens the font. On failure logs the
// "has an error at 1" line (with createNote after the error code) or the
// "has an error at 3" line, and returns false; nothing is left on disk.
bool OpenOutputAndFont(const std::string& outputPath, const char* createNote, const std::string& fontPath,
                       platform::AtomicOutput& out, core::ReadableFile& font, shell::LogSink& log);

}  // namespace editor
