// corvout: a name table file to the profile file "Corvout.ini" (the record
// count and every record's identifiers) and one text file per record string.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/tables/name.h"
#include "platform/profile.h"
#include "tools/frame/console.h"
#include "tools/frame/tool_frame.h"

namespace tools {

constexpr const char* kCorvoutProfileName = "Corvout.ini";

struct NameTable {
  uint16_t count = 0;          // the record count the header gives
  uint16_t storageOffset = 0;  // from the start of the table
  // The records that begin inside the file (a record cut short by the end
  // of the file has its missing bytes as zero). Never more than the file can
  // hold, whatever the count says.
  std::vector<core::NameRecord> records;
  // Format 1: the language-tag records that the file holds (none in format 0).
  uint16_t format = 0;
  uint16_t langTagCount = 0;  // as the table gives it
  std::vector<core::LangTagRecord> langTags;
  // The header, a record, a language tag or a string runs past the end of
  // the file.
  bool shortInput = false;
};

NameTable ReadNameTable(std::span<const uint8_t> bytes);

// A record's string bytes; bytes past the end of the file are zero. With
// byteSwap, a Windows Unicode string has the bytes of each pair exchanged.
std::vector<uint8_t> NameString(std::span<const uint8_t> bytes, const NameTable& table, const core::NameRecord& record,
                                bool byteSwap);

// A language tag's string bytes, read as NameString reads a Windows Unicode
// record's (a tag is always UTF-16BE).
std::vector<uint8_t> LangTagString(std::span<const uint8_t> bytes, const NameTable& table,
                                   const core::LangTagRecord& tag, bool byteSwap);

// The text file of record n: "%03d.txt"; of language tag n: "tag%03d.txt".
std::string NameTextFileName(size_t index);
std::string LangTagTextFileName(size_t index);
// The profile section of language tag n: "LangTag%d".
std::string LangTagSection(size_t index);

// One run: args[0] is the program, args[1] the name table file, args[2] the
// optional swap flag. Returns the exit status (1 or -1).
int RunCorvout(const std::vector<std::string>& args, const ToolPlace& place, Console& console);

}  // namespace tools
