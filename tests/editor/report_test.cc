// The analysis report, line by line, on fonts built for the purpose: the
// directory block, the checksum columns, the dumps, the summary, the table
// list, collections, and files that end too early.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/sfnt/checksum.h"
#include "editor/model/table_list.h"
#include "tests/editor/editor_test_support.h"

namespace {

using editortest::CountLines;
using editortest::LineStarting;
using editortest::Workspace;
using testsupport::Bytes;
using testsupport::FontBuilder;

std::string F(const char* format, uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0, uint32_t e = 0) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, a, b, c, d, e);
  return buffer;
}

uint32_t Get32(const Bytes& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TEST(Report, ConsistentFontLineByLine) {
  Workspace w;
  Bytes font = FontBuilder().AddTable("head", testsupport::MakeHead()).AddTable("maxp", testsupport::MakeMaxp(7))
                   .AddTable("cvt", {1, 2, 3, 4, 5, 6}).Build();
  ASSERT_TRUE(w.Analyse(w.Write("small.ttf", font)));
  EXPECT_TRUE(w.messages.empty());

  auto entries = testsupport::ReadEntries(font);
  uint32_t directory = core::TableCheckSumOfBytes(std::span(font.data(), 12 + 16 * 3));
  uint32_t total = directory;
  for (const auto& e : entries) total += e.checkSum;
  uint32_t adjustment = Get32(font, entries[1].offset + 8);
  ASSERT_EQ(adjustment, core::kWholeFontMagic - total);

  std::vector<std::string> expected = {
      "", "The Table Directory", "  sfnt version = 1.0", "  Number of tables = 3", "  searchRange = 32",
      "  entrySelector = 1", "  rangeShift = 16", "--", F("Check sum on Table Directory and its Entries = 0x%x", directory),
      "Table Directory Entries", "It takes time to calculate glyf table check sum.",
      "The difference between checkSum and CalcCheckSum in head table is", "  due to checkSumAdjustment.",
      "# \ttag   \tcheckSum\toffset   \tlength   \tCalcCheckSum\tdiff"};
  for (size_t k = 0; k < 3; ++k)
    expected.push_back(F("%02d,\t", uint32_t(k)) + entries[k].tag +
                       F(",\t0x%08x,\t0x%08x,\t0x%08x,\t0x%08x,   \t0x00000000", entries[k].checkSum, entries[k].offset,
                         entries[k].length, entries[k].checkSum));
  expected.push_back("--");
  expected.push_back(F("cvt  : offset = 0x%x, length = 0x6", entries[0].offset));
  expected.push_back(F("head : offset = 0x%x, length = 0x36", entries[1].offset));
  expected.push_back("head : Table_version_number = 0x10000, fontRevision = 0x18000,");
  expected.push_back(F("  checkSumAdjustment = 0x%x, magicNumber = 0x5f0f3cf5,", adjustment));
  expected.push_back("  unitsPerEm = 2048");
  expected.push_back(F("  checkSumAdjustment should be 0x%x", adjustment));
  expected.push_back(F("maxp : offset = 0x%x, length = 0x20", entries[2].offset));
  expected.push_back("maxp : Table_version_number = 0x10000, numGlyphs = 7");
  expected.push_back("  maxPoints = 1");
  expected.push_back("--");
  for (const std::string& line :
       {F("(assume adjustment = 0) Calculated check sum total (CCST) is 0x%x", total),
        F("True checkSumAdjustment (TCSAJ) should be 0x%x", adjustment), std::string("CCST + TCSAJ is 0xb1b0afba"),
        std::string("CCST + stored check sum adjustment is 0xb1b0afba"),
        std::string("Check Sum is 0x0 (0 is correct.)"), std::string("Ready")}) {
    expected.push_back(line);
    expected.push_back("--");
  }
  EXPECT_EQ(w.log.Lines(), expected);
  EXPECT_EQ(w.analysis.fonts.size(), 1u);
  EXPECT_EQ(w.analysis.fontOffsets, std::vector<uint32_t>{0});
  EXPECT_EQ(w.analysis.fonts[0].trueAdjustment, adjustment);
}

TEST(Report, AdjustmentOffByOneEitherWay) {
  for (auto [skew, last] : {std::pair<uint32_t, const char*>{1, "Check Sum is 0xffffffff (0 is correct.)"},
                            {0xFFFFFFFF, "Check Sum is 0x1 (0 is correct.)"}}) {
    Workspace w;
    ASSERT_TRUE(w.Analyse(w.Write("skew.ttf", testsupport::SampleFont().SkewAdjustment(skew).Build())));
    auto lines = w.log.Lines();
    EXPECT_EQ(LineStarting(lines, "Check Sum is"), last);
    EXPECT_EQ(LineStarting(lines, "CCST + TCSAJ"), "CCST + TCSAJ is 0xb1b0afba");
    // The head dump names the true adjustment, not the stored one.
    uint32_t truth = w.analysis.fonts[0].trueAdjustment;
    EXPECT_EQ(LineStarting(lines, "  checkSumAdjustment should be"), F("  checkSumAdjustment should be 0x%x", truth));
    EXPECT_EQ(LineStarting(lines, "  checkSumAdjustment = "),
              F("  checkSumAdjustment = 0x%x, magicNumber = 0x5f0f3cf5,", truth + skew));
  }
}

TEST(Report, EmptyDirectoryDuplicatesAndOddTags) {
  Workspace w;
  ASSERT_TRUE(w.Analyse(w.Write("empty.ttf", FontBuilder().Build())));
  auto lines = w.log.Lines();
  EXPECT_EQ(LineStarting(lines, "  Number of tables"), "  Number of tables = 0");
  EXPECT_EQ(LineStarting(lines, "Check sum on"), "Check sum on Table Directory and its Entries = 0x10000");
  EXPECT_EQ(CountLines(lines, "--"), 9);  // offset table, entries, tables, five summary lines, Ready
  EXPECT_EQ(LineStarting(lines, "Check Sum is"), F("Check Sum is 0x%x (0 is correct.)", core::kWholeFontMagic - 0x10000));
  EXPECT_EQ(editor::ReadTableCount(w.dir.path()), 0u);

  // A table listed twice is summed twice; "Head" is summed by the table rule
  // and gets no dump; "cvt " keeps its blank in the table list.
  Bytes head = testsupport::MakeHead(0x12345678);
  Bytes maxp = testsupport::MakeMaxp();
  Bytes font = FontBuilder().KeepAddOrder().NoChecksums().AddTable("maxp", maxp).AddTable("maxp", maxp)
                   .AddTable("Head", head).AddTable("cvt", {9, 9}).Build();
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("odd.ttf", font)));
  lines = w.log.Lines();
  uint32_t maxpSum = core::TableCheckSumOfBytes(maxp), headSum = core::TableCheckSumOfBytes(head);
  uint32_t total = core::TableCheckSumOfBytes(std::span(font.data(), 12 + 16 * 4)) + 2 * maxpSum + headSum + 0x09090000;
  EXPECT_EQ(LineStarting(lines, "(assume"), F("(assume adjustment = 0) Calculated check sum total (CCST) is 0x%x", total));
  EXPECT_EQ(w.analysis.fonts[0].calculatedSums, (std::vector<uint32_t>{maxpSum, maxpSum, headSum, 0x09090000}));
  EXPECT_EQ(CountLines(lines, "maxp : Table_version_number"), 2);
  EXPECT_EQ(CountLines(lines, "head : Table_version_number"), 0);
  EXPECT_EQ(CountLines(lines, "Head : offset"), 1);
  // No head table: the stored adjustment counts as 0, whatever an earlier run read.
  EXPECT_EQ(LineStarting(lines, "CCST + stored"), F("CCST + stored check sum adjustment is 0x%x", total));

  std::string ini = testsupport::ReadText(w.dir.File("Quillet.ini"));
  EXPECT_NE(ini.find("Table3=cvt \"\r\n"), std::string::npos);
  EXPECT_NE(ini.find(F("[cvt \"]\r\noffset=%u\r\nlength=2\r\n", testsupport::ReadEntries(font)[3].offset)),
            std::string::npos);
  EXPECT_EQ(editor::ReadTableListItems(w.dir.path()), (std::vector<std::string>{"maxp", "maxp", "Head", "cvt "}));

  // A shorter font afterwards lists only its own tables: the keys and
  // sections past its count go.
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("one.ttf", FontBuilder().AddTable("maxp", maxp).Build())));
  EXPECT_EQ(editor::ReadTableListItems(w.dir.path()), std::vector<std::string>{"maxp"});
  ini = testsupport::ReadText(w.dir.File("Quillet.ini"));
  EXPECT_EQ(ini.find("Table1="), std::string::npos) << ini;
  EXPECT_EQ(ini.find("Table3="), std::string::npos) << ini;
  EXPECT_EQ(ini.find("[cvt \"]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Table0=maxp\"\r\n"), std::string::npos) << ini;
}

