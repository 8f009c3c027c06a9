#include "editor/edit/font_rewrite.h"

#include <cerrno>
#include <cstring>

#include "core/io/byte_order.h"
#include "core/sfnt/font_builder.h"
#include "editor/edit/command_files.h"
#include "editor/edit/table_copy.h"
#include "editor/render/text_block.h"

namespace editor {
namespace {

void LogCollectionRefusal(const std::string& fontPath, const char* action, shell::LogSink& log) {
  log.Append(FormatBlock("%s is a TrueType collection. Tables cannot be %s a collection.\r\n--\r\n",
                         fontPath.c_str(), action));
}

// The offset table's version as the file holds it.
bool VersionIsCollectionTag(const core::OffsetTable& table) {
  const uint8_t version[4] = {static_cast<uint8_t>(table.versionMajor >> 8), static_cast<uint8_t>(table.versionMajor),
                              static_cast<uint8_t>(table.versionMinor >> 8), static_cast<uint8_t>(table.versionMinor)};
  return core::IsCollectionTag(version);
}

}  // namespace

bool RefusedAsCollection(const FontAnalysis& analysis, const char* action, shell::LogSink& log) {
  const FontRecord* record = ListedFont(analysis);
  bool collection = analysis.collection || (record && VersionIsCollectionTag(record->offsetTable));
  if (collection) LogCollectionRefusal(analysis.fontPath, action, log);
  return collection;
}

bool DirectoryForRewrite(const FontAnalysis& analysis, const core::ReadableFile& font, uint32_t listCount,
                         const char* action, core::OffsetTable* table, std::vector<core::TableDirEntry>* entries,
                         shell::LogSink& log) {
  const std::string& fontPath = analysis.fontPath;
  uint8_t start[4];
  font.ReadAtZeroFilled(0, start, sizeof start);
  if (core::IsCollectionTag(start) || analysis.collection) {
    LogCollectionRefusal(fontPath, action, log);
    return false;
  }
  const FontRecord* record = ListedFont(analysis);
  if (!record) {
    log.Append(FormatBlock("The table directory of %s was not read when it was opened. Tables cannot be %s it; "
                           "open it again.\r\n--\r\n",
                           fontPath.c_str(), action));
    return false;
  }
  *table = record->offsetTable;
  if (listCount != table->numTables) {
    log.Append(FormatBlock("The table list holds %u tables, but %s holds %u. Tables cannot be %s it; open it "
                           "again.\r\n--\r\n",
                           listCount, fontPath.c_str(), unsigned{table->numTables}, action));
    return false;
  }
  if (!record->directoryComplete) {
    log.Append(FormatBlock("The table directory of %s runs past the end of the file. Tables cannot be %s "
                           "it.\r\n--\r\n",
                           fontPath.c_str(), action));
    return false;
  }
  if (!IsAnalysedFont(analysis, font, log)) return false;
  *entries = record->entries;
  return true;
}

bool WriteRewrittenFont(core::OffsetTable table, std::vector<RewrittenTable> tables, platform::AtomicOutput& out,
                        shell::LogSink& log) {
  core::FontPlan plan;
  plan.sfntVersion = (uint32_t{table.versionMajor} << 16) | table.versionMinor;
  plan.tables.reserve(tables.size());
  for (size_t i = 0; i < tables.size(); ++i) {
    const RewrittenTable& t = tables[i];
    plan.tables.push_back(core::TableSource{t.entry.tag, t.entry.checkSum, {}, t.source, t.sourceOffset,
                                            t.sourceLength, static_cast<int>(i)});
  }
  for (const core::Problem& problem : core::WriteFont(plan, core::TableSums::kAsGiven, out)) {
    switch (problem.code) {
      case core::ProblemCode::kTableCutShort:
        log.Append(FormatBlock("Table %c%c%c%c is cut short by the end of its file: %llu of %llu bytes are there.\r\n",
                               problem.tag[0], problem.tag[1], problem.tag[2], problem.tag[3],
                               static_cast<unsigned long long>(problem.number),
                               static_cast<unsigned long long>(problem.limit)));
        break;
      case core::ProblemCode::kFontTooLarge:
        log.Append("The new font would be larger than 4 GiB, which its table directory cannot describe.\r\n--\r\n");
        return false;
      case core::ProblemCode::kReadFailed:
        LogReadFailure(log, *tables[problem.source].sourcePath, problem.systemError);
        return false;
      default:
        LogWriteFailure(log, out);
        return false;
    }
  }
  for (const RewrittenTable& t : tables)
    if (!CopiedWhole(*t.source, *t.sourcePath, log)) return false;
  return CommitOrLog(out, log);
}

}  // namespace editor
