// What the add and delete commands share: reading the font file's own
// directory for a rewrite, and writing a new font whose tables lie back to
// back in directory order, without alignment or fill bytes. Checksums are
// copied as they stand; the recalculation makes the new font consistent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/readable_file.h"
#include "core/sfnt_records.h"
#include "editor/sinks.h"
#include "platform/output_file.h"

namespace editor {

// Reads the offset table and `listCount` entries (the table list's count)
// at the start of the file. Refuses, with a log line, a collection, a
// count that differs from the file's numTables (the table list is out of
// step with the file), and a directory that runs past the end of the file.
// `action` completes "Tables cannot be %s ..." in those lines.
bool ReadDirectoryForRewrite(const core::ReadableFile& font, const std::string& fontPath, uint32_t listCount,
                             const char* action, core::OffsetTable* table, std::vector<core::TableDirEntry>* entries,
                             LogSink& log);

// One table of the new font, in directory order: its entry (tag, checkSum
// as they stand) and where its bytes come from.
struct RewrittenTable {
  core::TableDirEntry entry;
  const core::ReadableFile* source = nullptr;  // the font file or the table file
  const std::string* sourcePath = nullptr;     // its name, for messages
  uint64_t sourceOffset = 0;
  uint64_t sourceLength = 0;
};

// Lays the tables out after the offset table and the directory, sets each
// entry's offset and length (a table that the end of its file cuts short
// gets the length that was there, with a log line), writes the whole font
// to `out` and commits it. Any failure is logged and leaves no file.
bool WriteRewrittenFont(core::OffsetTable table, std::vector<RewrittenTable> tables, platform::AtomicOutput& out,
                        LogSink& log);

}  // namespace editor
