#include "editor/render/table_dumps.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/io/readable_file.h"
#include "core/tables/cmap.h"
#include "core/tables/head.h"
#include "core/tables/hhea.h"
#include "core/tables/maxp.h"
#include "core/tables/name.h"
#include "core/tables/os2.h"
#include "editor/render/name_string.h"
#include "editor/render/text_block.h"

namespace editor {
namespace {

// Opens the font for one dump; the digit in the message tells which dump failed.
bool OpenForDump(const DumpContext& context, int place, core::ReadableFile* file) {
  if (file->Open(context.fontPath)) {
    if (context.faults && context.identity && file->identity() != *context.identity) context.faults->changed = true;
    return true;
  }
  context.messages.Show(shell::Message{"ERROR", FormatBlock("Function CreateFile(%s) has an error at %d!! %d%s",
                                                     context.fontPath.c_str(), place, file->error(),
                                                     core::OpenErrorNote(file->error())),
                                         core::ErrorReason(file->error())});
  return false;
}

// Notes the first read of a dump that failed, when the dump's file closes.
class ReadWatch {
 public:
  ReadWatch(const DumpContext& context, const core::ReadableFile& file) : context_(context), file_(file) {}
  ~ReadWatch() {
    if (context_.faults && context_.faults->readError == 0) context_.faults->readError = file_.read_error();
  }

 private:
  const DumpContext& context_;
  const core::ReadableFile& file_;
};

// A record of the table at `offset`; bytes past the end of the file read as zero.
template <typename Record>
Record ReadTableRecord(const core::ReadableFile& file, uint64_t offset) {
  return core::DecodeRecord<Record>(file.ReadRange(offset, Record::kSize));
}

const char* CmapPlatformName(uint16_t platform) {
  if (platform == 1) return "Macintoch";
  if (platform == 3) return "Microsoft";
  return "Unknown";
}

const char* CmapEncodingName(uint16_t platform, uint16_t encoding) {
  static constexpr const char* kMicrosoft[] = {"Symbol", "Unicode", "ShiftJIS", "Big5", "PRC", "Wangsung", "Johab"};
  if (platform == 3 && encoding < std::size(kMicrosoft)) return kMicrosoft[encoding];
  return "Unknown";
}

}  // namespace

bool DumpHead(const DumpContext& context, uint32_t offset, uint32_t* storedAdjustment) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  ReadWatch watch(context, file);
  core::Head head = ReadTableRecord<core::Head>(file, offset);
  *storedAdjustment = head.checkSumAdjustment;
  context.log.Append(FormatBlock(
      "head : Table_version_number = 0x%x, fontRevision = 0x%x,\r\n  checkSumAdjustment = 0x%x, magicNumber = "
      "0x%x,\r\n  unitsPerEm = %d\r\n  checkSumAdjustment should be 0x%x\r\n",
      head.version, head.fontRevision, head.checkSumAdjustment, head.magicNumber, head.unitsPerEm,
      context.trueAdjustment));
  return true;
}

bool DumpOs2(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  ReadWatch watch(context, file);
  core::Os2 os2 = ReadTableRecord<core::Os2>(file, offset);
  char vendor[5] = {};
  std::copy(os2.achVendID.begin(), os2.achVendID.end(), vendor);
  context.log.Append(FormatBlock(
      "OS/2 : version = 0x%x, achVendID = %s\r\nsTypoLineGap = %d, usWinAscent = %lu, usWinDescent = %lu, "
      "0x%x\r\n  panose.bProportion = %u (3=Modern, 4=Even Width, 9=Monospaced)\r\n  panose.bXHeight = %u\r\n",
      // The line gap too is shown as the unsigned number its two bytes make.
      os2.version, vendor, static_cast<int>(static_cast<uint16_t>(os2.sTypoLineGap)), static_cast<unsigned long>(os2.usWinAscent),
      static_cast<unsigned long>(os2.usWinDescent), os2.usWinDescent, os2.bProportion, os2.bXHeight));
  return true;
}

