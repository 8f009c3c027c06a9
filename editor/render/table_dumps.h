// The dumps of the report: for head, OS/2, cmap, maxp, hhea, hmtx and name,
// a few formatted lines about the table's main fields. Each dump opens the
// font file by name, reads a fixed number of bytes at the table's offset
// (bytes past the end of the file read as zero) and appends its lines.
#pragma once

#include "core/io/readable_file.h"

#include <array>
#include <cstdint>
#include <functional>

#include <string>

#include "editor/render/name_string.h"
#include "shell/sinks.h"

namespace editor {

struct DumpContext {
  const std::string& fontPath;
  shell::LogSink& log;
  shell::MessageSink& messages;
  uint32_t trueAdjustment = 0;  // shown on the head dump's "should be" line
  // True once the report has reached its size bound: the dumps stop there.
  std::function<bool()> reportFull = [] { return false; };
  // The font as the run opened it, and where the dumps note a read that
  // failed or a font that is no longer that file (when set).
  const core::FileIdentity* identity = nullptr;
  struct Faults {
    int readError = 0;
    bool changed = false;
  }* faults = nullptr;
  NameText nameText = NameText::kShiftJis;  // how the name dump writes Japanese and Unicode strings
};

// Each returns false (after the message box) when the font file cannot be
// opened.
bool DumpHead(const DumpContext& context, uint32_t offset, uint32_t* storedAdjustment);
bool DumpOs2(const DumpContext& context, uint32_t offset);
bool DumpCmap(const DumpContext& context, uint32_t offset);
bool DumpMaxp(const DumpContext& context, uint32_t offset);
bool DumpHhea(const DumpContext& context, uint32_t offset);
bool DumpHmtx(const DumpContext& context, uint32_t offset);
bool DumpName(const DumpContext& context, uint32_t offset);

// The dump for a tag (exact, case-sensitive); tags without one are skipped.
// *storedAdjustment is set by a head dump.
// The tags that have a dump (case counts).
bool IsDumpedTag(const std::array<uint8_t, 4>& tag);
void DumpTable(const DumpContext& context, const std::array<uint8_t, 4>& tag, uint32_t offset,
               uint32_t* storedAdjustment);

}  // namespace editor
