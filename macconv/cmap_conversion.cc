#include "macconv/cmap_conversion.h"

#include <algorithm>
#include <vector>

#include "core/byte_cursor.h"
#include "core/tables/cmap.h"
#include "macconv/unicode_subtable.h"

namespace macconv {
namespace {

template <typename Record>
void AppendRecord(TableOutput& output, const Record& record) {
  output.Append(core::EncodeRecord(record));
}

}  // namespace

CmapConversionSummary ConvertCmapTable(std::span<const uint8_t> bytes, TableOutput& output, ProgressThrottle& progress) {
  CmapConversionSummary summary;
  const core::ByteCursor input(bytes);
  // Only records that lie wholly inside the input are read: a count beyond
  // the input's size never drives the loop.
  const core::CmapRecords cmap = core::ReadCmapRecords(bytes, core::Rounding::kWholeRecords);
  summary.records = static_cast<uint16_t>(cmap.records.size());

  AppendRecord(output, core::CmapHeader{cmap.header.version, summary.records});
  std::vector<uint8_t> placeholders(core::EncodingRecord::kSize * summary.records, 0);
  output.Append(placeholders);

  // The last subtable built, for records that share a Mac subtable.
  uint64_t builtOffset = 0;
  std::vector<uint8_t> built;

  for (uint16_t r = 0; r < summary.records; ++r) {
    const core::EncodingRecord& record = cmap.records[r];
    const uint64_t at = core::EncodingRecordAt(r);
    const uint64_t offset = record.subtableOffset;
    const uint16_t format = core::SubtableFormat(input, offset);
    const uint64_t position = output.size();
    if (position > UINT32_MAX) break;  // no record could point there
    auto placeRecord = [&](uint16_t platformID, uint16_t encodingID) {
      output.Patch(at, core::EncodeRecord(
                           core::EncodingRecord{platformID, encodingID, static_cast<uint32_t>(position)}));
    };

    if (record.platformID == 1 && record.encodingID == 1 && format == 2) {
      if (built.empty() || builtOffset != offset) {
        built = BuildUnicodeSubtable(bytes, offset, progress);
        builtOffset = offset;
      }
      output.Append(built);
      placeRecord(3, 1);
      ++summary.converted;
    } else if (format == 0 || format == 2 || format == 4 || format == 6) {
      core::ByteCursor subtable(bytes, offset);
      const core::SubtableHead16 head = core::ReadRecord<core::SubtableHead16>(subtable);
      AppendRecord(output, head);
      output.Append(input.Clip(offset + head.kSize, head.length > head.kSize ? head.length - head.kSize : 0));
      placeRecord(record.platformID, record.encodingID);
    } else if (format == 8 || format == 10 || format == 12) {
      core::ByteCursor subtable(bytes, offset);
      const core::SubtableHead32 head = core::ReadRecord<core::SubtableHead32>(subtable);
      AppendRecord(output, head);
      output.Append(input.Clip(offset + head.kSize, head.length > head.kSize ? head.length - head.kSize : 0));
      placeRecord(record.platformID, record.encodingID);
    }
    // Any other format: the placeholder of zeros stays.
  }
  return summary;
}

}  // namespace macconv
