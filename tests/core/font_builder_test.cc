// The font builder: the anew layout judged by the rules any reader applies
// (aligned tables, search fields, every checksum and the whole-font sum),
// shared tables in a collection, sources that end early, failed writes, and
// the kept layout's patches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/io/byte_order.h"
#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "core/sfnt/font_builder.h"
#include "core/sfnt/sfnt_records.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::array<uint8_t, 4> Tag(const char* text) {
  std::array<uint8_t, 4> tag;
  std::memcpy(tag.data(), text, 4);
  return tag;
}

core::TableSource InMemory(const char* tag, const Bytes& bytes, uint32_t checkSum = 0) {
  core::TableSource table;
  table.tag = Tag(tag);
  table.checkSum = checkSum;
  table.bytes = bytes;
  return table;
}

// The sum of a whole file as 32-bit words, the last one padded with zeros.
uint32_t FileSum(const Bytes& bytes) { return core::TableCheckSumOfBytes(bytes); }

struct Entry {
  std::string tag;
  uint32_t checkSum, offset, length;
};
std::vector<Entry> Directory(const Bytes& font, size_t at = 0) {
  std::vector<Entry> entries;
  const uint16_t count = core::LoadU16(font.data() + at + 4);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = font.data() + at + 12 + 16 * i;
    entries.push_back({std::string(reinterpret_cast<const char*>(e), 4), core::LoadU32(e + 4), core::LoadU32(e + 8),
                       core::LoadU32(e + 12)});
  }
  return entries;
}

TEST(FontBuilder, ComputedSumsMakeAFontEveryReaderAccepts) {
  const Bytes head = testsupport::MakeHead(/*checkSumAdjustment=*/0x12345678);
  const Bytes cvt{0, 1, 0, 2, 0, 3};  // six bytes: two of zero fill follow
  const Bytes maxp = testsupport::MakeMaxp();
  core::FontPlan plan;
  plan.tables = {InMemory("cvt ", cvt), InMemory("head", head), InMemory("maxp", maxp)};
  core::ByteWriter out;
  EXPECT_TRUE(core::WriteFont(plan, core::TableSums::kComputed, out).empty());
  const Bytes& font = out.bytes();

  // Offset table: version, count and the search fields of three entries.
  EXPECT_EQ(core::LoadU32(font.data()), 0x00010000u);
  EXPECT_EQ(core::LoadU16(font.data() + 4), 3);
  EXPECT_EQ(core::LoadU16(font.data() + 6), 32);  // 16 x 2
  EXPECT_EQ(core::LoadU16(font.data() + 8), 1);
  EXPECT_EQ(core::LoadU16(font.data() + 10), 16);
  const std::vector<Entry> entries = Directory(font);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].tag, "cvt ");
  EXPECT_EQ(entries[0].offset, 12u + 3 * 16);
  EXPECT_EQ(entries[0].length, 6u);
  EXPECT_EQ(entries[1].offset, 12u + 3 * 16 + 8);  // the next 4-byte boundary
  EXPECT_EQ(font.size() % 4, 0u);
  for (const Entry& entry : entries) {
    EXPECT_EQ(entry.offset % 4, 0u) << entry.tag;
    Bytes bytes(font.begin() + entry.offset, font.begin() + entry.offset + entry.length);
    if (entry.tag == "head") std::memset(bytes.data() + 8, 0, 4);
    EXPECT_EQ(entry.checkSum, core::TableCheckSumOfBytes(bytes)) << entry.tag;
  }
  // With the adjustment in place the whole font sums to the magic number.
  EXPECT_EQ(FileSum(font), 0xB1B0AFBAu);
  // Building the same font again gives the same bytes.
  core::ByteWriter again;
  core::WriteFont(plan, core::TableSums::kComputed, again);
  EXPECT_EQ(again.bytes(), font);
}

