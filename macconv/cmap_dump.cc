#include "macconv/cmap_dump.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>

#include "core/readable_file.h"
#include "core/shift_jis.h"
#include "macconv/high_byte_glyph.h"
#include "macconv/message_text.h"
#include "platform/output_file.h"

namespace macconv {

std::string CmapMappingText(const TableBytes& table, uint64_t offset) {
  MacFormat2Subtable mac = ReadMacFormat2(table, offset);
  std::string text = FormatText("dwSubHeaderOffset = 0x%llx\n", static_cast<unsigned long long>(mac.subHeaderBase));
  text += "unicode, sjiscode, index\n";
  text.reserve(text.size() + 0xFFFF * 24);
  char line[64];
  for (uint32_t u = 0; u < 0xFFFF; ++u) {
    uint32_t s = core::UnicodeToShiftJis(u);
    int length = std::snprintf(line, sizeof line, "0x%x, 0x%x, 0x%x\n", u, s, HighByteGlyph(mac, s));
    text.append(line, static_cast<size_t>(length));
  }
  return text;
}

Outcome DumpCmapMapping(const std::string& inputName, const std::string& outputName, MessageSink& messages) {
  Outcome outcome = Outcome::kDone;
  std::vector<uint8_t> bytes;
  if (!core::ReadWholeFile(inputName, &bytes)) {
    messages.Show("ERROR", CreateFileFailedText(inputName));
    outcome = Outcome::kFailed;
  } else {
    TableBytes table(bytes);
    // Only records that lie inside the file are read.
    uint64_t records = table.size() >= 4 ? std::min<uint64_t>(table.U16(2), (table.size() - 4) / 8) : 0;
    for (uint64_t r = 0; r < records; ++r) {
      uint64_t at = 4 + 8 * r;
      uint64_t offset = table.U32(at + 4);
      if (table.U16(at) != 1 || table.U16(at + 2) != 1 || table.U16(offset) != 2) continue;
      std::string text = CmapMappingText(table, offset);
      if (!platform::ReplaceFile(outputName, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()))) {
        messages.Show("ERROR", CreateFileFailedText(outputName));
        outcome = Outcome::kFailed;
      }
    }
  }
  messages.Show("Message", "Done!!");
  return outcome;
}

}  // namespace macconv
