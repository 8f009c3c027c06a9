#include "macconv/cmap_conversion.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/byte_order.h"
#include "macconv/unicode_subtable.h"

namespace macconv {
namespace {

constexpr uint64_t kHeaderSize = 4;
constexpr uint64_t kRecordSize = 8;

void AppendU16(TableOutput& output, uint16_t value) {
  uint8_t bytes[2];
  core::StoreU16(bytes, value);
  output.Append(bytes);
}

void AppendU32(TableOutput& output, uint32_t value) {
  uint8_t bytes[4];
  core::StoreU32(bytes, value);
  output.Append(bytes);
}

void PatchRecord(TableOutput& output, uint64_t at, uint16_t platformID, uint16_t encodingID, uint32_t offset) {
  uint8_t record[kRecordSize];
  core::StoreU16(record, platformID);
  core::StoreU16(record + 2, encodingID);
  core::StoreU32(record + 4, offset);
  output.Patch(at, record);
}

}  // namespace

CmapConversionSummary ConvertCmapTable(const TableBytes& input, TableOutput& output, ProgressThrottle& progress) {
  CmapConversionSummary summary;
  const uint16_t version = input.U16(0);
  const uint16_t numTables = input.U16(2);
  // Only records that lie inside the input are read: a count beyond the
  // input's size never drives the loop.
  uint64_t fitting = input.size() >= kHeaderSize ? (input.size() - kHeaderSize) / kRecordSize : 0;
  summary.records = static_cast<uint16_t>(std::min<uint64_t>(numTables, fitting));

  AppendU16(output, version);
  AppendU16(output, summary.records);
  std::vector<uint8_t> placeholders(kRecordSize * summary.records, 0);
  output.Append(placeholders);

  // The last subtable built, for records that share a Mac subtable.
  uint64_t builtOffset = 0;
  std::vector<uint8_t> built;

  for (uint16_t r = 0; r < summary.records; ++r) {
    const uint64_t at = kHeaderSize + kRecordSize * r;
    const uint16_t platformID = input.U16(at);
    const uint16_t encodingID = input.U16(at + 2);
    const uint64_t offset = input.U32(at + 4);
    const uint16_t format = input.U16(offset);
    const uint64_t position = output.size();
    if (position > UINT32_MAX) break;  // no record could point there

    if (platformID == 1 && encodingID == 1 && format == 2) {
      if (built.empty() || builtOffset != offset) {
        built = BuildUnicodeSubtable(input, offset, progress);
        builtOffset = offset;
      }
      output.Append(built);
      PatchRecord(output, at, 3, 1, static_cast<uint32_t>(position));
      ++summary.converted;
    } else if (format == 0 || format == 2 || format == 4 || format == 6) {
      const uint16_t length = input.U16(offset + 2);
      AppendU16(output, format);
      AppendU16(output, length);
      output.Append(input.Clip(offset + 4, length > 4 ? length - 4 : 0));
      PatchRecord(output, at, platformID, encodingID, static_cast<uint32_t>(position));
    } else if (format == 8 || format == 10 || format == 12) {
      const uint16_t reserved = input.U16(offset + 2);
      const uint32_t length = input.U32(offset + 4);
      AppendU16(output, format);
      AppendU16(output, reserved);
      AppendU32(output, length);
      output.Append(input.Clip(offset + 8, length > 8 ? length - 8 : 0));
      PatchRecord(output, at, platformID, encodingID, static_cast<uint32_t>(position));
    }
    // Any other format: the placeholder of zeros stays.
  }
  return summary;
}

}  // namespace macconv