TEST(FontBuilder, GivenSumsAreWrittenAsTheyStand) {
  const Bytes head = testsupport::MakeHead(0x12345678);
  const Bytes seven{7};
  core::FontPlan plan;
  plan.sfntVersion = 0x74727565;  // 'true'
  plan.tables = {InMemory("head", head, 0xDEADBEEF), InMemory("zzzz", seven, 0)};
  core::ByteWriter out;
  EXPECT_TRUE(core::WriteFont(plan, core::TableSums::kAsGiven, out).empty());
  EXPECT_EQ(core::LoadU32(out.bytes().data()), 0x74727565u);
  const std::vector<Entry> entries = Directory(out.bytes());
  EXPECT_EQ(entries[0].checkSum, 0xDEADBEEFu);
  EXPECT_EQ(entries[1].checkSum, 0u);
  EXPECT_EQ(core::LoadU32(out.bytes().data() + entries[0].offset + 8), 0x12345678u);  // head untouched
}

TEST(FontBuilder, ACollectionWritesSharedTablesOnce) {
  testsupport::TempDir dir;
  const Bytes glyf(1000, 0x5A);
  testsupport::WriteBytes(dir.File("glyf"), glyf);
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("glyf")));
  core::TableSource shared;
  shared.tag = Tag("glyf");
  shared.file = &file;
  shared.length = glyf.size();
  const Bytes head0 = testsupport::MakeHead(), head1 = testsupport::MakeHead(0, 1000);
  std::vector<core::FontPlan> fonts(2);
  fonts[0].tables = {shared, InMemory("head", head0)};
  fonts[1].tables = {shared, InMemory("head", head1)};
  core::ByteWriter out;
  EXPECT_TRUE(core::WriteCollection(fonts, core::TableSums::kComputed, out).empty());
  const Bytes& ttc = out.bytes();
  ASSERT_EQ(std::string(ttc.begin(), ttc.begin() + 4), "ttcf");
  EXPECT_EQ(core::LoadU32(ttc.data() + 8), 2u);
  const std::vector<Entry> first = Directory(ttc, core::LoadU32(ttc.data() + 12));
  const std::vector<Entry> second = Directory(ttc, core::LoadU32(ttc.data() + 16));
  EXPECT_EQ(first[0].offset, second[0].offset);  // one glyf for both
  EXPECT_NE(first[1].offset, second[1].offset);
  // Headers (12 + 8 + 2 x 44), one glyf and two heads of 56 bytes with fill.
  EXPECT_EQ(ttc.size(), 12u + 8 + 2 * 44 + 1000 + 2 * 56);
}

TEST(FontBuilder, ATableCutShortByItsFileIsWrittenAsFarAsItGoes) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("t"), Bytes(10, 0x11));
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("t")));
  core::TableSource table;
  table.tag = Tag("abcd");
  table.file = &file;
  table.offset = 4;
  table.length = 100;
  table.source = 7;
  core::FontPlan plan;
  plan.tables = {table};
  core::ByteWriter out;
  const core::Problems problems = core::WriteFont(plan, core::TableSums::kAsGiven, out);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].code, core::ProblemCode::kTableCutShort);
  EXPECT_EQ(problems[0].severity, core::Severity::kWarning);
  EXPECT_EQ(problems[0].number, 6u);
  EXPECT_EQ(problems[0].limit, 100u);
  EXPECT_EQ(problems[0].source, 7);
  EXPECT_EQ(Directory(out.bytes())[0].length, 6u);
  EXPECT_EQ(out.size(), 12u + 16 + 8);
}

// A sink that takes the first `room` bytes and fails after them.
class FullDisk : public core::ByteSink {
 public:
  explicit FullDisk(uint64_t room) : room_(room) {}
  bool Append(std::span<const uint8_t> bytes) override {
    if (size_ + bytes.size() > room_) return false;
    size_ += bytes.size();
    return true;
  }
  bool Overwrite(uint64_t, std::span<const uint8_t>) override { return true; }
  core::CopyStatus AppendFrom(const core::ReadableFile&, uint64_t, uint64_t length, uint64_t* copied) override {
    *copied = 0;
    return Append(Bytes(length)) ? core::CopyStatus::kOk : core::CopyStatus::kWriteFailed;
  }
  uint64_t size() const override { return size_; }
  int error() const override { return 28; }  // ENOSPC

