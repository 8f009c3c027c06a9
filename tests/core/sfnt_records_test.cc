#include "core/sfnt/sfnt_records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(OffsetTable, VersionIsReadAsTwoHalves) {
  const uint8_t raw[] = {0x74, 0x72, 0x75, 0x65, 0, 3, 0, 32, 0, 1, 0, 16};
  core::OffsetTable table = core::DecodeRecord<core::OffsetTable>(raw);
  EXPECT_EQ(table.versionMajor, 29810);
  EXPECT_EQ(table.versionMinor, 30053);
  EXPECT_EQ(table.numTables, 3);
  auto back = core::EncodeRecord(table);
  EXPECT_EQ(0, memcmp(raw, back.data(), 12));
}

TEST(TableDirectory, CountBeyondTheFileIsClippedToWhatIsThere) {
  testsupport::TempDir dir;
  testsupport::Bytes font = testsupport::SampleFont().Build();
  font[4] = 0xFF;  // numTables 0xFF08
  font.resize(12 + 16 * 3 + 5);
  testsupport::WriteBytes(dir.File("f"), font);
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("f")));
  auto offsets = core::ReadOffsetTable(file, 0);
  bool complete = true;
  auto entries = core::ReadTableDirectory(file, 0, offsets.numTables, &complete);
  EXPECT_FALSE(complete);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(std::string(entries[0].tag.begin(), entries[0].tag.end()), "OS/2");
  EXPECT_EQ(entries[3].offset, 0u);  // only 5 bytes of the fourth entry: the rest reads as zero
}

TEST(CollectionHeader, HugeFontCountIsClipped) {
  testsupport::TempDir dir;
  testsupport::Bytes bytes = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 12, 0, 0};
  testsupport::WriteBytes(dir.File("c"), bytes);
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(dir.File("c")));
  auto header = core::ReadCollectionHeader(file);
  EXPECT_EQ(header.numFonts, 0xFFFFFFFFu);
  EXPECT_EQ(header.version, 0x00010000u);
  bool complete = true;
  auto offsets = core::ReadCollectionOffsets(file, header.numFonts, &complete);
  EXPECT_FALSE(complete);
  ASSERT_EQ(offsets.size(), 2u);
  EXPECT_EQ(offsets[0], 12u);
  EXPECT_EQ(offsets[1], 0u);
}

TEST(ReadableFile, MissingAndEmptyFiles) {
  testsupport::TempDir dir;
  core::ReadableFile file;
  EXPECT_FALSE(file.Open(dir.File("none")));
  EXPECT_EQ(file.error(), ENOENT);
  testsupport::WriteBytes(dir.File("empty"), {});
  ASSERT_TRUE(file.Open(dir.File("empty")));
  EXPECT_EQ(file.size(), 0u);
  auto table = core::ReadOffsetTable(file, 0);
  EXPECT_EQ(table.numTables, 0);
  EXPECT_TRUE(core::ReadTableDirectory(file, 0, 100).empty());
}

}  // namespace
