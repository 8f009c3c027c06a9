// The Mac converter's cmap conversion on a table file it did not write,
// through the headless command. A converted table appears only on success,
// holds what the conversion gives in memory, and every record that is set
// points inside it; the input is never written.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/io/byte_order.h"
#include "fuzz/scratch_folder.h"
#include "macconv/engine/cmap_conversion.h"
#include "macconv/headless/drumlin_headless.h"

using fuzzsupport::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  std::span<const uint8_t> input(data, size);
  std::string inputPath = scratch.Write("mac.cmap", input);
  std::string outPath = scratch.File("win.cmap");

  shell::NullMessages messages;
  std::optional<int> status = macconv::RunHeadless({"--cmap", inputPath, outPath}, messages);
  Check(status && (*status == 0 || *status == 1), "the cmap command ends with 0 or 1");
  Check(fuzzsupport::ReadFileText(inputPath) == std::string(input.begin(), input.end()), "the input is never written");
  Check(fuzzsupport::FileExists(outPath) == (*status == 0), "the output appears exactly on success");
  Check(size >= 4 || *status == 1, "an input shorter than the header is refused");
  if (size < 4) return 0;
  core::ByteWriter memory;
  macconv::ProgressThrottle progress(nullptr);
  macconv::CmapConversionSummary summary = macconv::ConvertCmapTable(input, memory, progress);
  Check(memory.bytes().size() <= macconv::kLargestCmapOutput + (uint64_t{1} << 20) + size,
        "the conversion stops once its table outgrows the bound");
  if (*status != 0) return 0;
  Check(!summary.tooLarge, "a table that outgrew the bound is never written");
  std::string out = fuzzsupport::ReadFileText(outPath);
  Check(out == std::string(memory.bytes().begin(), memory.bytes().end()),
        "the file holds what the conversion gives in memory");

  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(out.data()), out.size());
  Check(bytes.size() >= 4 + 8 * uint64_t{summary.records}, "the records lie in the table");
  Check(core::LoadU16(bytes.data() + 2) == summary.records, "numTables counts the records written");
  uint64_t fitting = size >= 4 ? (size - 4) / 8 : 0;
  uint16_t numTables = size >= 4 ? core::LoadU16(data + 2) : 0;
  Check(summary.records == std::min<uint64_t>(numTables, fitting), "every record inside the input is written");
  for (uint16_t r = 0; r < summary.records; ++r) {
    const uint8_t* record = bytes.data() + 4 + 8 * r;
    uint32_t offset = core::LoadU32(record + 4);
    bool empty = core::LoadU32(record) == 0 && offset == 0;
    Check(empty || offset + uint64_t{4} <= bytes.size(), "a record points at a subtable inside the table");
  }
  return 0;
}
