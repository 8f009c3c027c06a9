// What the add and delete commands share: taking the open font's analysed
// directory for a rewrite, and writing a new font whose tables lie in
// directory order, each at a 4-byte boundary with zero fill after a table
// whose length is not a multiple of 4, under an offset table whose search
// fields fit the new count. Checksums are copied as they stand (zero fill
// changes none); the recalculation makes the new font consistent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"
#include "editor/model/font_analysis.h"
#include "shell/sinks.h"
#include "platform/output_file.h"

namespace editor {

// True, after a log line, when the open font is a collection as its analysis
// saw it: a path ending in ".ttc", or a file that starts with "ttcf". The
// commands ask this before they ask for an output name.
bool RefusedAsCollection(const FontAnalysis& analysis, const char* action, shell::LogSink& log);

// The offset table and entries of the font to rewrite, as its analysis read
// them. Refuses, with a log line, a collection (the file starts with "ttcf"
// or the analysis took it for one), an analysis that read no directory, a
// `listCount` (the table list's count when the dialog opened) that differs
// from the font's numTables (the table list is out of step with the font),
// and a directory that runs past the end of the file. `action` completes
// "Tables cannot be %s ..." in those lines.
bool DirectoryForRewrite(const FontAnalysis& analysis, const core::ReadableFile& font, uint32_t listCount,
                         const char* action, core::OffsetTable* table, std::vector<core::TableDirEntry>* entries,
                         shell::LogSink& log);

// One table of the new font, in directory order: its entry (tag, checkSum
// as they stand) and where its bytes come from.
struct RewrittenTable {
  core::TableDirEntry entry;
  const core::ReadableFile* source = nullptr;  // the font file or the table file
  const std::string* sourcePath = nullptr;     // its name, for messages
  uint64_t sourceOffset = 0;
  uint64_t sourceLength = 0;
};

// Writes the tables as a new font through the font builder (checksums as
// they stand; a table that the end of its file cuts short gets the length
// that was there, with a log line) and commits it. Any failure is logged
// and leaves no file.
bool WriteRewrittenFont(core::OffsetTable table, std::vector<RewrittenTable> tables, platform::AtomicOutput& out,
                        shell::LogSink& log);

}  // namespace editor
