// The Mac converter's name conversion on a table file it did not write,
// through the headless command, twice: the first run writes IN.name (or
// refuses strings that do not fit), the second must refuse to replace it.
// The table written has every record that lay in the input, its strings
// back to back after the records.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/io/byte_order.h"
#include "fuzz/scratch_folder.h"
#include "macconv/headless/drumlin_headless.h"
#include "macconv/engine/name_conversion.h"
#include "tests/support/doubles.h"

using fuzzsupport::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  std::span<const uint8_t> input(data, size);
  std::string inputPath = scratch.Write("mac.name", input);
  std::string outPath = inputPath + ".name";

  testsupport::RecordedMessages messages;
  std::optional<int> status = macconv::RunHeadless({"--name", inputPath}, messages);
  Check(status && (*status == 0 || *status == 1), "the name command ends with 0 or 1");
  Check(fuzzsupport::ReadFileText(inputPath) == std::string(input.begin(), input.end()), "the input is never written");
  std::optional<std::vector<uint8_t>> converted = macconv::ConvertNameTableBytes(input);
  Check((*status == 0) == (size >= 6 && converted.has_value()),
        "the command fails only on a cut header or when the strings do not fit");
  Check(fuzzsupport::FileExists(outPath) == (*status == 0), "the output appears exactly on success");
  if (*status != 0) return 0;
  Check(messages.last().caption == "Message", "success is reported");

  std::string out = fuzzsupport::ReadFileText(outPath);
  Check(out == std::string(converted->begin(), converted->end()), "the file holds the converted table");
  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(out.data()), out.size());
  uint16_t count = core::LoadU16(bytes.data() + 2);
  uint64_t fitting = size >= 6 ? (size - 6) / 12 : 0;
  Check(count == std::min<uint64_t>(size >= 4 ? core::LoadU16(data + 2) : 0, fitting),
        "count is the number of records inside the input");
  // Format 1 keeps its language-tag records (length, offset) after the name records.
  const bool tagged = core::LoadU16(bytes.data()) == 1;
  uint64_t tagsAt = 6 + 12 * uint64_t{count};
  Check(!tagged || bytes.size() >= tagsAt + 2, "a format 1 table holds its language-tag count");
  uint16_t tags = tagged ? core::LoadU16(bytes.data() + tagsAt) : 0;
  uint64_t stringsStart = tagged ? tagsAt + 2 + 4 * uint64_t{tags} : tagsAt;
  Check(core::LoadU16(bytes.data() + 4) == static_cast<uint16_t>(stringsStart), "the strings follow the records");
  Check(stringsStart <= bytes.size(), "the records lie inside the table");
  uint64_t offset = 0;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* record = bytes.data() + 6 + 12 * i;
    Check(core::LoadU16(record + 10) == offset, "each string follows the one before");
    offset += core::LoadU16(record + 8);
  }
  for (uint16_t i = 0; i < tags; ++i) {
    const uint8_t* record = bytes.data() + tagsAt + 2 + 4 * i;
    Check(core::LoadU16(record + 2) == offset, "each language tag follows the string before");
    offset += core::LoadU16(record);
  }
  Check(stringsStart + offset == bytes.size(), "the strings end the table");

  // A second run must leave the first output as it is.
  std::optional<int> again = macconv::RunHeadless({"--name", inputPath}, messages);
  Check(again && *again == 1, "a second conversion refuses to replace the output");
  Check(fuzzsupport::ReadFileText(outPath) == out, "the output of the first run is untouched");
  return 0;
}