bool DumpCmap(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  ReadWatch watch(context, file);
  core::CmapHeader header = ReadTableRecord<core::CmapHeader>(file, offset);
  uint16_t count = header.numTables;
  context.log.Append(FormatBlock("cmap : version = 0x%x, number of tables = %d\r\n", header.version, count));
  std::vector<uint8_t> table = file.ReadRange(offset, core::EncodingRecordAt(count));
  core::CmapRecords cmap = core::ReadCmapRecords(table, core::Rounding::kTouchingRecords);
  for (const core::EncodingRecord& record : cmap.records) {
    if (context.reportFull()) return true;
    uint16_t platform = record.platformID;
    uint16_t encoding = record.encodingID;
    context.log.Append(FormatBlock(
        "cmap_entry : PlatformID = %d (%s), encodingID = %d (%s), subTblOffset = %lu\r\n", platform,
        CmapPlatformName(platform), encoding, CmapEncodingName(platform, encoding),
        static_cast<unsigned long>(record.subtableOffset)));
    core::SubtableHead16 subtable = ReadTableRecord<core::SubtableHead16>(file, uint64_t{offset} + record.subtableOffset);
    context.log.Append(FormatBlock("  format = %d\r\n", subtable.format));
  }
  size_t present = cmap.records.size();
  if (present < count)
    context.log.Append(FormatBlock("cmap : the file ends after %u of %u records.\r\n", static_cast<unsigned>(present),
                                   unsigned{count}));
  return true;
}

bool DumpMaxp(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 4, &file)) return false;
  ReadWatch watch(context, file);
  core::Maxp maxp = ReadTableRecord<core::Maxp>(file, offset);
  context.log.Append(FormatBlock("maxp : Table_version_number = 0x%x, numGlyphs = %d\r\n  maxPoints = %d\r\n",
                                 maxp.version, maxp.numGlyphs, maxp.maxPoints));
  return true;
}

bool DumpHhea(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 5, &file)) return false;
  ReadWatch watch(context, file);
  core::Hhea hhea = ReadTableRecord<core::Hhea>(file, offset);
  context.log.Append(FormatBlock(
      "hhea : Ascender = %ld, Decender = %ld, LineGap = %ld\r\n  advanceWidthMax = %lu, numberOfHMetrics = %lu\r\n",
      static_cast<long>(hhea.ascender), static_cast<long>(hhea.descender), static_cast<long>(hhea.lineGap),
      static_cast<unsigned long>(hhea.advanceWidthMax), static_cast<unsigned long>(hhea.numberOfHMetrics)));
  return true;
}

bool DumpHmtx(const DumpContext& context, uint32_t) {
  core::ReadableFile file;
  return OpenForDump(context, 6, &file);
}

bool DumpName(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  ReadWatch watch(context, file);
  core::NameHeader header = ReadTableRecord<core::NameHeader>(file, offset);
  uint16_t count = header.count;
  uint16_t storage = header.stringOffset;
  context.log.Append(FormatBlock("name : number of records = %d, Offset2String = 0x%x\r\n", count, storage));
  std::vector<uint8_t> table = file.ReadRange(offset, core::NameRecordsEnd(count));
  core::NameRecords name = core::ReadNameRecords(table, core::Rounding::kTouchingRecords);
  const core::NameStrings strings(file, offset, header, name.records, core::kNameStringLimit);
  std::vector<uint8_t> string(core::kNameStringLimit);
  for (const core::NameRecord& record : name.records) {
    if (context.reportFull()) return true;
    context.log.Append(FormatBlock(
        "name_record : PlatformID = %d, encodingID = %d, LanguageID = 0x%x, NameID = %d\r\n    StringLen = %d, "
        "Offset2String = 0x%x\r\n",
        record.platformID, record.encodingID, record.languageID, record.nameID, record.length, record.offset));
    const size_t want = strings.Want(record);
    strings.Read(record, string.data());
    std::string text =
        NameStringText(record.platformID, record.encodingID, std::span<const uint8_t>(string.data(), want),
                       context.nameText);
    context.log.Append(FormatBlock("    NameOffset = 0x%x, NameString = %s\r\n",
                                   static_cast<unsigned>(core::NameStringStart(header, record)), text.c_str()));
  }
  size_t present = name.records.size();
  if (present < count)
    context.log.Append(FormatBlock("name : the file ends after %u of %u records.\r\n", static_cast<unsigned>(present),
                                   unsigned{count}));
  return true;
}

bool IsDumpedTag(const std::array<uint8_t, 4>& tag) {
  for (const char* name : {"cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2"})
    if (std::memcmp(tag.data(), name, 4) == 0) return true;
  return false;
}

void DumpTable(const DumpContext& context, const std::array<uint8_t, 4>& tag, uint32_t offset,
               uint32_t* storedAdjustment) {
  auto is = [&](const char* name) { return std::memcmp(tag.data(), name, 4) == 0; };
  if (is("cmap")) DumpCmap(context, offset);
  else if (is("head")) DumpHead(context, offset, storedAdjustment);
  else if (is("hhea")) DumpHhea(context, offset);
  else if (is("hmtx")) DumpHmtx(context, offset);
  else if (is("maxp")) DumpMaxp(context, offset);
  else if (is("name")) DumpName(context, offset);
  else if (is("OS/2")) DumpOs2(context, offset);
}

}  // namespace editor
