// The checksum rules of the sfnt format as every tool of the suite applies
// them: the table rule, the head rule, the directory checksum and the
// whole-font rule with its constant.
#pragma once

#include <cstdint>
#include <span>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"
#include "core/tables/head.h"

namespace core {

// What the whole-font sum plus checkSumAdjustment must come to.
inline constexpr uint32_t kWholeFontMagic = 0xB1B0AFBA;

// Table rule over bytes in memory: the bytes are summed as big-endian words,
// the last word padded with zeros.
uint32_t TableCheckSumOfBytes(std::span<const uint8_t> bytes);

// Table rule over `length` bytes of the file at `offset`. A length that is
// not a multiple of 4 is summed as if padded with zeros, whatever follows in
// the file; bytes beyond the end of the file count as zero.
uint32_t TableCheckSum(const ReadableFile& file, uint64_t offset, uint32_t length);

// Head rule: the 13 words at `offset` with checkSumAdjustment taken as zero.
// Bytes missing at the end of the file count as zero.
uint32_t HeadCheckSum(const ReadableFile& file, uint64_t offset);
uint32_t HeadCheckSumOfBytes(std::span<const uint8_t> head);

// Table rule over the offset table and its numTables directory entries.
uint32_t DirectoryCheckSum(const ReadableFile& file, uint64_t fontOffset, uint16_t numTables);

// The tag of a table that is summed by the head rule.
bool IsHeadTag(const std::array<uint8_t, 4>& tag);

// The whole-font rule: the directory's checksum plus the checksum of every
// table (head summed with checkSumAdjustment as zero), modulo 2^32. The
// adjustment that makes the font consistent is kWholeFontMagic minus it.
uint32_t WholeFontTotal(uint32_t directorySum, std::span<const uint32_t> tableSums);
inline uint32_t TrueAdjustment(uint32_t total) { return kWholeFontMagic - total; }

// 0 when the stored adjustment makes the font consistent.
inline uint32_t ConsistencyCheck(uint32_t total, uint32_t storedAdjustment) {
  return kWholeFontMagic - storedAdjustment - total;
}

}  // namespace core
