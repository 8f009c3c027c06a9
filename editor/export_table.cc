#include "editor/export_table.h"

#include <cerrno>
#include <cstring>

#include "core/readable_file.h"
#include "core/sfnt_records.h"
#include "editor/command_files.h"
#include "editor/table_copy.h"
#include "editor/text_block.h"
#include "platform/output_file.h"

namespace editor {

namespace {

// The table list keeps each tag's place in a settings section, and settings
// sections match without regard to case, so "head" and "HEAD" share one.
// When the font's own directory holds the tag exactly once (case counts),
// its entry is the table to export.
TableLocation LocationInFont(const core::ReadableFile& font, const std::string& tag, TableLocation listed) {
  if (tag.size() != 4) return listed;
  core::OffsetTable table = core::ReadOffsetTable(font, 0);
  int matches = 0;
  TableLocation location = listed;
  for (const core::TableDirEntry& entry : core::ReadTableDirectory(font, 0, table.numTables)) {
    if (std::memcmp(entry.tag.data(), tag.data(), 4) != 0) continue;
    ++matches;
    location = TableLocation{entry.offset, entry.length};
  }
  return matches == 1 ? location : listed;
}

}  // namespace

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
  TableLocation location = LocationInFont(font, request.tag, request.location);
  CopyStatus status = CopyRange(font, location.offset, location.length, out, &copied);
  if (status == CopyStatus::kWriteFailed) {
    LogWriteFailure(log, out);
    return {};
  }
  if (status == CopyStatus::kReadFailed) {
    LogReadFailure(log, request.fontPath, EIO);
    return {};
  }
  if (copied < location.length)
    log.Append(FormatBlock("Only %llu of the %u bytes of table %s lie inside the font file.\r\n",
                           static_cast<unsigned long long>(copied), location.length, request.tag.c_str()));
  if (!CommitOrLog(out, log)) return {};
  log.Append(FormatBlock("Exported %s table.\r\n--\r\n", request.tag.c_str()));
  return CommandOutcome{true, DialogStep::kClose};
}

}  // namespace editor
