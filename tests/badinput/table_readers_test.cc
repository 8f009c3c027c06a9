// The readers of table files: pellout (OS/2), corvout (name) and the Mac
// converter's cmap and name conversions, extraction and dump, on files that
// are empty, cut short in every structure, or whose counts, offsets and
// lengths point past the end or wrap. Missing bytes read as zero and are
// reported; nothing reaches past the end; outputs that exist stay untouched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/badinput/bad_files.h"
#include "tests/badinput/program_box.h"
#include "tests/support/reasons.h"

namespace badinput {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

uint16_t U16(const Bytes& bytes, size_t at) { return static_cast<uint16_t>((bytes.at(at) << 8) | bytes.at(at + 1)); }
uint32_t U32(const Bytes& bytes, size_t at) { return (uint32_t{U16(bytes, at)} << 16) | U16(bytes, at + 2); }

// --- pellout ---------------------------------------------------------------

TEST(Pellout, EveryCutOfTheTableIsExtractedAsFarAsItGoes) {
  Bytes os2 = testsupport::MakeOs2("MRLW");
  for (size_t size : {0, 1, 2, 31, 32, 41, 42, 58, 60, 62, 77, 85, 86}) {
    SCOPED_TRACE(size);
    ProgramBox box;
    box.Put("cut.os_2", FirstBytes(os2, size));
    ProgramRun run = box.Run("pellout", {"cut.os_2"});
    EXPECT_EQ(run.status, kToolComplete);
    bool warned = run.out.find("these fields are missing and are not written") != std::string::npos;
    EXPECT_EQ(warned, size < 86) << run.out;
    std::string profile = testsupport::ReadText(box.Bin("Pellout.ini"));
    EXPECT_THAT(profile, HasSubstr("FileName=cut.os_2\r\n"));
    EXPECT_EQ(profile.find("usWinDescent=") != std::string::npos, size >= 78);
    EXPECT_EQ(profile.find("achVendID=") != std::string::npos, size >= 62);
    EXPECT_EQ(box.Get("cut.os_2"), FirstBytes(os2, size));
  }
}

TEST(Pellout, AMissingTableFileWritesNoProfile) {
  ProgramBox box;
  ProgramRun run = box.Run("pellout", {"missing.os_2"});
  EXPECT_EQ(run.status, kToolFailure);
  EXPECT_THAT(run.out, HasSubstr("Can not open a file missing.os_2\n"));
  EXPECT_FALSE(testsupport::Exists(box.Bin("Pellout.ini")));
}

// --- corvout ---------------------------------------------------------------

// Runs corvout and checks what every run on a readable file shows.
ProgramRun Corvout(ProgramBox& box, const Bytes& table, size_t expectedRecords) {
  box.Put("in.name", table);
  ProgramRun run = box.Run("corvout", {"in.name"});
  EXPECT_EQ(run.status, kToolComplete);
  EXPECT_THAT(run.out, HasSubstr("numOfNameRec = " + std::to_string(expectedRecords) + "\n"));
  std::string profile = testsupport::ReadText(box.Bin("Corvout.ini"));
  EXPECT_THAT(profile, HasSubstr("numOfNameRec=" + std::to_string(expectedRecords) + "\r\n"));
  // One text file per record, besides the table file itself.
  EXPECT_EQ(box.WorkFiles().size(), expectedRecords + 1);
  EXPECT_EQ(box.Get("in.name"), table);
  return run;
}

TEST(Corvout, EveryCutOfTheTableKeepsTheRecordsThatBeginInIt) {
  Bytes name = testsupport::MakeName({{1, 0, 0, 1, testsupport::AsciiBytes("Sample")},
                                      {3, 1, 0x409, 1, testsupport::Utf16Be("Sample")},
                                      {3, 1, 0x411, 4, testsupport::Utf16Be("Sample Regular")}});
  for (const Cut& cut : TableCuts(name, 6, 3, 12)) {
    SCOPED_TRACE(cut.where);
    ProgramBox box;
    size_t records = cut.size <= 6 ? 0 : std::min<size_t>(3, (cut.size - 6 + 11) / 12);
    if (cut.size < 4) records = 0;
    ProgramRun run = Corvout(box, FirstBytes(name, cut.size), records);
    EXPECT_THAT(run.out, HasSubstr("before its name table does; the missing bytes are taken as zero"));
  }
}

TEST(Corvout, CountsAndOffsetsPastTheEndReadAsZero) {
  Bytes name = testsupport::MakeName({{3, 1, 0x409, 1, testsupport::Utf16Be("Sample")}});
  {
    Bytes many = name;
    many[2] = many[3] = 0xFF;  // 65535 records in a table of one
    ProgramBox box;
    ProgramRun run = Corvout(box, many, (many.size() - 6 + 11) / 12);
    EXPECT_THAT(run.out, HasSubstr("records that lie wholly past the end are left out."));
  }
  {
    Bytes far = name;
    far[6 + 8] = far[6 + 9] = 0xFF;    // length 65535
    far[6 + 10] = far[6 + 11] = 0xFF;  // offset 65535
    ProgramBox box;
    Corvout(box, far, 1);
    EXPECT_EQ(box.Get("000.txt"), Bytes(65535, 0)) << "the string past the end reads as zeros";
  }
}

TEST(Corvout, ANameTableOf5461RecordsIsExtractedButNotMergedBack) {
  ProgramBox box;
  Bytes table = NameTableOfRecords(5461);
  Corvout(box, table, 5461);
  // Its stringOffset wrapped to 2: the strings are read from there.
  EXPECT_EQ(box.Get("5460.txt"), Bytes{table[2 + 5460 % 26]});
  // The merge tool refuses it: 12 x 5461 + 6 does not fit the 16-bit offset.
  std::string profile = testsupport::ReadText(box.Bin("Corvout.ini"));
  testsupport::WriteText(box.Bin("Corvout.ini"), profile.replace(profile.find("FileName=in.name"), 16, "FileName=back.name"));
  ProgramRun merge = box.Run("corvin", {"Corvout.ini"});
  EXPECT_EQ(merge.status, kToolFailure);
  EXPECT_THAT(merge.out, HasSubstr("numOfNameRec = 5461 is too large: a name table holds at most 5460 records."));
  EXPECT_FALSE(box.Has("back.name"));
}

// --- the Mac converter -----------------------------------------------------

// A cut inside the header is refused with a message and writes nothing;
// every longer cut converts.
TEST(MacCmap, EveryCutOfTheTableConvertsOrIsRefusedInsideTheHeader) {
  Bytes cmap = MacJapaneseCmap();
  std::vector<Cut> cuts = TableCuts(cmap, 4, 2, 8);
  cuts.push_back({"in the format 2 subheader keys", kMacCmapFormat2Offset + 100});
  cuts.push_back({"in the format 2 glyphs", cmap.size() - 40});
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.where);
    ProgramBox box;
    Bytes input = FirstBytes(cmap, cut.size);
    box.Put("mac.cmap", input);
    ProgramRun run = box.Run("drumlin", {"--cmap", "mac.cmap", "win.cmap"});
    EXPECT_TRUE(box.TmpFiles().empty()) << "no work file is left behind";
    if (input.size() < 4) {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, "ERROR: mac.cmap holds " + std::to_string(input.size()) +
                             " bytes, too few for the 4 bytes of a cmap table's header; win.cmap is not written.\n");
      EXPECT_FALSE(box.Has("win.cmap"));
      continue;
    }
    EXPECT_EQ(run.status, 0) << run.err;
    Bytes out = box.Get("win.cmap");
    ASSERT_GE(out.size(), 4u);
    uint16_t records = static_cast<uint16_t>(std::min<size_t>(2, (input.size() - 4) / 8));
    EXPECT_EQ(U16(out, 2), records);
    for (uint16_t r = 0; r < records; ++r) EXPECT_LT(U32(out, 4 + 8 * r + 4), out.size());
    EXPECT_EQ(box.Get("mac.cmap"), input);
  }
}

