#include "editor/edit/table_copy.h"

#include <algorithm>
#include <cerrno>

#include "editor/render/text_block.h"

namespace editor {
CopyStatus CopyRange(const core::ReadableFile& file, uint64_t offset, uint64_t length, platform::AtomicOutput& out,
                     uint64_t* copied) {
  return out.CopyFrom(file, offset, length, copied);
}

void LogWriteFailure(shell::LogSink& log, const platform::AtomicOutput& out) {
  log.Append(FormatBlock("Function WriteFile(%s) has an error at 1!! %d%s\r\n--\r\n", out.destination().c_str(),
                         out.error(), core::ReasonNote(out.error()).c_str()));
}

void LogReadFailure(shell::LogSink& log, const std::string& path, int error) {
  log.Append(FormatBlock("Function ReadFile(%s) has an error at 3!! %d%s\r\n--\r\n", path.c_str(), error,
                         core::ReasonNote(error).c_str()));
}

void LogFontChanged(shell::LogSink& log, const std::string& path) {
  log.Append(FormatBlock("The font file %s is not the file that was analysed; open it again.\r\n--\r\n",
                         path.c_str()));
}

void LogChangedDuringCopy(shell::LogSink& log, const std::string& path) {
  log.Append(FormatBlock("The file %s changed while it was copied; nothing is written.\r\n--\r\n", path.c_str()));
}

bool CommitOrLog(platform::AtomicOutput& out, shell::LogSink& log) {
  if (out.Commit()) return true;
  LogWriteFailure(log, out);
  return false;
}

}  // namespace editor
