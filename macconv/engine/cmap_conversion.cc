#include "macconv/engine/cmap_conversion.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/io/byte_cursor.h"
#include "core/tables/cmap.h"
#include "macconv/engine/unicode_subtable.h"

namespace macconv {
namespace {

template <typename Record>
void AppendRecord(core::ByteWriter& output, const Record& record) {
  core::WriteRecord(record, output);
}

}  // namespace

CmapConversionSummary ConvertCmapTable(std::span<const uint8_t> bytes, core::ByteWriter& output,
                                       ProgressThrottle& progress) {
  CmapConversionSummary summary;
  const core::ByteCursor input(bytes);
  // Only records that lie wholly inside the input are read: a count beyond
  // the input's size never drives the loop.
  const core::CmapRecords cmap = core::ReadCmapRecords(bytes, core::Rounding::kWholeRecords);
  summary.records = static_cast<uint16_t>(cmap.records.size());

  AppendRecord(output, core::CmapHeader{cmap.header.version, summary.records});
  std::vector<uint8_t> placeholders(core::EncodingRecord::kSize * summary.records, 0);
  output.Append(placeholders);

  // Where each input subtable went, so that records sharing one point at one
  // copy: the key is the input offset, its lowest bit telling a built
  // Unicode subtable from a copy of the bytes.
  std::unordered_map<uint64_t, uint32_t> placed;

  for (uint16_t r = 0; r < summary.records; ++r) {
    const core::EncodingRecord& record = cmap.records[r];
    const uint64_t at = core::EncodingRecordAt(r);
    const uint64_t offset = record.subtableOffset;
    const uint16_t format = core::SubtableFormat(input, offset);
    const bool convert = record.platformID == 1 && record.encodingID == 1 && format == 2;
    const bool copy16 = format == 0 || format == 2 || format == 4 || format == 6;
    const bool copy32 = format == 8 || format == 10 || format == 12;
    if (!convert && !copy16 && !copy32) continue;  // any other format: the placeholder of zeros stays

    const uint16_t platformID = convert ? 3 : record.platformID;
    const uint16_t encodingID = convert ? 1 : record.encodingID;
    const uint64_t key = offset << 1 | (convert ? 1 : 0);
    if (auto found = placed.find(key); found != placed.end()) {
      output.Overwrite(at, core::EncodeRecord(core::EncodingRecord{platformID, encodingID, found->second}));
      if (convert) ++summary.converted;
      continue;
    }
    const uint64_t position = output.size();
    if (position > kLargestCmapOutput) {
      summary.tooLarge = true;
      break;
    }
    if (convert) ++summary.converted;

    if (convert) {
      output.Append(BuildUnicodeSubtable(bytes, offset, progress));
    } else if (copy16) {
      core::ByteCursor subtable(bytes, offset);
      const core::SubtableHead16 head = core::ReadRecord<core::SubtableHead16>(subtable);
      AppendRecord(output, head);
      output.Append(input.Clip(offset + head.kSize, head.length > head.kSize ? head.length - head.kSize : 0));
    } else {
      core::ByteCursor subtable(bytes, offset);
      const core::SubtableHead32 head = core::ReadRecord<core::SubtableHead32>(subtable);
      AppendRecord(output, head);
      output.Append(input.Clip(offset + head.kSize, head.length > head.kSize ? head.length - head.kSize : 0));
    }
    placed.emplace(key, static_cast<uint32_t>(position));
    output.Overwrite(at, core::EncodeRecord(core::EncodingRecord{platformID, encodingID, static_cast<uint32_t>(position)}));
  }
  return summary;
}

}  // namespace macconv
