#include "macconv/name_conversion.h"

#include <algorithm>
#include <cerrno>

#include "core/byte_order.h"
#include "core/readable_file.h"
#include "macconv/message_text.h"
#include "macconv/shift_jis_text.h"
#include "platform/output_file.h"

namespace macconv {
namespace {

constexpr uint64_t kHeaderSize = 6;
constexpr uint64_t kRecordSize = 12;
constexpr uint16_t kMacJapanese = 11;
constexpr uint16_t kWindowsJapanese = 1041;

}  // namespace

std::optional<std::vector<uint8_t>> ConvertNameTableBytes(const TableBytes& input) {
  const uint16_t format = input.U16(0);
  const uint16_t count = input.U16(2);
  const uint16_t stringOffset = input.U16(4);
  // Only records that lie inside the input are read.
  uint64_t fitting = input.size() >= kHeaderSize ? (input.size() - kHeaderSize) / kRecordSize : 0;
  const uint16_t records = static_cast<uint16_t>(std::min<uint64_t>(count, fitting));
  const uint64_t stringsStart = kHeaderSize + kRecordSize * records;
  // More than 5460 records leave no 16-bit stringOffset that could point
  // past them.
  if (stringsStart > UINT16_MAX) return std::nullopt;

  core::ByteWriter header;
  header.WriteU16(format);
  header.WriteU16(records);
  header.WriteU16(stringOffset == stringsStart ? stringOffset : static_cast<uint16_t>(stringsStart));
  core::ByteWriter strings;

  for (uint16_t i = 0; i < records; ++i) {
    const uint64_t at = kHeaderSize + kRecordSize * i;
    uint16_t platformID = input.U16(at);
    const uint16_t encodingID = input.U16(at + 2);
    uint16_t languageID = input.U16(at + 4);
    const uint16_t nameID = input.U16(at + 6);
    const uint16_t length = input.U16(at + 8);
    const uint16_t offset = input.U16(at + 10);
    if (languageID == kMacJapanese) languageID = kWindowsJapanese;

    std::span<const uint8_t> original =
        input.Clip(uint64_t{stringOffset} + offset, std::min<uint64_t>(length, kMaxShiftJisString));
    if (strings.size() > UINT16_MAX) return std::nullopt;  // this record's offset would not fit
    const uint16_t newOffset = static_cast<uint16_t>(strings.size());
    size_t before = strings.size();
    if (encodingID == 1) {
      platformID = 3;
      strings.WriteBytes(ShiftJisToUtf16(original));
    } else {
      strings.WriteBytes(original);
    }
    header.WriteU16(platformID);
    header.WriteU16(encodingID);
    header.WriteU16(languageID);
    header.WriteU16(nameID);
    header.WriteU16(static_cast<uint16_t>(strings.size() - before));
    header.WriteU16(newOffset);
  }
  std::vector<uint8_t> table = header.Take();
  table.insert(table.end(), strings.bytes().begin(), strings.bytes().end());
  return table;
}

Outcome ConvertNameTable(const std::string& inputName, MessageSink& messages) {
  std::vector<uint8_t> bytes;
  if (!core::ReadWholeFile(inputName, &bytes)) {
    messages.Show("ERROR at 000", CreateFileFailedText(inputName));
    return Outcome::kFailed;
  }
  const std::string outputName = inputName + ".name";
  platform::AtomicOutput output;
  if (!output.Begin(outputName)) {
    messages.Show("ERROR at 002", CreateFileFailedText(outputName));
    return Outcome::kFailed;
  }
  std::optional<std::vector<uint8_t>> table = ConvertNameTableBytes(TableBytes(bytes));
  if (!table) {
    messages.Show("ERROR", "The new strings do not fit in a name table.");
    return Outcome::kFailed;  // the unfinished output is dropped
  }
  if (!output.Write(*table) || !output.Commit()) {
    int error = output.error();
    if (error == EEXIST) {
      messages.Show("ERROR at 002", CreateFileFailedText(outputName));
    } else {
      messages.Show("ERROR", WriteFileFailedText(outputName, error));
    }
    return Outcome::kFailed;
  }
  messages.Show("Message", "Success!");
  return Outcome::kDone;
}

}  // namespace macconv
