#include "editor/font_rewrite.h"

#include <cerrno>
#include <cstring>

#include "core/byte_order.h"
#include "editor/command_files.h"
#include "editor/table_copy.h"
#include "editor/text_block.h"

namespace editor {
namespace {

// Tables begin at 4-byte boundaries; the zero fill keeps every checksum.
uint64_t PaddedLength(uint64_t length) { return (length + 3) & ~uint64_t{3}; }

void LogCollectionRefusal(const std::string& fontPath, const char* action, shell::LogSink& log) {
  log.Append(FormatBlock("%s is a TrueType collection. Tables cannot be %s a collection.\r\n--\r\n",
                         fontPath.c_str(), action));
}

// "ttcf" read as an offset table's version.
constexpr uint16_t kCollectionMajor = 0x7474, kCollectionMinor = 0x6366;

}  // namespace

bool RefusedAsCollection(const FontAnalysis& analysis, const char* action, shell::LogSink& log) {
  const FontRecord* record = ListedFont(analysis);
  bool collection = analysis.collection || (record && record->offsetTable.versionMajor == kCollectionMajor &&
                                            record->offsetTable.versionMinor == kCollectionMinor);
  if (collection) LogCollectionRefusal(analysis.fontPath, action, log);
  return collection;
}

bool DirectoryForRewrite(const FontAnalysis& analysis, const core::ReadableFile& font, uint32_t listCount,
                         const char* action, core::OffsetTable* table, std::vector<core::TableDirEntry>* entries,
                         shell::LogSink& log) {
  const std::string& fontPath = analysis.fontPath;
  uint8_t start[4];
  font.ReadAtZeroFilled(0, start, sizeof start);
  if (std::memcmp(start, "ttcf", 4) == 0 || analysis.collection) {
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
  table.numTables = static_cast<uint16_t>(tables.size());
  core::SearchFields search = core::BinarySearchFields(table.numTables, core::TableDirEntry::kSize);
  table.searchRange = search.searchRange;
  table.entrySelector = search.entrySelector;
  table.rangeShift = search.rangeShift;
  uint64_t position = core::OffsetTable::kSize + core::TableDirEntry::kSize * uint64_t{tables.size()};
  for (RewrittenTable& t : tables) {
    position = PaddedLength(position);
    uint64_t present = BytesInFile(*t.source, t.sourceOffset, t.sourceLength);
    if (present < t.sourceLength)
      log.Append(FormatBlock("Table %c%c%c%c is cut short by the end of its file: %llu of %llu bytes are there.\r\n",
                             t.entry.tag[0], t.entry.tag[1], t.entry.tag[2], t.entry.tag[3],
                             static_cast<unsigned long long>(present),
                             static_cast<unsigned long long>(t.sourceLength)));
    t.sourceLength = present;
    if (position + present > UINT32_MAX) {
      log.Append("The new font would be larger than 4 GiB, which its table directory cannot describe.\r\n--\r\n");
      return false;
    }
    t.entry.offset = static_cast<uint32_t>(position);
    t.entry.length = static_cast<uint32_t>(present);
    position += present;
  }

  core::ByteWriter head;
  core::WriteRecord(table, head);
  for (const RewrittenTable& t : tables) core::WriteRecord(t.entry, head);
  if (!out.Write(head.bytes())) {
    LogWriteFailure(log, out);
    return false;
  }
  uint64_t written = head.bytes().size();
  static constexpr uint8_t kFill[3] = {};
  for (const RewrittenTable& t : tables) {
    if (t.entry.offset > written && !out.Write(kFill, t.entry.offset - written)) {
      LogWriteFailure(log, out);
      return false;
    }
    written = t.entry.offset + t.sourceLength;
    uint64_t copied = 0;
    CopyStatus status = CopyRange(*t.source, t.sourceOffset, t.sourceLength, out, &copied);
    if (status == CopyStatus::kWriteFailed) {
      LogWriteFailure(log, out);
      return false;
    }
    if (status == CopyStatus::kReadFailed) {
      LogReadFailure(log, *t.sourcePath, t.source->read_error());
      return false;
    }
  }
  for (const RewrittenTable& t : tables)
    if (!CopiedWhole(*t.source, *t.sourcePath, log)) return false;
  if (PaddedLength(written) > written && !out.Write(kFill, PaddedLength(written) - written)) {
    LogWriteFailure(log, out);
    return false;
  }
  return CommitOrLog(out, log);
}

}  // namespace editor
