#include "editor/edit/delete_table.h"

#include <cstring>
#include <vector>

#include "core/io/readable_file.h"
#include "editor/edit/command_files.h"
#include "editor/edit/font_rewrite.h"
#include "editor/render/text_block.h"
#include "platform/output_file.h"

namespace editor {

shell::CommandOutcome DeleteTable(const FontAnalysis& font, const DeleteTableRequest& request, const std::string& outputPath,
                           shell::LogSink& log, shell::MessageSink&) {
  platform::AtomicOutput out;
  core::ReadableFile fontFile;
  if (!OpenOutputAndFont(outputPath, " File exist?", font, out, fontFile, log)) return {};
  core::OffsetTable table;
  std::vector<core::TableDirEntry> entries;
  if (!DirectoryForRewrite(font, fontFile, request.tableCount, "deleted from", &table, &entries, log)) return {};

  std::vector<RewrittenTable> kept;
  kept.reserve(entries.size());
  size_t matches = 0;
  for (const core::TableDirEntry& entry : entries) {
    if (request.tag.size() == 4 && std::memcmp(entry.tag.data(), request.tag.data(), 4) == 0) {
      ++matches;
      continue;
    }
    kept.push_back(RewrittenTable{entry, &fontFile, &font.fontPath, entry.offset, entry.length});
  }
  if (matches != 1) {
    log.Append(FormatBlock("The font holds table %s %u times, not once. Nothing is deleted.\r\n--\r\n",
                           request.tag.c_str(), static_cast<unsigned>(matches)));
    return {};
  }
  if (!WriteRewrittenFont(table, std::move(kept), out, log)) return {};
  log.Append(FormatBlock("Delete %s table.\r\n--\r\n", request.tag.c_str()));
  return shell::CommandOutcome{shell::Outcome::kDone, shell::DialogStep::kClose};
}

}  // namespace editor
