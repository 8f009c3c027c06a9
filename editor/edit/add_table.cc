#include "editor/edit/add_table.h"

#include <cstring>
#include <vector>

#include "core/io/byte_order.h"
#include "editor/edit/command_files.h"
#include "editor/edit/font_rewrite.h"
#include "editor/render/text_block.h"
#include "platform/output_file.h"

namespace editor {

std::string TypedTag(const std::string& typed) { return typed.substr(0, 4); }

std::string PaddedTag(const std::string& typed) {
  std::string tag = TypedTag(typed);
  tag.resize(4, ' ');
  return tag;
}

shell::CommandOutcome AddTable(const FontAnalysis& font, const AddTableRequest& request, const core::ReadableFile& tableFile,
                        const std::string& outputPath, shell::LogSink& log, shell::MessageSink& messages) {
  platform::AtomicOutput out;
  core::ReadableFile fontFile;
  if (!OpenOutputAndFont(outputPath, " File exist?", font, out, fontFile, log)) return {};
  core::OffsetTable table;
  std::vector<core::TableDirEntry> entries;
  if (!DirectoryForRewrite(font, fontFile, request.tableCount, "added to", &table, &entries, log)) return {};

  std::string tagText = PaddedTag(request.tag);
  std::array<uint8_t, 4> tag;
  std::memcpy(tag.data(), tagText.data(), 4);
  for (const core::TableDirEntry& entry : entries) {
    if (entry.tag == tag) {
      messages.Show(shell::Message{"Error", "The font has the same table name."});
      return shell::CommandOutcome{shell::Outcome::kFailed, shell::DialogStep::kStayOpen};
    }
  }

  // The new entry goes before the first entry whose tag sorts at or after it.
  uint32_t key = core::TagValue(tag.data());
  std::vector<RewrittenTable> tables;
  tables.reserve(entries.size() + 1);
  bool placed = false;
  for (const core::TableDirEntry& entry : entries) {
    if (!placed && core::TagValue(entry.tag.data()) >= key) {
      core::TableDirEntry added;
      added.tag = tag;
      tables.push_back(RewrittenTable{added, &tableFile, &request.tableFilePath, 0, tableFile.size()});
      placed = true;
    }
    tables.push_back(RewrittenTable{entry, &fontFile, &font.fontPath, entry.offset, entry.length});
  }
  if (!placed) {
    core::TableDirEntry added;
    added.tag = tag;
    tables.push_back(RewrittenTable{added, &tableFile, &request.tableFilePath, 0, tableFile.size()});
  }
  if (!WriteRewrittenFont(table, std::move(tables), out, log)) return {};
  log.Append(FormatBlock("Add %s table.\r\n--\r\n", TypedTag(request.tag).c_str()));
  return shell::CommandOutcome{shell::Outcome::kDone, shell::DialogStep::kClose};
}

}  // namespace editor
