#include "core/sfnt/checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "core/io/byte_order.h"

namespace core {
namespace {

// Large enough that a big table costs few reads, small enough to stay in
// the cache between the read and the sum.
constexpr size_t kReadBlock = 1 << 17;

// Sum of the big-endian words of a block whose size is a multiple of 4.
// Modulo 2^32 it is 2^24 x the sum of each word's first bytes + 2^16 x the
// sum of the second bytes + 2^8 x the third + the fourth. The byte sums are
// gathered eight bytes at a time in 16-bit lanes (bytes at even places in
// one word, at odd places in another), which the compiler turns into vector
// code, and emptied into 64-bit totals before a lane can overflow.
// Where the loader can pick a version by the processor, a wider one is made
// for processors with AVX2. (Not under the thread sanitizer, whose runtime is
// not up yet when the loader picks.)
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx2", "default")))
#endif
uint32_t SumWords(const uint8_t* bytes, size_t size) {
  constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
  constexpr size_t kRound = 256;  // 256 x 255 still fits in 16 bits
  uint64_t places[4] = {0, 0, 0, 0};
  size_t i = 0;
  while (size - i >= 8) {
    size_t rounds = std::min(kRound, (size - i) / 8);
    uint64_t even = 0, odd = 0;
    for (size_t r = 0; r < rounds; ++r, i += 8) {
      uint64_t eight;
      std::memcpy(&eight, bytes + i, 8);
      if constexpr (std::endian::native == std::endian::big) eight = __builtin_bswap64(eight);
      even += eight & kLowBytes;
      odd += (eight >> 8) & kLowBytes;
    }
    // Lanes of `even` hold the bytes at places 0, 2, 4, 6 of the eight; of `odd` 1, 3, 5, 7.
    places[0] += (even & 0xFFFF) + ((even >> 32) & 0xFFFF);
    places[2] += ((even >> 16) & 0xFFFF) + (even >> 48);
    places[1] += (odd & 0xFFFF) + ((odd >> 32) & 0xFFFF);
    places[3] += ((odd >> 16) & 0xFFFF) + (odd >> 48);
  }
  uint32_t sum = static_cast<uint32_t>((places[0] << 24) + (places[1] << 16) + (places[2] << 8) + places[3]);
  for (; i < size; i += 4) sum += LoadU32(bytes + i);
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
  // On the stack and not zeroed: its pages stay mapped from one call to the
  // next, and every byte summed has been read into it first.
  uint8_t block[kReadBlock];
  const size_t blockSize = static_cast<size_t>(std::min<uint64_t>(present, kReadBlock));
  uint32_t sum = 0;
  uint64_t done = 0;
  while (done < present) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(present - done, blockSize));
    size_t got = file.ReadAt(offset + done, block, want);
    if (got == 0) break;
    // Every block but the last is a multiple of 4 bytes long, so words never
    // straddle two blocks.
    sum += SumPadded(block, got);
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

}  // namespace core