TEST(Report, CollectionIsDecidedByTheName) {
  Workspace w;
  FontBuilder second = testsupport::SampleFont();
  second.AddTable("vhea", testsupport::MakeHhea());
  Bytes ttc = testsupport::BuildCollection({testsupport::SampleFont(), second}, true);
  for (const char* name : {"pair.ttc", "PAIR.TTC"}) {
    w.log.Clear();
    ASSERT_TRUE(w.Analyse(w.Write(name, ttc)));
    auto lines = w.log.Lines();
    EXPECT_EQ(lines[1], "ttc table, tag = ttcf, version = 0x10000, count = 2");
    EXPECT_EQ(lines[2], F("ttc table directory, offset = 0x%x, %d", Get32(ttc, 12), Get32(ttc, 12)));
    EXPECT_EQ(lines[3], F("ttc table directory, offset = 0x%x, %d", Get32(ttc, 16), Get32(ttc, 16)));
    EXPECT_EQ(lines[4], "--");
    EXPECT_EQ(lines[5], "The Table Directory");
    EXPECT_EQ(CountLines(lines, "The Table Directory"), 2);
    EXPECT_EQ(CountLines(lines, "Check Sum is 0x0 (0 is correct.)"), 2);
    EXPECT_EQ(CountLines(lines, "Ready"), 1);
    ASSERT_EQ(w.analysis.fonts.size(), 2u);
    EXPECT_NE(w.analysis.fonts[0].trueAdjustment, w.analysis.fonts[1].trueAdjustment);
    std::vector<std::string> truths;
    for (const auto& line : lines)
      if (line.rfind("True checkSumAdjustment", 0) == 0) truths.push_back(line);
    EXPECT_EQ(truths, (std::vector<std::string>{
                          F("True checkSumAdjustment (TCSAJ) should be 0x%x", w.analysis.fonts[0].trueAdjustment),
                          F("True checkSumAdjustment (TCSAJ) should be 0x%x", w.analysis.fonts[1].trueAdjustment)}));
  }
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("pair.ttf", ttc)));
  auto lines = w.log.Lines();
  EXPECT_EQ(lines[1], "The Table Directory");
  EXPECT_EQ(lines[2], "  sfnt version = 29812.25446");
}

