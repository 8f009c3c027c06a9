// The table list in Quillet.ini: the last analysed font's tags with their
// offsets, lengths and calculated checksums. The export and delete dialogs
// list its tags and the dialogs keep its count; the commands check both
// against the open font's analysis, since any run may rewrite the file.
//
//   [Quillet]
//   Number_Of_Tables=2
//   Table0=cvt "            (the tag's four bytes and one double quote)
//   Table1=head"
//   [cvt "]
//   offset=140              (signed decimal)
//   length=20
//   CalculatedSum=305419896
//   HexDeciCalculatedSum=0x12345678
//
// Higher TableN keys of earlier fonts stay (readers look only at Table0 ..
// Table(Number_Of_Tables-1)); the sections of tags that the run no longer
// lists are removed, so the file never grows past one run's lists.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace editor {

struct TableListEntry {
  std::array<uint8_t, 4> tag{};
  uint32_t offset = 0;
  uint32_t length = 0;
  uint32_t calculatedSum = 0;
};

// A tag as the list writes it: its four bytes and one double quote. It is
// both a TableN value and the name of the tag's own section.
std::string TableListName(const std::array<uint8_t, 4>& tag);

// Writes the lists of one run's fonts. Each font's list is Number_Of_Tables,
// then for each entry its TableN key and the keys of its section, in that
// order, over what the file and the earlier fonts left; the file is written
// once, when the run saves it.
class TableListWriter {
 public:
  explicit TableListWriter(std::string settingsFolder);
  void AddFont(const std::vector<TableListEntry>& entries);
  // False with errno in *error when the file cannot be read or written
  // (EFBIG: it is too large to be a settings file and is left alone).
  bool Save(int* error = nullptr);

 private:
  std::string path_;
  platform::Profile profile_;
  bool loaded_ = false;
  int loadError_ = 0;
  std::set<std::string> listed_;  // the section names this run's lists use
  uint64_t tableCount_ = 0;       // Number_Of_Tables as this run sets it
};

// Number_Of_Tables = "0", as the window writes it at start-up.
bool ResetTableCount(const std::string& settingsFolder, int* error = nullptr);

// No font holds more tables than this; a larger count in the file is cut to it.
inline constexpr uint32_t kMostTables = 65535;

// Number_Of_Tables (default 0), at most kMostTables.
uint32_t ReadTableCount(const std::string& settingsFolder);

// The dialogs' list: for each i below Number_Of_Tables the first four
// characters of Table<i> (default "Unknown", so a missing key shows "Unkn").
std::vector<std::string> ReadTableListItems(const std::string& settingsFolder);

}  // namespace editor
