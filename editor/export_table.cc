#include "editor/export_table.h"

#include <cerrno>

#include "core/readable_file.h"
#include "editor/command_files.h"
#include "editor/table_copy.h"
#include "editor/text_block.h"
#include "platform/output_file.h"

namespace editor {

std::string ExportSuffix(const std::string& tag) {
  std::string suffix = tag;
  for (char& c : suffix)
    if (c == '/') c = '_';
  return suffix;
}

CommandOutcome ExportTable(const ExportTableRequest& request, const std::string& outputPath, LogSink& log) {
  platform::AtomicOutput out;
  core::ReadableFile font;
  if (!OpenOutputAndFont(outputPath, "", request.fontPath, out, font, log)) return {};
  uint64_t copied = 0;
  CopyStatus status = CopyRange(font, request.location.offset, request.location.length, out, &copied);
  if (status == CopyStatus::kWriteFailed) {
    LogWriteFailure(log, out);
    return {};
  }
  if (status == CopyStatus::kReadFailed) {
    LogReadFailure(log, request.fontPath, EIO);
    return {};
  }
  if (copied < request.location.length)
    log.Append(FormatBlock("Only %llu of the %u bytes of table %s lie inside the font file.\r\n",
                           static_cast<unsigned long long>(copied), request.location.length, request.tag.c_str()));
  if (!CommitOrLog(out, log)) return {};
  log.Append(FormatBlock("Exported %s table.\r\n--\r\n", request.tag.c_str()));
  return CommandOutcome{true, DialogStep::kClose};
}

}  // namespace editor