TEST(MacCmap, SubtablesPastTheEndAndHugeCountsStayInside) {
  {
    ProgramBox box;
    box.Put("far.cmap", CmapWithRecordOffset(0xFFFFFFF0));
    ASSERT_EQ(box.Run("drumlin", {"--cmap", "far.cmap", "win.cmap"}).status, 0);
    // Both records point at one format 0 subtable of length 0 (what zeros
    // read as), written once.
    Bytes out = box.Get("win.cmap");
    EXPECT_EQ(out.size(), 4u + 2 * 8 + 4);
  }
  {
    Bytes many = MacJapaneseCmap();
    many[2] = many[3] = 0xFF;
    ProgramBox box;
    box.Put("many.cmap", many);
    ASSERT_EQ(box.Run("drumlin", {"--cmap", "many.cmap", "win.cmap"}).status, 0);
    EXPECT_EQ(U16(box.Get("win.cmap"), 2), (many.size() - 4) / 8);
  }
}

TEST(MacName, EveryCutOfTheTableConvertsOrIsRefusedInsideTheHeader) {
  Bytes name = MacJapaneseName();
  for (const Cut& cut : TableCuts(name, 6, 2, 12)) {
    SCOPED_TRACE(cut.where);
    ProgramBox box;
    Bytes input = FirstBytes(name, cut.size);
    box.Put("mac.name", input);
    ProgramRun run = box.Run("drumlin", {"--name", "mac.name"});
    if (input.size() < 6) {
      EXPECT_EQ(run.status, 1);
      EXPECT_THAT(run.err, HasSubstr("too few for the 6 bytes of a name table's header"));
      EXPECT_FALSE(box.Has("mac.name.name"));
      continue;
    }
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "Message: Success! (Written: mac.name.name)\n");
    Bytes out = box.Get("mac.name.name");
    uint16_t records = static_cast<uint16_t>(std::min<size_t>(2, (input.size() - 6) / 12));
    ASSERT_GE(out.size(), 6u);
    EXPECT_EQ(U16(out, 2), records);
    EXPECT_EQ(U16(out, 4), 6 + 12 * records);
  }
}