TEST(Report, DumpFieldsAndNameConversion) {
  Bytes os2 = testsupport::MakeOs2();
  os2[72] = 0xFF, os2[73] = 0xF6;  // sTypoLineGap -10
  Bytes cmap = {0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 28, 0, 1, 0, 0, 0, 0, 0, 28, 0, 3, 0, 10, 0, 0, 0, 28, 0, 6, 0, 0};
  Bytes long_(3000, 'x');
  Bytes font = FontBuilder()
                   .AddTable("OS/2", os2).AddTable("hhea", testsupport::MakeHhea()).AddTable("cmap", cmap)
                   .AddTable("name", testsupport::MakeName({
                                         {3, 1, 0x411, 1, {0x00, 0x5C, 0xFF, 0x3C, 0x00, 0x7E, 0x30, 0x42, 0x00, 0x41}},
                                         {0, 3, 0, 1, {0x00, 0x41, 0x00, 0x42}},
                                         {1, 1, 11, 1, {0x82, 0xA0, 0xFD, 0x41}},
                                         {1, 0, 0, 2, long_},
                                     }))
                   .Build();
  Workspace w;
  ASSERT_TRUE(w.Analyse(w.Write("dumps.ttf", font)));
  auto lines = w.log.Lines();
  EXPECT_EQ(LineStarting(lines, "OS/2 : version"), "OS/2 : version = 0x1, achVendID = TEST");
  EXPECT_EQ(LineStarting(lines, "sTypoLineGap"), "sTypoLineGap = 65526, usWinAscent = 1000, usWinDescent = 200, 0xc8");
  EXPECT_EQ(LineStarting(lines, "  panose.bProportion"),
            "  panose.bProportion = 5 (3=Modern, 4=Even Width, 9=Monospaced)");
  EXPECT_EQ(LineStarting(lines, "hhea : Ascender"), "hhea : Ascender = 800, Decender = -200, LineGap = 90");
  EXPECT_EQ(LineStarting(lines, "cmap : version"), "cmap : version = 0x0, number of tables = 3");
  std::vector<std::string> cmapLines;
  for (const auto& line : lines)
    if (line.rfind("cmap_entry", 0) == 0) cmapLines.push_back(line);
  EXPECT_EQ(cmapLines, (std::vector<std::string>{
                           "cmap_entry : PlatformID = 0 (Unknown), encodingID = 3 (Unknown), subTblOffset = 28",
                           "cmap_entry : PlatformID = 1 (Macintoch), encodingID = 0 (Unknown), subTblOffset = 28",
                           "cmap_entry : PlatformID = 3 (Microsoft), encodingID = 10 (Unknown), subTblOffset = 28"}));
  EXPECT_EQ(CountLines(lines, "  format = 6"), 3);

  std::vector<std::string> names;
  for (const auto& line : lines)
    if (line.rfind("    NameOffset", 0) == 0) names.push_back(line.substr(line.find("NameString = ") + 13));
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[0], "\x81\x5F  \x82\xA0" "A");  // U+005C, U+FF3C, U+007E, U+3042, A
  EXPECT_EQ(names[1], "");                       // platform 0: raw bytes, a zero first
  EXPECT_EQ(names[2], "\x82\xA0 A");             // Mac Japanese: 0xFD shows as a space
  // 2,048 bytes read, the block cut at 1,023 characters, its line end lost.
  size_t start = w.log.text().find("    NameOffset = 0x", w.log.text().find("\x82\xA0 A"));
  std::string cut = w.log.text().substr(start, 1023);
  EXPECT_EQ(cut.substr(cut.size() - 10), std::string(10, 'x'));
  EXPECT_EQ(w.log.text().substr(start + 1023, 4), "--\r\n");
}

