#include "editor/table_dumps.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/byte_order.h"
#include "core/readable_file.h"
#include "editor/name_string.h"
#include "editor/text_block.h"

namespace editor {
namespace {

// Opens the font for one dump; the digit in the message tells which dump failed.
bool OpenForDump(const DumpContext& context, int place, core::ReadableFile* file) {
  if (file->Open(context.fontPath)) return true;
  context.messages.Show(Message{"ERROR", FormatBlock("Function CreateFile(%s) has an error at %d!! %d",
                                                     context.fontPath.c_str(), place, file->error())});
  return false;
}

// How many records of `size` bytes starting at `start` the file touches, at most `count`.
uint32_t RecordsInFile(const core::ReadableFile& file, uint64_t start, uint32_t count, uint32_t size) {
  if (start >= file.size()) return 0;
  uint64_t fit = (file.size() - start + size - 1) / size;
  return static_cast<uint32_t>(std::min<uint64_t>(count, fit));
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
  uint8_t head[52];
  file.ReadAtZeroFilled(offset, head, sizeof head);
  uint32_t adjustment = core::LoadU32(head + 8);
  *storedAdjustment = adjustment;
  context.log.Append(FormatBlock(
      "head : Table_version_number = 0x%x, fontRevision = 0x%x,\r\n  checkSumAdjustment = 0x%x, magicNumber = "
      "0x%x,\r\n  unitsPerEm = %d\r\n  checkSumAdjustment should be 0x%x\r\n",
      core::LoadU32(head), core::LoadU32(head + 4), adjustment, core::LoadU32(head + 12), core::LoadU16(head + 18),
      context.trueAdjustment));
  return true;
}

bool DumpOs2(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  uint8_t os2[86];
  file.ReadAtZeroFilled(offset, os2, sizeof os2);
  char vendor[5] = {};
  std::memcpy(vendor, os2 + 58, 4);
  context.log.Append(FormatBlock(
      "OS/2 : version = 0x%x, achVendID = %s\r\nsTypoLineGap = %d, usWinAscent = %lu, usWinDescent = %lu, "
      "0x%x\r\n  panose.bProportion = %u (3=Modern, 4=Even Width, 9=Monospaced)\r\n  panose.bXHeight = %u\r\n",
      core::LoadU16(os2), vendor, core::LoadU16(os2 + 72), static_cast<unsigned long>(core::LoadU16(os2 + 74)),
      static_cast<unsigned long>(core::LoadU16(os2 + 76)), core::LoadU16(os2 + 76), unsigned{os2[35]},
      unsigned{os2[41]}));
  return true;
}

bool DumpCmap(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  uint8_t header[4];
  file.ReadAtZeroFilled(offset, header, sizeof header);
  uint16_t count = core::LoadU16(header + 2);
  context.log.Append(
      FormatBlock("cmap : version = 0x%x, number of tables = %d\r\n", core::LoadU16(header), count));
  uint64_t recordsAt = uint64_t{offset} + 4;
  uint32_t present = RecordsInFile(file, recordsAt, count, 8);
  std::vector<uint8_t> records(size_t{present} * 8);
  file.ReadAtZeroFilled(recordsAt, records.data(), records.size());
  for (uint32_t i = 0; i < present; ++i) {
    const uint8_t* record = records.data() + size_t{i} * 8;
    uint16_t platform = core::LoadU16(record);
    uint16_t encoding = core::LoadU16(record + 2);
    uint32_t subtable = core::LoadU32(record + 4);
    context.log.Append(FormatBlock(
        "cmap_entry : PlatformID = %d (%s), encodingID = %d (%s), subTblOffset = %lu\r\n", platform,
        CmapPlatformName(platform), encoding, CmapEncodingName(platform, encoding),
        static_cast<unsigned long>(subtable)));
    uint8_t format[2];
    file.ReadAtZeroFilled(uint64_t{offset} + subtable, format, sizeof format);
    context.log.Append(FormatBlock("  format = %d\r\n", core::LoadU16(format)));
  }
  if (present < count)
    context.log.Append(FormatBlock("cmap : the file ends after %u of %u records.\r\n", present, unsigned{count}));
  return true;
}

bool DumpMaxp(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 4, &file)) return false;
  uint8_t maxp[30];
  file.ReadAtZeroFilled(offset, maxp, sizeof maxp);
  context.log.Append(FormatBlock("maxp : Table_version_number = 0x%x, numGlyphs = %d\r\n  maxPoints = %d\r\n",
                                 core::LoadU32(maxp), core::LoadU16(maxp + 4), core::LoadU16(maxp + 6)));
  return true;
}