TEST(MacName, ANameTableOf5461RecordsIsRefused) {
  ProgramBox box;
  box.Put("big.name", NameTableOfRecords(5461));
  ProgramRun run = box.Run("drumlin", {"--name", "big.name"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERROR: The new strings do not fit in a name table.\n");
  EXPECT_FALSE(box.Has("big.name.name"));
  // 5460 records still fit.
  box.Put("most.name", NameTableOfRecords(5460));
  EXPECT_EQ(box.Run("drumlin", {"--name", "most.name"}).status, 0);
  EXPECT_EQ(U16(box.Get("most.name.name"), 4), 6 + 12 * 5460);
}

TEST(MacName, AConvertedTableThatExistsIsNotReplaced) {
  ProgramBox box;
  box.Put("mac.name", MacJapaneseName());
  box.PutText("mac.name.name", "kept");
  ProgramRun run = box.Run("drumlin", {"--name", "mac.name"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERROR at 002: Function CreateFile(mac.name.name) failed!! File exist?" + testsupport::ExistsNote() + "\n");
  EXPECT_EQ(box.GetText("mac.name.name"), "kept");
}

TEST(MacConverter, OutputsThatExistAreNotReplaced) {
  ProgramBox box;
  box.Put("mac.cmap", MacJapaneseCmap());
  box.PutText("win.cmap", "kept");
  ProgramRun cmap = box.Run("drumlin", {"--cmap", "mac.cmap", "win.cmap"});
  EXPECT_EQ(cmap.status, 1);
  EXPECT_EQ(cmap.err, "ERROR: File exist? : win.cmap\n");
  EXPECT_EQ(box.GetText("win.cmap"), "kept");
  EXPECT_TRUE(box.TmpFiles().empty());

  Bytes suitcase(200, 0x11);
  Bytes font = SampleFontBytes();
  suitcase.insert(suitcase.end(), {'t', 'r', 'u', 'e'});
  suitcase.insert(suitcase.end(), font.begin() + 4, font.end());
  box.Put("suitcase.bin", suitcase);
  box.PutText("out.ttf", "kept");
  ProgramRun extract = box.Run("drumlin", {"--extract", "suitcase.bin", "out.ttf"});
  EXPECT_EQ(extract.status, 1);
  EXPECT_EQ(extract.err, "ERROR: Function CreateFile(out.ttf) failed!! File exist?" + testsupport::ExistsNote() + "\n");
  EXPECT_EQ(box.GetText("out.ttf"), "kept");
}

TEST(MacExtraction, DataWithoutASignatureOrEndingInOneIsHandled) {
  ProgramBox box;
  for (const Bytes& data : {Bytes{}, Bytes{'t', 'r', 'u'}, Bytes(1000, 0x74)}) {
    box.Put("plain.bin", data);
    ProgramRun run = box.Run("drumlin", {"--extract", "plain.bin", "plain.ttf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Message: Can't find TrueType Font.\n");
    EXPECT_FALSE(box.Has("plain.ttf"));
  }
  Bytes ending(300, 0);
  ending.insert(ending.end(), {'m', 'o', 'r', '0'});
  box.Put("ending.bin", ending);
  ProgramRun run = box.Run("drumlin", {"--extract", "ending.bin", "ending.ttf"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(box.Get("ending.ttf"), (Bytes{0, 1, 0, 0}));
}

TEST(MacDump, CutAndEmptyTablesEndWithDone) {
  ProgramBox box;
  box.Put("empty.cmap", {});
  ProgramRun empty = box.Run("drumlin", {"--dump", "empty.cmap", "empty.txt"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.err, "Message: Done!!\n");
  EXPECT_FALSE(box.Has("empty.txt"));

  box.Put("cut.cmap", FirstBytes(MacJapaneseCmap(), kMacCmapFormat2Offset + 300));
  ProgramRun cut = box.Run("drumlin", {"--dump", "cut.cmap", "cut.txt"});
  EXPECT_EQ(cut.status, 0);
  std::string text = box.GetText("cut.txt");
  EXPECT_THAT(text, HasSubstr("unicode, sjiscode, index\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 0xFFFF);
}

}  // namespace
}  // namespace badinput
