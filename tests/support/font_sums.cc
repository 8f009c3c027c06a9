#include "tests/support/font_sums.h"

#include "core/sfnt/checksum.h"

namespace testsupport {

FontCheckSums ComputeFontCheckSums(const core::ReadableFile& file, uint64_t fontOffset, uint16_t numTables,
                                   const std::vector<core::TableDirEntry>& entries) {
  FontCheckSums sums;
  sums.directorySum = core::DirectoryCheckSum(file, fontOffset, numTables);
  sums.tableSums.reserve(entries.size());
  for (const core::TableDirEntry& entry : entries)
    sums.tableSums.push_back(core::IsHeadTag(entry.tag) ? core::HeadCheckSum(file, entry.offset)
                                                        : core::TableCheckSum(file, entry.offset, entry.length));
  sums.total = core::WholeFontTotal(sums.directorySum, sums.tableSums);
  sums.trueAdjustment = core::TrueAdjustment(sums.total);
  return sums;
}

}  // namespace testsupport
