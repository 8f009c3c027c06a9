#include "core/tables/name.h"

#include <algorithm>
#include <cstring>

namespace core {

NameStrings::NameStrings(const ReadableFile& file, uint64_t tableOffset, const NameHeader& header,
                         std::span<const NameRecord> records, size_t limit)
    : file_(file), tableOffset_(tableOffset), header_(header), limit_(limit) {
  uint64_t reach = 0;
  uint64_t lengths = 0;
  for (const NameRecord& record : records) {
    reach = std::max<uint64_t>(reach, NameStringStart(header, record) + Want(record));
    lengths += Want(record);
  }
  together_ = reach <= 2 * lengths + 4096;
  if (together_) strings_ = file.ReadRange(tableOffset, reach);
}

void NameStrings::Read(const NameRecord& record, uint8_t* out) const {
  const size_t want = Want(record);
  const uint64_t start = NameStringStart(header_, record);
  if (!together_) {
    file_.ReadAtZeroFilled(tableOffset_ + start, out, want);
    return;
  }
  const size_t held =
      start < strings_.size() ? static_cast<size_t>(std::min<uint64_t>(want, strings_.size() - start)) : 0;
  if (held != 0) std::memcpy(out, strings_.data() + start, held);
  std::memset(out + held, 0, want - held);
}

NameRecords ReadNameRecords(std::span<const uint8_t> table, Rounding rounding) {
  NameRecords read;
  ByteCursor cursor(table);
  bool whole = true;
  read.header = ReadRecord<NameHeader>(cursor, &whole);
  uint64_t present = RecordsThatFit(table.size(), NameHeader::kSize, read.header.count, NameRecord::kSize, rounding);
  read.cut = !whole || NameRecordsEnd(read.header.count) > table.size();
  read.records.reserve(static_cast<size_t>(present));
  for (uint64_t n = 0; n < present; ++n) read.records.push_back(ReadRecord<NameRecord>(cursor));
  if (read.header.format != 1) return read;

  uint64_t countAt = NameRecordsEnd(read.header.count);
  ByteCursor tags(table, countAt);
  read.langTagsCut = !tags.ReadU16(&read.langTagCount);
  uint64_t tagsPresent =
      RecordsThatFit(table.size(), countAt + 2, read.langTagCount, LangTagRecord::kSize, rounding);
  read.langTagsCut = read.langTagsCut || LangTagRecordsEnd(read.header.count, read.langTagCount) > table.size();
  read.langTags.reserve(static_cast<size_t>(tagsPresent));
  for (uint64_t n = 0; n < tagsPresent; ++n) read.langTags.push_back(ReadRecord<LangTagRecord>(tags));
  return read;
}

void WriteNameRecords(const NameHeader& header, std::span<const NameRecord> records, ByteWriter& writer,
                      std::span<const LangTagRecord> langTags) {
  WriteRecord(header, writer);
  for (const NameRecord& record : records) WriteRecord(record, writer);
  if (header.format != 1) return;
  writer.WriteU16(static_cast<uint16_t>(langTags.size()));
  for (const LangTagRecord& tag : langTags) WriteRecord(tag, writer);
}

}  // namespace core
