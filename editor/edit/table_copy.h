// Moving table data into a new file: ranges of the font file copied through
// a large buffer, stopping at the end of the file, and the log lines for
// outputs that could not be written.
#pragma once

#include <cstdint>
#include <string>

#include "core/io/readable_file.h"
#include "shell/sinks.h"
#include "platform/output_file.h"

namespace editor {

using platform::CopyStatus;

// Appends the bytes of [offset, offset + length) that the file holds to
// `out`; *copied tells how many. A read that delivers less than the file's
// size promises is a read failure.
CopyStatus CopyRange(const core::ReadableFile& file, uint64_t offset, uint64_t length, platform::AtomicOutput& out,
                     uint64_t* copied);

// "Function WriteFile(%s) has an error at 1!! %d\r\n--\r\n": an output that
// could not be written (it has been removed).
void LogWriteFailure(shell::LogSink& log, const platform::AtomicOutput& out);
// "Function ReadFile(%s) has an error at 3!! %d\r\n--\r\n".
void LogReadFailure(shell::LogSink& log, const std::string& path, int error);

// "The font file %s is not the file that was analysed; open it again.\r\n--\r\n":
// the font was replaced or changed since the analysis.
void LogFontChanged(shell::LogSink& log, const std::string& path);
// "The file %s changed while it was copied; nothing is written.\r\n--\r\n".
void LogChangedDuringCopy(shell::LogSink& log, const std::string& path);

// Commits the output, or logs the failure; true when the file is in place.
bool CommitOrLog(platform::AtomicOutput& out, shell::LogSink& log);

}  // namespace editor
