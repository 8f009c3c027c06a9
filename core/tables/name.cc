#include "core/tables/name.h"

namespace core {

NameRecords ReadNameRecords(std::span<const uint8_t> table, Rounding rounding) {
  NameRecords read;
  ByteCursor cursor(table);
  bool whole = true;
  read.header = ReadRecord<NameHeader>(cursor, &whole);
  uint64_t present = RecordsThatFit(table.size(), NameHeader::kSize, read.header.count, NameRecord::kSize, rounding);
  read.cut = !whole || NameRecordsEnd(read.header.count) > table.size();
  read.records.reserve(static_cast<size_t>(present));
  for (uint64_t n = 0; n < present; ++n) read.records.push_back(ReadRecord<NameRecord>(cursor));
  return read;
}

void WriteNameRecords(const NameHeader& header, std::span<const NameRecord> records, ByteWriter& writer) {
  WriteRecord(header, writer);
  for (const NameRecord& record : records) WriteRecord(record, writer);
}

}  // namespace core
