// The editor's recalculation, export, add and delete on a font file it did
// not write, through the headless commands. Input: one command byte (bits
// 0-1: recalc, export, add, delete; bit 2: the font is named ".ttc"), one
// byte that picks a directory entry (whose tag export and delete take) and
// the length of the table file that add puts in (the font's first bytes),
// four tag bytes for add, then the font file.
//
// Whatever the command: the font is never written, and a failed command
// leaves no output. A written output must be what the command promises.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "core/io/byte_cursor.h"
#include "core/io/byte_order.h"
#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"
#include "editor/headless/quillet_headless.h"
#include "shell/headless.h"
#include "fuzz/pinned_library.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/font_sums.h"

using fuzzsupport::Check;

namespace {

using Bytes = std::span<const uint8_t>;

struct Entry {
  std::string tag;
  uint32_t checkSum, offset, length;
};

// The directory of the single font at the start of `font`, when all its
// entries lie in the bytes. Like the editor, a header cut short by the end of
// the file reads as zeros (so a file shorter than 12 bytes has no tables).
bool ReadDirectory(Bytes font, std::vector<Entry>* entries) {
  core::ByteCursor cursor(font, 4);
  uint16_t numTables;
  cursor.ReadU16(&numTables);
  entries->clear();
  if (numTables == 0) return true;
  cursor.Seek(12);
  for (unsigned k = 0; k < numTables; ++k) {
    std::array<uint8_t, 4> tag;
    Entry entry;
    cursor.ReadTag(&tag);
    cursor.ReadU32(&entry.checkSum);
    cursor.ReadU32(&entry.offset);
    cursor.ReadU32(&entry.length);
    if (!cursor.whole()) return false;
    entry.tag = core::TagText(tag.data());
    entries->push_back(entry);
  }
  return true;
}

// A table's bytes as far as the file holds them.
std::string TableBytes(Bytes font, uint64_t offset, uint64_t length) {
  if (offset >= font.size()) return {};
  uint64_t present = std::min<uint64_t>(length, font.size() - offset);
  return std::string(reinterpret_cast<const char*>(font.data() + offset), static_cast<size_t>(present));
}

bool Overlaps(uint64_t a, uint64_t aLength, uint64_t b, uint64_t bLength) {
  return a < b + bLength && b < a + aLength;
}

// A recalculated single font whose tables stay clear of what the
// recalculation writes (the directory and head's checkSumAdjustment) must
// verify: each entry carries its table's sum and the whole font sums to the
// magic number.
void CheckRecalculated(Bytes font, const std::string& outPath) {
  std::vector<Entry> entries;
  if (core::IsCollectionTag(font)) return;
  if (!ReadDirectory(font, &entries)) return;
  uint64_t directoryEnd = 12 + 16 * uint64_t{entries.size()};
  int heads = 0;
  uint64_t headOffset = 0;
  for (const Entry& e : entries)
    if (e.tag == "head") {
      ++heads;
      headOffset = e.offset;
    }
  if (heads != 1 || headOffset + core::kHeadSummedBytes > font.size()) return;
  for (const Entry& e : entries) {
    uint64_t length = e.tag == "head" ? core::kHeadSummedBytes : e.length;
    if (Overlaps(e.offset, length, 12, directoryEnd - 12)) return;
    if (e.tag != "head" && Overlaps(e.offset, length, headOffset + core::kCheckSumAdjustmentOffset, 4)) return;
  }

  core::ReadableFile out;
  Check(out.Open(outPath), "the recalculated font opens");
  Check(out.size() == font.size(), "the recalculated font keeps the size");
  std::vector<core::TableDirEntry> written = core::ReadTableDirectory(out, 0, static_cast<uint16_t>(entries.size()));
  testsupport::FontCheckSums sums = testsupport::ComputeFontCheckSums(out, 0, static_cast<uint16_t>(entries.size()), written);
  for (size_t k = 0; k < written.size(); ++k)
    Check(written[k].checkSum == sums.tableSums[k], "every entry carries its table's sum");
  uint8_t adjustment[4];
  out.ReadAtZeroFilled(headOffset + core::kCheckSumAdjustmentOffset, adjustment, 4);
  Check(core::ConsistencyCheck(sums.total, core::LoadU32(adjustment)) == 0, "the recalculated font is consistent");
}

// A rewritten font (add, delete): its directory lists `expected` in order,
// under search fields that fit the count, each table laid out at the first
// 4-byte boundary after the one before, holding `contents`, with zero fill.
void CheckRewritten(const std::string& outPath, const std::vector<Entry>& expected,
                    const std::vector<std::string>& contents) {
  std::string out = fuzzsupport::ReadFileText(outPath);
  Bytes bytes(reinterpret_cast<const uint8_t*>(out.data()), out.size());
  std::vector<Entry> entries;
  Check(ReadDirectory(bytes, &entries), "the new font's directory is complete");
  Check(entries.size() == expected.size(), "the new font has the expected number of tables");
  core::SearchFields search = core::BinarySearchFields(static_cast<uint32_t>(entries.size()), 16);
  core::ByteCursor header(bytes, 6);
  uint16_t searchRange, entrySelector, rangeShift;
  header.ReadU16(&searchRange);
  header.ReadU16(&entrySelector);
  header.ReadU16(&rangeShift);
  Check(searchRange == search.searchRange && entrySelector == search.entrySelector &&
            rangeShift == search.rangeShift,
        "the search fields fit the new count");
  auto aligned = [](uint64_t at) { return (at + 3) & ~uint64_t{3}; };
  uint64_t position = 12 + 16 * uint64_t{entries.size()};
  for (size_t k = 0; k < entries.size(); ++k) {
    Check(entries[k].tag == expected[k].tag, "the new font's tags are in the expected order");
    Check(entries[k].checkSum == expected[k].checkSum, "the checksums are copied as they stand");
    Check(entries[k].offset == aligned(position), "each table starts at the next 4-byte boundary");
    Check(TableBytes(bytes, position, entries[k].offset - position) == std::string(entries[k].offset - position, '\0'),
          "the fill bytes are zero");
    Check(entries[k].length == contents[k].size(), "each length is the table's length in its file");
    Check(TableBytes(bytes, entries[k].offset, entries[k].length) == contents[k], "each table keeps its bytes");
    position = entries[k].offset + uint64_t{entries[k].length};
  }
  Check(aligned(position) == out.size(), "the last table and its fill end the file");
  Check(TableBytes(bytes, position, out.size() - position) == std::string(out.size() - position, '\0'),
        "the last fill bytes are zero");
}

std::FILE* NullStream() {
  static std::FILE* stream = std::fopen("/dev/null", "w");
  return stream;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::PinChecksumLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  int command = data[0] & 3;
  bool collectionName = data[0] & 4;
  uint8_t pick = data[1];
  std::string addTag(reinterpret_cast<const char*>(data + 2), 4);
  Bytes font(data + 6, size - 6);
  std::string fontText(reinterpret_cast<const char*>(font.data()), font.size());
  std::string fontPath = scratch.Write(collectionName ? "font.ttc" : "font.ttf", font);
  std::string outPath = scratch.File("out.ttf");

  std::vector<Entry> entries;
  bool directory = ReadDirectory(font, &entries);
  // export and delete take the tag of a listed entry, as their dialogs do.
  std::string pickedTag = directory && !entries.empty() ? entries[pick % entries.size()].tag : std::string("head");

  std::vector<std::string> args;
  std::string tablePath;
  switch (command) {
    case 0:
      args = {"--recalc", fontPath, outPath};
      break;
    case 1:
      args = {"--export", fontPath, pickedTag, outPath};
      break;
    case 2:
      tablePath = scratch.Write("table.bin", font.first(std::min<size_t>(pick, font.size())));
      args = {"--add", fontPath, addTag, tablePath, outPath};
      break;
    default:
      args = {"--delete", fontPath, pickedTag, outPath};
      break;
  }
  int status = editor::RunHeadless(args, scratch.path(), NullStream(), NullStream()).value_or(-1);
  Check(fuzzsupport::ReadFileText(fontPath) == fontText, "the font that is read is never written");
  Check(status == shell::kExitSuccess || status == shell::kExitFailure || status == shell::kExitUsage,
        "the exit status is 0, 1 or 2");
  bool written = fuzzsupport::FileExists(outPath);
  Check(written == (status == shell::kExitSuccess), "an output appears exactly when the command succeeds");
  if (!written) return 0;

  if (command == 0) {
    if (!collectionName) CheckRecalculated(font, outPath);
  } else if (command == 1) {
    // A tag that the directory holds twice is refused.
    std::string out = fuzzsupport::ReadFileText(outPath);
    bool matches = false;
    if (!collectionName)
      for (const Entry& e : entries) matches |= e.tag == pickedTag && TableBytes(font, e.offset, e.length) == out;
    Check(collectionName || matches, "the exported file holds one of the tag's tables");
  } else if (command == 2) {
    Check(directory, "add writes a font only from a complete directory");
    std::string tag = addTag;
    std::vector<Entry> expected;
    std::vector<std::string> contents;
    bool placed = false;
    for (const Entry& e : entries) {
      if (!placed && e.tag >= tag) {  // bytewise order is the order of TagValue
        expected.push_back(Entry{tag, 0, 0, 0});
        contents.push_back(fuzzsupport::ReadFileText(tablePath));
        placed = true;
      }
      expected.push_back(e);
      contents.push_back(TableBytes(font, e.offset, e.length));
    }
    if (!placed) {
      expected.push_back(Entry{tag, 0, 0, 0});
      contents.push_back(fuzzsupport::ReadFileText(tablePath));
    }
    CheckRewritten(outPath, expected, contents);
  } else {
    Check(directory, "delete writes a font only from a complete directory");
    std::vector<Entry> expected;
    std::vector<std::string> contents;
    for (const Entry& e : entries) {
      if (e.tag == pickedTag) continue;
      expected.push_back(e);
      contents.push_back(TableBytes(font, e.offset, e.length));
    }
    Check(expected.size() + 1 == entries.size(), "delete removes exactly one table");
    CheckRewritten(outPath, expected, contents);
  }
  return 0;
}
