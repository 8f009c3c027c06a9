// The font file core on a file it did not write: the collection header and
// its font offsets, each font's offset table and directory, and the checksum
// rules. The file-based sums must agree with the same rules over the bytes in
// memory and with the checksum library's exports.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "core/io/byte_order.h"
#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"
#include "fuzz/scratch_folder.h"
#include "sumkit/sumkit.h"
#include "tests/support/font_sums.h"

namespace {

using fuzzsupport::Check;

// The bytes at [offset, offset + count) that the input holds. The checksum
// rules count missing bytes as zero, which the word padding of the last
// word does too.
std::span<const uint8_t> Present(std::span<const uint8_t> bytes, uint64_t offset, uint64_t count) {
  if (offset >= bytes.size()) return {};
  return bytes.subspan(static_cast<size_t>(offset),
                       static_cast<size_t>(std::min<uint64_t>(count, bytes.size() - offset)));
}

// Exactly `count` bytes at `offset`, those past the end as zero.
std::vector<uint8_t> ZeroFilled(std::span<const uint8_t> bytes, uint64_t offset, size_t count) {
  std::vector<uint8_t> out(count, 0);
  std::span<const uint8_t> present = Present(bytes, offset, count);
  std::copy(present.begin(), present.end(), out.begin());
  return out;
}

void SilentMessages(const char*, const char*, void*) {}

void CheckFont(const core::ReadableFile& file, std::span<const uint8_t> bytes, const std::string& path,
               uint32_t fontOffset) {
  core::OffsetTable table = core::ReadOffsetTable(file, fontOffset);
  Check(table.numTables == core::LoadU16(ZeroFilled(bytes, uint64_t{fontOffset} + 4, 2).data()),
        "numTables is the big-endian word at offset 4");
  bool complete = false;
  std::vector<core::TableDirEntry> entries = core::ReadTableDirectory(file, fontOffset, table.numTables, &complete);
  uint64_t directoryEnd = uint64_t{fontOffset} + 12 + 16 * uint64_t{table.numTables};
  Check(complete == (table.numTables == 0 || directoryEnd <= bytes.size()),
        "the directory is complete exactly when it lies in the file");
  Check(entries.size() <= table.numTables, "no more entries than numTables");
  Check(entries.size() == table.numTables || !complete, "a complete directory has numTables entries");
  for (size_t k = 0; k < entries.size(); ++k) {
    std::vector<uint8_t> raw = ZeroFilled(bytes, uint64_t{fontOffset} + 12 + 16 * k, 16);
    core::TableDirEntry decoded = core::DecodeRecord<core::TableDirEntry>(raw);
    Check(decoded.tag == entries[k].tag && decoded.offset == entries[k].offset &&
              decoded.length == entries[k].length && decoded.checkSum == entries[k].checkSum,
          "a directory entry read from the file matches its bytes");
  }

  testsupport::FontCheckSums sums = testsupport::ComputeFontCheckSums(file, fontOffset, table.numTables, entries);
  Check(sums.tableSums.size() == entries.size(), "one sum per entry");
  uint32_t directorySum = core::TableCheckSumOfBytes(Present(bytes, fontOffset, 12 + 16 * uint64_t{table.numTables}));
  Check(sums.directorySum == directorySum, "the directory sum from the file equals the sum over its bytes");
  uint32_t total = sums.directorySum;
  for (size_t k = 0; k < entries.size(); ++k) {
    const core::TableDirEntry& entry = entries[k];
    uint32_t expected = core::IsHeadTag(entry.tag)
                            ? core::HeadCheckSumOfBytes(ZeroFilled(bytes, entry.offset, core::kHeadSummedBytes))
                            : core::TableCheckSumOfBytes(Present(bytes, entry.offset, entry.length));
    Check(sums.tableSums[k] == expected, "a table sum from the file equals the sum over its bytes");
    total += expected;
    uint32_t library = core::IsHeadTag(entry.tag)
                           ? CalcHeadCheckSum(path.c_str(), static_cast<int32_t>(entry.offset))
                           : CalcTblCheckSum(path.c_str(), static_cast<int32_t>(entry.offset), entry.length);
    Check(library == expected, "the checksum library agrees with the core");
  }
  Check(sums.total == total, "the total is the directory sum plus every table sum");
  Check(sums.total + sums.trueAdjustment == core::kWholeFontMagic, "total plus adjustment is the magic number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  std::span<const uint8_t> bytes(data, size);
  std::string path = scratch.Write("font.ttc", bytes);
  SumkitSetMessageHandler(SilentMessages, nullptr);

  core::ReadableFile file;
  Check(file.Open(path), "the input file opens");
  Check(file.size() == size, "the file has the input's size");
  Check(file.ReadRange(0, UINT64_MAX) == std::vector<uint8_t>(data, data + size), "ReadRange gives the file's bytes");

  core::CollectionHeader header = core::ReadCollectionHeader(file);
  bool collectionComplete = false;
  std::vector<uint32_t> offsets = core::ReadCollectionOffsets(file, header.numFonts, &collectionComplete);
  Check(offsets.size() <= header.numFonts, "no more font offsets than numFonts");
  Check(offsets.size() <= size / 4 + 1, "the font offsets never outgrow the file");
  Check(collectionComplete == (header.numFonts == 0 || 12 + 4 * uint64_t{header.numFonts} <= size),
        "the offsets are complete exactly when they lie in the file");

  bool isCollection = core::IsCollectionTag(std::span<const uint8_t>(data, size));
  if (!isCollection) offsets = {0};
  // A collection of many fonts costs many sums; a few of them show the rules.
  if (offsets.size() > 8) offsets.resize(8);
  for (uint32_t fontOffset : offsets) CheckFont(file, bytes, path, fontOffset);
  return 0;
}
