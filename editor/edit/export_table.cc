#include "editor/edit/export_table.h"

#include <cerrno>

#include "core/io/readable_file.h"
#include "editor/edit/command_files.h"
#include "editor/edit/table_copy.h"
#include "editor/render/text_block.h"
#include "platform/output_file.h"

namespace editor {

std::string ExportSuffix(const std::string& tag) {
  std::string suffix = tag;
  for (char& c : suffix)
    if (c == '/') c = '_';
  return suffix;
}

shell::CommandOutcome ExportTable(const FontAnalysis& font, const std::string& tag, const std::string& outputPath,
                           shell::LogSink& log) {
  platform::AtomicOutput out;
  core::ReadableFile file;
  if (!OpenOutputAndFont(outputPath, "", font, out, file, log)) return {};
  // The tag comes from the table list, which another run may have rewritten
  // since this font was analysed; only the font's own directory places it.
  const core::TableDirEntry* entry = nullptr;
  size_t matches = CountListedTag(font, tag, &entry);
  if (matches == 0) {
    log.Append(FormatBlock("The table directory of %s holds no table %s. Nothing is exported; open the font "
                           "again.\r\n--\r\n",
                           font.fontPath.c_str(), tag.c_str()));
    return {};
  }
  if (matches > 1) {
    log.Append(FormatBlock("The font holds table %s %u times, not once. Nothing is exported.\r\n--\r\n",
                           tag.c_str(), static_cast<unsigned>(matches)));
    return {};
  }
  // An entry that the end of the file cuts short has no place to copy from:
  // its offset and length were read as zeros.
  const FontRecord* listed = ListedFont(font);
  const size_t fontIndex = static_cast<size_t>(listed - font.fonts.data());
  const uint64_t entryEnd = uint64_t{fontIndex < font.fontOffsets.size() ? font.fontOffsets[fontIndex] : 0} +
                            core::OffsetTable::kSize +
                            core::TableDirEntry::kSize * uint64_t{static_cast<size_t>(entry - listed->entries.data()) + 1};
  if (entryEnd > file.size()) {
    log.Append(FormatBlock("The directory entry of table %s is cut short by the end of the font file, so its place "
                           "is unknown. Nothing is exported.\r\n--\r\n",
                           tag.c_str()));
    return {};
  }
  if (!IsAnalysedFont(font, file, log)) return {};
  uint64_t copied = 0;
  CopyStatus status = CopyRange(file, entry->offset, entry->length, out, &copied);
  if (status == CopyStatus::kWriteFailed) {
    LogWriteFailure(log, out);
    return {};
  }
  if (status == CopyStatus::kReadFailed) {
    LogReadFailure(log, font.fontPath, file.read_error());
    return {};
  }
  if (!CopiedWhole(file, font.fontPath, log)) return {};
  if (copied < entry->length)
    log.Append(FormatBlock("Only %llu of the %u bytes of table %s lie inside the font file.\r\n",
                           static_cast<unsigned long long>(copied), entry->length, tag.c_str()));
  if (!CommitOrLog(out, log)) return {};
  log.Append(FormatBlock("Exported %s table.\r\n--\r\n", tag.c_str()));
  return shell::CommandOutcome{shell::Outcome::kDone, shell::DialogStep::kClose};
}

}  // namespace editor
