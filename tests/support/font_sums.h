// The whole-font rule worked out from core's checksum rules alone, for tests
// and fuzz targets to hold the programs' sums against.
#pragma once

#include <cstdint>
#include <vector>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"

namespace testsupport {

struct FontCheckSums {
  uint32_t directorySum = 0;          // directory checksum, the start of the total
  std::vector<uint32_t> tableSums;    // one per directory entry, in directory order
  uint32_t total = 0;                 // CCST: directory and every table, adjustment as zero
  uint32_t trueAdjustment = 0;        // TCSAJ: kWholeFontMagic - total
};

// The sums of one font of a file: head by the head rule, every other table by
// the table rule, and the directory of `numTables` entries at `fontOffset`.
FontCheckSums ComputeFontCheckSums(const core::ReadableFile& file, uint64_t fontOffset, uint16_t numTables,
                                   const std::vector<core::TableDirEntry>& entries);

}  // namespace testsupport