 private:
  uint64_t room_, size_ = 0;
};

TEST(FontBuilder, AFailedWriteIsAnErrorWithTheSystemsCode) {
  const Bytes data(64, 1);
  core::FontPlan plan;
  plan.tables = {InMemory("aaaa", data), InMemory("bbbb", data)};
  for (uint64_t room : {0, 50, 100}) {
    FullDisk disk(room);
    const core::Problems problems = core::WriteFont(plan, core::TableSums::kComputed, disk);
    ASSERT_EQ(problems.size(), 1u) << room;
    EXPECT_EQ(problems[0].code, core::ProblemCode::kWriteFailed);
    EXPECT_EQ(problems[0].systemError, 28);
    EXPECT_TRUE(core::HasError(problems));
  }
}

TEST(KeptLayout, PatchesLieOverTheSourceInTheOrderTheyWereMade) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("f"), Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("f")));
  core::KeptLayout copy(file);
  EXPECT_TRUE(copy.Patch(2, {0xA, 0xB, 0xC}));
  EXPECT_TRUE(copy.Patch(3, {0xD}));
  EXPECT_EQ(copy.Read(0, 8), (Bytes{1, 2, 0xA, 0xD, 0xC, 6, 7, 8}));
  EXPECT_EQ(copy.Read(6, 4), (Bytes{7, 8, 0, 0}));  // past the end: zeros
  EXPECT_FALSE(copy.Patch(7, {1, 2}));             // would reach past the end
  core::ByteWriter out;
  EXPECT_EQ(copy.WriteSource(out), core::CopyStatus::kOk);
  EXPECT_TRUE(copy.WritePatches(out));
  EXPECT_EQ(out.bytes(), (Bytes{1, 2, 0xA, 0xD, 0xC, 6, 7, 8}));
}

}  // namespace

namespace {

TEST(FontBuilder, EntriesOfOneFontThatNameTheSameBytesEachGetTheirOwnCopyAndTag) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir.File("f"), Bytes{1, 2, 3, 4, 5, 6});
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("f")));
  auto span = [&](const char* tag, uint32_t checkSum) {
    core::TableSource table;
    table.tag = Tag(tag);
    table.checkSum = checkSum;
    table.file = &file;
    table.length = 6;
    return table;
  };
  core::FontPlan plan;
  plan.tables = {span("aaaa", 11), span("bbbb", 22)};
  core::ByteWriter out;
  EXPECT_TRUE(core::WriteFont(plan, core::TableSums::kAsGiven, out).empty());
  const std::vector<Entry> entries = Directory(out.bytes());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].tag, "aaaa");
  EXPECT_EQ(entries[0].checkSum, 11u);
  EXPECT_EQ(entries[1].tag, "bbbb");
  EXPECT_EQ(entries[1].checkSum, 22u);
  EXPECT_NE(entries[0].offset, entries[1].offset);
  EXPECT_EQ(out.size(), 12u + 32 + 8 + 8);

  // In a collection the second font shares the first font's copy under its own tag.
  std::vector<core::FontPlan> fonts(2);
  fonts[0].tables = {span("aaaa", 11)};
  fonts[1].tables = {span("cccc", 33)};
  core::ByteWriter ttc;
  EXPECT_TRUE(core::WriteCollection(fonts, core::TableSums::kAsGiven, ttc).empty());
  const std::vector<Entry> second = Directory(ttc.bytes(), core::LoadU32(ttc.bytes().data() + 16));
  EXPECT_EQ(second[0].tag, "cccc");
  EXPECT_EQ(second[0].checkSum, 33u);
  EXPECT_EQ(second[0].offset, Directory(ttc.bytes(), core::LoadU32(ttc.bytes().data() + 12))[0].offset);
}

}  // namespace
