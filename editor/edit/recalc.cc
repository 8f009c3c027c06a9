#include "editor/edit/recalc.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "core/sfnt/font_builder.h"
#include "editor/edit/table_copy.h"
#include "editor/model/font_structure.h"
#include "editor/render/text_block.h"
#include "platform/output_file.h"

namespace editor {
namespace {

std::vector<uint8_t> EncodeEntry(const core::TableDirEntry& entry) {
  auto bytes = core::EncodeRecord(entry);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The recalculation of one font of the file.
void RecalcFont(const FontRecord& record, uint32_t fontOffset, core::KeptLayout& copy, shell::LogSink& log) {
  uint64_t directoryStart = uint64_t{fontOffset} + core::OffsetTable::kSize;
  uint64_t directorySize = core::OffsetTable::kSize + core::TableDirEntry::kSize * uint64_t{record.offsetTable.numTables};
  if (!record.directoryComplete || record.entries.size() != record.offsetTable.numTables ||
      !copy.Holds(fontOffset, directorySize)) {
    log.Append(FormatBlock("The table directory at 0x%x runs past the end of the file; it is left as it is.\r\n",
                           fontOffset));
    return;
  }

  std::vector<core::TableDirEntry> entries = record.entries;
  std::vector<uint8_t> directory;
  directory.reserve(entries.size() * core::TableDirEntry::kSize);
  bool hasHead = false;
  uint32_t headOffset = 0;
  uint32_t entrySum = 0;
  for (size_t k = 0; k < entries.size(); ++k) {
    core::TableDirEntry& entry = entries[k];
    entry.checkSum = record.calculatedSums[k];
    if (core::IsHeadTag(entry.tag)) {
      hasHead = true;
      headOffset = entry.offset;
      entry.checkSum = 0;
    }
    entrySum += entry.checkSum;
    std::vector<uint8_t> bytes = EncodeEntry(entry);
    directory.insert(directory.end(), bytes.begin(), bytes.end());
  }
  copy.Patch(directoryStart, std::move(directory));
  uint32_t directorySum = core::TableCheckSumOfBytes(copy.Read(fontOffset, static_cast<size_t>(directorySize)));

  if (!hasHead) {
    log.Append(FormatBlock("The font at 0x%x has no head table; its checkSumAdjustment is not set.\r\n", fontOffset));
    return;
  }
  if (!copy.Holds(headOffset, core::kHeadSummedBytes)) {
    log.Append(FormatBlock("The head table at 0x%x runs past the end of the file; its checkSumAdjustment is not "
                           "set.\r\n",
                           headOffset));
    return;
  }
  std::vector<uint8_t> headBlock = copy.Read(headOffset, core::kHeadSummedBytes);
  core::StoreCheckSumAdjustment(headBlock, 0);
  copy.Patch(headOffset, headBlock);
  uint32_t headSum = core::TableCheckSumOfBytes(copy.Read(headOffset, core::kHeadSummedBytes));
  log.Append(FormatBlock("ulConstHead = 0x%x\r\n", headSum));
  // The finished font: its directory gains head's sum in head's entry, and
  // its tables are the entries' sums (head's counted as 0 so far) plus head's.
  const uint32_t tableSums[] = {entrySum, headSum};
  uint32_t adjustment = core::TrueAdjustment(core::WholeFontTotal(directorySum + headSum, tableSums));
  log.Append(FormatBlock("head.checkSumAdjustment = 0x%x\r\n", adjustment));
  core::StoreCheckSumAdjustment(headBlock, adjustment);
  copy.Patch(headOffset, std::move(headBlock));
  log.Append(FormatBlock("head table check sum = 0x%x\r\n", headSum));

  for (size_t k = 0; k < entries.size(); ++k) {
    uint64_t at = directoryStart + core::TableDirEntry::kSize * k;
    std::vector<uint8_t> written = copy.Read(at, 4);
    if (std::memcmp(written.data(), "head", 4) != 0) continue;
    log.Append("Match head!!\r\n");
    core::TableDirEntry entry = entries[k];
    entry.checkSum = headSum;
    copy.Patch(at, EncodeEntry(entry));
  }
}

// Whether every directory and every table of every font lies inside the
// file; logs the first that does not.
bool TablesInsideFile(const FontAnalysis& analysis, uint64_t fileSize, shell::LogSink& log) {
  for (size_t i = 0; i < analysis.fonts.size() && i < analysis.fontOffsets.size(); ++i) {
    const FontRecord& font = analysis.fonts[i];
    if (font.repeat) continue;
    const uint32_t fontOffset = analysis.fontOffsets[i];
    if (!font.directoryComplete || font.entries.size() != font.offsetTable.numTables) {
      log.Append(FormatBlock("The table directory at 0x%x runs past the end of the file.\r\n", fontOffset));
      return false;
    }
    for (const core::TableDirEntry& entry : font.entries) {
      if (uint64_t{entry.offset} + entry.length <= fileSize) continue;
      log.Append(FormatBlock("Table %s (offset 0x%x, 0x%x bytes) of the font at 0x%x runs past the end of the "
                             "file (0x%llx bytes).\r\n",
                             TagName(entry.tag).c_str(), entry.offset, entry.length, fontOffset,
                             static_cast<unsigned long long>(fileSize)));
      return false;
    }
  }
  return true;
}

// The copy's failure, then which file failed and why.
void LogCopyFailure(shell::LogSink& log, const std::string& from, const std::string& to, const std::string& failed,
                    int error) {
  log.Append(FormatBlock("Failed in copying file from\r\n  %s to\r\n  %s\r\n", from.c_str(), to.c_str()));
  if (error == EEXIST)
    log.Append(FormatBlock("%s exists already.\r\n--\r\n", failed.c_str()));
  else
    log.Append(FormatBlock("%s: %s\r\n--\r\n", failed.c_str(), core::ErrorReason(error).c_str()));
}

}  // namespace

bool RecalcCheckSum(const FontAnalysis* analysis, const std::string& outputPath, shell::LogSink& log) {
  if (!analysis || analysis->fontPath.empty()) {
    log.Append("Please open a ttf file.\r\n--\r\n");
    return false;
  }
  const std::string& fontPath = analysis->fontPath;
  if (analysis->fonts.empty()) {
    log.Append(FormatBlock("No table directory of %s was read, so there is nothing to recalculate.\r\n--\r\n",
                           fontPath.c_str()));
    return false;
  }
  // Sums given as 0 by a missing export would be written as the font's own.
  if (!analysis->bothSumExports) {
    log.Append(FormatBlock("The checksum library lacks CalcTblCheckSum or CalcHeadCheckSum, so the check sums of %s "
                           "cannot be recalculated.\r\n--\r\n",
                           fontPath.c_str()));
    return false;
  }
  core::ReadableFile source;
  platform::AtomicOutput out;
  if (!source.Open(fontPath)) {
    LogCopyFailure(log, fontPath, outputPath, fontPath, source.error());
    return false;
  }
  // Sums of bytes the file does not hold would be sums of nothing: such a
  // font is refused before anything is written.
  if (!TablesInsideFile(*analysis, source.size(), log)) {
    log.Append(FormatBlock("The check sums of %s cannot be recalculated; nothing is written.\r\n--\r\n",
                           fontPath.c_str()));
    return false;
  }
  if (!out.Begin(outputPath)) {
    LogCopyFailure(log, fontPath, outputPath, outputPath, out.error());
    return false;
  }
  if (source.identity() != analysis->identity) {
    LogFontChanged(log, fontPath);
    return false;
  }
  core::KeptLayout copy(source);
  CopyStatus status = copy.WriteSource(out);
  if (status == CopyStatus::kReadFailed) {
    LogReadFailure(log, fontPath, source.read_error());
    return false;
  }
  if (status != CopyStatus::kOk) {
    LogCopyFailure(log, fontPath, outputPath, outputPath, out.error() ? out.error() : EIO);
    return false;
  }

  for (size_t i = 0; i < analysis->fonts.size() && i < analysis->fontOffsets.size(); ++i)
    RecalcFont(analysis->fonts[i], analysis->fontOffsets[i], copy, log);
  if (source.read_error() != 0) {
    LogReadFailure(log, fontPath, source.read_error());
    return false;
  }
  if (!source.Unchanged()) {
    LogChangedDuringCopy(log, fontPath);
    return false;
  }
  if (!copy.WritePatches(out)) {
    LogWriteFailure(log, out);
    return false;
  }
  if (!CommitOrLog(out, log)) return false;
  log.Append("Done\r\n--\r\n");
  return true;
}

}  // namespace editor