bool DumpHhea(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 5, &file)) return false;
  uint8_t hhea[36];
  file.ReadAtZeroFilled(offset, hhea, sizeof hhea);
  context.log.Append(FormatBlock(
      "hhea : Ascender = %ld, Decender = %ld, LineGap = %ld\r\n  advanceWidthMax = %lu, numberOfHMetrics = %lu\r\n",
      static_cast<long>(static_cast<int16_t>(core::LoadU16(hhea + 4))),
      static_cast<long>(static_cast<int16_t>(core::LoadU16(hhea + 6))),
      static_cast<long>(static_cast<int16_t>(core::LoadU16(hhea + 8))),
      static_cast<unsigned long>(core::LoadU16(hhea + 10)), static_cast<unsigned long>(core::LoadU16(hhea + 34))));
  return true;
}

bool DumpHmtx(const DumpContext& context, uint32_t) {
  core::ReadableFile file;
  return OpenForDump(context, 6, &file);
}

bool DumpName(const DumpContext& context, uint32_t offset) {
  core::ReadableFile file;
  if (!OpenForDump(context, 3, &file)) return false;
  uint8_t header[6];
  file.ReadAtZeroFilled(offset, header, sizeof header);
  uint16_t count = core::LoadU16(header + 2);
  uint16_t storage = core::LoadU16(header + 4);
  context.log.Append(FormatBlock("name : number of records = %d, Offset2String = 0x%x\r\n", count, storage));
  uint64_t recordsAt = uint64_t{offset} + 6;
  uint32_t present = RecordsInFile(file, recordsAt, count, 12);
  std::vector<uint8_t> records(size_t{present} * 12);
  file.ReadAtZeroFilled(recordsAt, records.data(), records.size());
  std::vector<uint8_t> string(kNameStringLimit);
  for (uint32_t i = 0; i < present; ++i) {
    const uint8_t* record = records.data() + size_t{i} * 12;
    uint16_t platform = core::LoadU16(record);
    uint16_t encoding = core::LoadU16(record + 2);
    uint16_t language = core::LoadU16(record + 4);
    uint16_t nameId = core::LoadU16(record + 6);
    uint16_t length = core::LoadU16(record + 8);
    uint16_t stringOffset = core::LoadU16(record + 10);
    context.log.Append(FormatBlock(
        "name_record : PlatformID = %d, encodingID = %d, LanguageID = 0x%x, NameID = %d\r\n    StringLen = %d, "
        "Offset2String = 0x%x\r\n",
        platform, encoding, language, nameId, length, stringOffset));
    size_t want = std::min<size_t>(length, kNameStringLimit);
    uint64_t at = uint64_t{offset} + storage + stringOffset;
    file.ReadAtZeroFilled(at, string.data(), want);
    std::string text = NameStringText(platform, encoding, std::span<const uint8_t>(string.data(), want));
    context.log.Append(FormatBlock("    NameOffset = 0x%x, NameString = %s\r\n", unsigned{storage} + stringOffset,
                                   text.c_str()));
  }
  if (present < count)
    context.log.Append(FormatBlock("name : the file ends after %u of %u records.\r\n", present, unsigned{count}));
  return true;
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
