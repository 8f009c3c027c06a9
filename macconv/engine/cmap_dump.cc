#include "macconv/engine/cmap_dump.h"

#include <cerrno>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <span>
#include <vector>

#include "core/io/readable_file.h"
#include "core/text/shift_jis.h"
#include "core/tables/cmap.h"
#include "macconv/engine/message_text.h"
#include "macconv/engine/table_input.h"
#include "shell/text.h"
#include "platform/output_file.h"

namespace macconv {

std::string CmapMappingText(std::span<const uint8_t> table, uint64_t offset) {
  core::Format2Subtable mac = core::ReadFormat2(table, offset);
  std::string text = shell::FormatText("dwSubHeaderOffset = 0x%llx\n", static_cast<unsigned long long>(mac.subHeaderBase));
  text += "unicode, sjiscode, index\n";
  text.reserve(text.size() + 0xFFFF * 24);
  char line[64];
  for (uint32_t u = 0; u < 0xFFFF; ++u) {
    uint32_t s = core::UnicodeToShiftJis(u);
    int length = std::snprintf(line, sizeof line, "0x%x, 0x%x, 0x%x\n", u, s, core::Format2Glyph(mac, s));
    text.append(line, static_cast<size_t>(length));
  }
  return text;
}

shell::Outcome DumpCmapMapping(const std::string& inputName, const std::string& outputName, DumpTarget target,
                               shell::MessageSink& messages) {
  shell::Outcome outcome = shell::Outcome::kDone;
  bool written = false;  // no subtable to dump writes nothing
  std::vector<uint8_t> bytes;
  if (std::optional<core::Problem> failure = ReadTableFile(inputName, kLargestCmapFile, /*refuseLarger=*/true, &bytes)) {
    messages.Show({"ERROR", TableFileProblemText(*failure, inputName)});
    outcome = shell::Outcome::kFailed;
  } else {
    // Only records that lie wholly inside the file are read. Each dump
    // replaces the one before, so only the last subtable that qualifies is
    // dumped: the file ends the same, written once.
    core::ByteCursor table(bytes);
    std::optional<uint32_t> last;
    for (const core::EncodingRecord& record : core::ReadCmapRecords(bytes, core::Rounding::kWholeRecords).records) {
      if (record.platformID == 1 && record.encodingID == 1 && core::SubtableFormat(table, record.subtableOffset) == 2)
        last = record.subtableOffset;
    }
    if (last) {
      std::string text = CmapMappingText(bytes, *last);
      int error = 0;
      std::span<const uint8_t> textBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      bool placed = target == DumpTarget::kReplaceFreely ? platform::ReplaceFile(outputName, textBytes, &error)
                                                         : platform::WriteNewFile(outputName, textBytes, &error);
      if (!placed) {
        messages.Show({"ERROR", error == EEXIST ? FileExistText(outputName) : CreateFileFailedText(outputName),
                       core::ErrorReason(error)});
        outcome = shell::Outcome::kFailed;
      } else {
        written = true;
      }
    }
  }
  // "Done!!" only after a dump that did not fail.
  if (outcome == shell::Outcome::kDone) messages.Show({"Message", "Done!!", written ? WrittenDetail(outputName) : ""});
  return outcome;
}

}  // namespace macconv
