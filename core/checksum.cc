#include "core/checksum.h"

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"

namespace core {
namespace {

// Large enough that a big table costs few reads, small enough to stay in cache.
constexpr size_t kReadBlock = 1 << 20;

// Sum of the big-endian words of a block whose size is a multiple of 4.
uint32_t SumWords(const uint8_t* bytes, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; i += 4) {
    uint32_t word;
    std::memcpy(&word, bytes + i, 4);
    sum += __builtin_bswap32(word);
  }
  return sum;
}

// Sum of bytes padded with zeros to a whole word.
uint32_t SumPadded(const uint8_t* bytes, size_t size) {
  size_t whole = size & ~size_t{3};
  uint32_t sum = SumWords(bytes, whole);
  if (whole < size) {
    uint8_t last[4] = {0, 0, 0, 0};
    std::memcpy(last, bytes + whole, size - whole);
    sum += LoadU32(last);
  }
  return sum;
}

}  // namespace

uint32_t TableCheckSumOfBytes(std::span<const uint8_t> bytes) { return SumPadded(bytes.data(), bytes.size()); }

uint32_t TableCheckSum(const ReadableFile& file, uint64_t offset, uint32_t length) {
  if (length == 0 || offset >= file.size()) return 0;
  // Only the bytes the file really holds take part; the rest count as zero.
  uint64_t present = std::min<uint64_t>(length, file.size() - offset);
  std::vector<uint8_t> block(static_cast<size_t>(std::min<uint64_t>(present, kReadBlock)));
  uint32_t sum = 0;
  uint64_t done = 0;
  while (done < present) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(present - done, block.size()));
    size_t got = file.ReadAt(offset + done, block.data(), want);
    if (got == 0) break;
    // Every block but the last is a multiple of 4 bytes long, so words never
    // straddle two blocks.
    sum += SumPadded(block.data(), got);
    done += got;
    if (got < want) break;
  }
  return sum;
}

uint32_t HeadCheckSumOfBytes(std::span<const uint8_t> head) {
  uint8_t work[kHeadSummedBytes] = {};
  std::memcpy(work, head.data(), std::min(head.size(), kHeadSummedBytes));
  StoreCheckSumAdjustment(work, 0);
  return SumWords(work, kHeadSummedBytes);
}

uint32_t HeadCheckSum(const ReadableFile& file, uint64_t offset) {
  uint8_t work[kHeadSummedBytes];
  file.ReadAtZeroFilled(offset, work, sizeof work);
  return HeadCheckSumOfBytes(work);
}

uint32_t DirectoryCheckSum(const ReadableFile& file, uint64_t fontOffset, uint16_t numTables) {
  return TableCheckSum(file, fontOffset, OffsetTable::kSize + TableDirEntry::kSize * uint32_t{numTables});
}

bool IsHeadTag(const std::array<uint8_t, 4>& tag) { return std::memcmp(tag.data(), "head", 4) == 0; }

uint32_t WholeFontTotal(uint32_t directorySum, std::span<const uint32_t> tableSums) {
  uint32_t total = directorySum;
  for (uint32_t sum : tableSums) total += sum;
  return total;
}

FontCheckSums ComputeFontCheckSums(const ReadableFile& file, uint64_t fontOffset, uint16_t numTables,
                                   const std::vector<TableDirEntry>& entries) {
  FontCheckSums sums;
  sums.directorySum = DirectoryCheckSum(file, fontOffset, numTables);
  sums.tableSums.reserve(entries.size());
  for (const TableDirEntry& entry : entries)
    sums.tableSums.push_back(IsHeadTag(entry.tag) ? HeadCheckSum(file, entry.offset)
                                                  : TableCheckSum(file, entry.offset, entry.length));
  sums.total = WholeFontTotal(sums.directorySum, sums.tableSums);
  sums.trueAdjustment = TrueAdjustment(sums.total);
  return sums;
}

}  // namespace core