TEST(Report, FilesThatEndTooEarly) {
  Workspace w;
  // hhea cut inside its ascender: the missing bytes read as zero.
  Bytes font = FontBuilder().AddTable("hhea", testsupport::MakeHhea()).Build();
  font.resize(12 + 16 + 5);
  ASSERT_TRUE(w.Analyse(w.Write("cut.ttf", font)));
  auto lines = w.log.Lines();
  EXPECT_EQ(LineStarting(lines, "hhea : Ascender"), "hhea : Ascender = 768, Decender = 0, LineGap = 0");
  EXPECT_EQ(LineStarting(lines, "  advanceWidthMax"), "  advanceWidthMax = 0, numberOfHMetrics = 0");

  // A name table claiming 65,535 records reports those the file holds.
  Bytes name = testsupport::MakeName({{1, 0, 0, 1, testsupport::AsciiBytes("ab")}});
  name[2] = name[3] = 0xFF;
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("names.ttf", FontBuilder().AddTable("name", name).Build())));
  lines = w.log.Lines();
  EXPECT_EQ(CountLines(lines, "name_record"), 2);
  EXPECT_EQ(LineStarting(lines, "name : the file"), "name : the file ends after 2 of 65535 records.");

  // A directory of 65,535 entries in a 60-byte file.
  Bytes directory = FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).Build();
  directory[4] = directory[5] = 0xFF;
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("directory.ttf", directory)));
  lines = w.log.Lines();
  EXPECT_EQ(LineStarting(lines, "The file ends inside"),
            "The file ends inside the table directory: 3 of 65535 entries are listed.");
  EXPECT_EQ(editor::ReadTableCount(w.dir.path()), 3u);

  // A collection header claiming 2^31 fonts.
  Bytes ttc = testsupport::BuildCollection({testsupport::SampleFont()}, false);
  ttc[8] = 0x7F, ttc[9] = ttc[10] = ttc[11] = 0xFF;
  ttc.resize(40);
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Write("many.ttc", ttc)));
  lines = w.log.Lines();
  EXPECT_EQ(lines[1], "ttc table, tag = ttcf, version = 0x10000, count = 2147483647");
  EXPECT_EQ(LineStarting(lines, "The file ends after"), "The file ends after 7 of the 2147483647 font offsets.");
  EXPECT_EQ(CountLines(lines, "The Table Directory"), 7);
  EXPECT_EQ(lines.back(), "--");
}

TEST(Report, FontOrLibraryMissing) {
  Workspace w;
  std::string missing = w.Path("missing.ttf");
  EXPECT_FALSE(w.Analyse(missing));
  EXPECT_EQ(w.messages.lines(), std::vector<std::string>{"ERROR: Function CreateFile(" + missing + ") has an error at 2!! 2"});
  EXPECT_EQ(w.log.text(), "");
  EXPECT_TRUE(w.analysis.fonts.empty());

  Workspace x;
  std::string ttc = x.Write("two.ttc", testsupport::BuildCollection({testsupport::SampleFont()}, false));
  EXPECT_FALSE(x.Analyse(ttc, "libnosuchsumkit.so"));
  EXPECT_EQ(x.messages.lines(), std::vector<std::string>{"LoadLibrary Error: Could not load libnosuchsumkit.so"});
  EXPECT_EQ(x.log.Lines(), (std::vector<std::string>{"", "ttc table, tag = ttcf, version = 0x10000, count = 1",
                                                      "ttc table directory, offset = 0x10, 16", "--"}));
  EXPECT_FALSE(testsupport::Exists(x.dir.File("Quillet.ini")));
}

}  // namespace
