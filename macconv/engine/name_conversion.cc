#include "macconv/engine/name_conversion.h"
#include "shell/text.h"

#include <algorithm>
#include <cerrno>

#include "core/io/byte_cursor.h"
#include "core/tables/name.h"
#include "core/io/readable_file.h"
#include "macconv/engine/message_text.h"
#include "macconv/engine/table_input.h"
#include "macconv/engine/shift_jis_text.h"
#include "platform/output_file.h"

namespace macconv {
namespace {

constexpr uint16_t kMacJapanese = 11;
constexpr uint16_t kWindowsJapanese = 1041;

}  // namespace

std::optional<std::vector<uint8_t>> ConvertNameTableBytes(std::span<const uint8_t> bytes) {
  // Only records that lie wholly inside the input are read.
  const core::NameRecords input = core::ReadNameRecords(bytes, core::Rounding::kWholeRecords);
  const uint16_t records = static_cast<uint16_t>(input.records.size());
  // Format 1 keeps its language tags (their records follow the name records).
  const uint64_t stringsStart = input.header.format == 1 ? core::LangTagRecordsEnd(records, input.langTags.size())
                                                         : core::NameRecordsEnd(records);
  // More than 5460 records leave no 16-bit stringOffset that could point
  // past them.
  if (stringsStart > UINT16_MAX) return std::nullopt;

  const uint16_t stringOffset = input.header.stringOffset;
  core::NameHeader header{input.header.format, records,
                          stringOffset == stringsStart ? stringOffset : static_cast<uint16_t>(stringsStart)};
  std::vector<core::NameRecord> converted;
  converted.reserve(records);
  core::ByteWriter strings;
  const core::ByteCursor table(bytes);

  for (const core::NameRecord& original : input.records) {
    core::NameRecord record = original;
    if (record.languageID == kMacJapanese) record.languageID = kWindowsJapanese;
    std::span<const uint8_t> text =
        table.Clip(core::NameStringStart(input.header, original), std::min<uint64_t>(original.length, core::kNameStringLimit));
    if (strings.size() > UINT16_MAX) return std::nullopt;  // this record's offset would not fit
    record.offset = static_cast<uint16_t>(strings.size());
    size_t before = strings.size();
    if (record.encodingID == 1) {
      record.platformID = 3;
      strings.WriteBytes(ShiftJisToUtf16(text));
    } else {
      strings.WriteBytes(text);
    }
    record.length = static_cast<uint16_t>(strings.size() - before);
    converted.push_back(record);
  }
  std::vector<core::LangTagRecord> tags;
  tags.reserve(input.langTags.size());
  for (const core::LangTagRecord& original : input.langTags) {
    if (strings.size() > UINT16_MAX) return std::nullopt;
    std::span<const uint8_t> text = table.Clip(uint64_t{input.header.stringOffset} + original.offset, original.length);
    tags.push_back(core::LangTagRecord{static_cast<uint16_t>(text.size()), static_cast<uint16_t>(strings.size())});
    strings.WriteBytes(text);
  }
  core::ByteWriter out;
  core::WriteNameRecords(header, converted, out, tags);
  out.WriteBytes(strings.bytes());
  return out.Take();
}

shell::Outcome ConvertNameTable(const std::string& inputName, shell::MessageSink& messages) {
  std::vector<uint8_t> bytes;
  if (std::optional<core::Problem> failure = ReadTableFile(inputName, NameTableReach(), /*refuseLarger=*/false, &bytes)) {
    messages.Show({"ERROR at 000", TableFileProblemText(*failure, inputName)});
    return shell::Outcome::kFailed;
  }
  const std::string outputName = inputName + ".name";
  // Without its format, count and string offset there is no table to convert.
  if (bytes.size() < core::NameHeader::kSize) {
    messages.Show({"ERROR", shell::FormatText("%s holds %zu bytes, too few for the %zu bytes of a name table's header; "
                                              "%s is not written.",
                                              inputName.c_str(), bytes.size(), core::NameHeader::kSize,
                                              outputName.c_str())});
    return shell::Outcome::kFailed;
  }
  platform::AtomicOutput output;
  if (!output.Begin(outputName)) {
    messages.Show({"ERROR at 002", CreateFileFailedText(outputName), core::ErrorReason(output.error())});
    return shell::Outcome::kFailed;
  }
  std::optional<std::vector<uint8_t>> table = ConvertNameTableBytes(bytes);
  if (!table) {
    messages.Show({"ERROR", "The new strings do not fit in a name table."});
    return shell::Outcome::kFailed;  // the unfinished output is dropped
  }
  if (!output.Write(*table) || !output.Commit()) {
    int error = output.error();
    if (error == EEXIST) {
      messages.Show({"ERROR at 002", CreateFileFailedText(outputName), core::ErrorReason(error)});
    } else {
      messages.Show({"ERROR", WriteFileFailedText(outputName, error), core::ErrorReason(error)});
    }
    return shell::Outcome::kFailed;
  }
  messages.Show({"Message", "Success!", WrittenDetail(outputName)});
  return shell::Outcome::kDone;
}

}  // namespace macconv
