// The table editor's report and editing commands, and the checksum library
// behind them, on fonts and collections that are cut short, point past their
// end or wrap 32 bits, or hold duplicated and overlapping tables. The report
// always reaches "Ready"; an editing command either writes a complete output
// or none; the font that is read and files that exist are never touched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/badinput/bad_files.h"
#include "tests/badinput/program_box.h"
#include "tests/support/reasons.h"

namespace badinput {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

size_t CountOf(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Reports a file and checks what every report of a readable file shows.
ProgramRun Report(ProgramBox& box, const std::string& name, const Bytes& bytes) {
  box.Put(name, bytes);
  ProgramRun run = box.Run("quillet", {"--report", name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.out.ends_with("Ready\n--\n")) << run.out;
  EXPECT_EQ(box.Get(name), bytes) << "the font that is read is never written";
  return run;
}

TEST(FontReport, EveryCutOfTheFontReportsToReady) {
  Bytes font = SampleFontBytes();
  for (const Cut& cut : FontCuts(font)) {
    SCOPED_TRACE(cut.where);
    ProgramBox box;
    ProgramRun run = Report(box, "cut.ttf", FirstBytes(font, cut.size));
    if (cut.size >= 6 && cut.size < 12 + 16 * 8)
      EXPECT_THAT(run.out, HasSubstr("The file ends inside the table directory: "));
    else
      EXPECT_THAT(run.out, Not(HasSubstr("The file ends inside")));
  }
}

TEST(FontReport, EmptyFilesAreFontsWithoutTables) {
  ProgramBox box;
  ProgramRun single = Report(box, "empty.ttf", {});
  EXPECT_THAT(single.out, HasSubstr("Number of tables = 0"));
  ProgramRun collection = Report(box, "empty.ttc", {});
  EXPECT_THAT(collection.out, HasSubstr("ttc table, tag = "));
  EXPECT_THAT(collection.out, HasSubstr("count = 0"));
}

TEST(FontReport, OffsetsAndLengthsPastTheEndSumAsZero) {
  Bytes font = SampleFontBytes();
  size_t post = EntryIndex(font, "post");
  struct Case {
    const char* what;
    uint32_t offset, length;
  };
  for (const Case& c : {Case{"offset past the end", 0x10000, 16}, Case{"offset + length wraps", 0xFFFFFFF0, 0x20},
                        Case{"length 0xFFFFFFFF", 0, 0xFFFFFFFF}, Case{"both at the top", 0xFFFFFFFF, 0xFFFFFFFF}}) {
    SCOPED_TRACE(c.what);
    ProgramBox box;
    Bytes bent = WithEntry(font, post, c.offset, c.length);
    ProgramRun run = Report(box, "far.ttf", bent);
    char line[128];
    std::snprintf(line, sizeof line, "post,\t0x%08x,\t0x%08x,\t0x%08x,\t0x%08x",
                  testsupport::ReadEntries(font)[post].checkSum, c.offset, c.length,
                  c.offset == 0 ? testsupport::WholeFileSum(bent) : 0u);
    EXPECT_THAT(run.out, HasSubstr(line));
  }
}

TEST(FontReport, HugeTableCountsStopAtTheEndOfTheFile) {
  ProgramBox box;
  ProgramRun run = Report(box, "many.ttf", WithNumTables(SampleFontBytes(), 0xFFFF));
  EXPECT_THAT(run.out, HasSubstr("Number of tables = 65535"));
  EXPECT_THAT(run.out, HasSubstr("of 65535 entries are listed."));
  // The table list holds only the entries that were there.
  std::string settings = testsupport::ReadText(box.Bin("Quillet.ini"));
  EXPECT_THAT(settings, Not(HasSubstr("Number_Of_Tables=65535")));
}

TEST(FontReport, CollectionOfFFFFFFFFFontsReportsTheOffsetsThatAreThere) {
  // Every 4 bytes after the header read as a font offset, and no more: the
  // count from the file never drives the loop past the end.
  Bytes collection = HugeCountCollection();
  size_t offsets = (collection.size() - 12 + 3) / 4;
  ProgramBox box;
  ProgramRun run = Report(box, "huge.ttc", collection);
  EXPECT_THAT(run.out, HasSubstr("count = -1"));
  EXPECT_THAT(run.out, HasSubstr("ttc table directory, offset = 0x14, 20"));
  EXPECT_THAT(run.out, HasSubstr("The file ends after " + std::to_string(offsets) + " of the 4294967295 font offsets."));
  // A repeated offset is the same font, reported once.
  EXPECT_EQ(CountOf(run.out, "The Table Directory") + CountOf(run.out, ", reported above."), offsets);
  // The two real fonts among them are dumped.
  EXPECT_GE(CountOf(run.out, "unitsPerEm = 2048"), 2u);
}

TEST(FontReport, CollectionOffsetsPastTheEndReportEmptyFonts) {
  Bytes collection = HugeCountCollection();
  collection[8] = collection[9] = collection[10] = 0, collection[11] = 2;  // numFonts 2
  collection[16] = collection[17] = collection[18] = collection[19] = 0xFF;  // the second font at 0xFFFFFFFF
  ProgramBox box;
  ProgramRun run = Report(box, "far.ttc", collection);
  EXPECT_THAT(run.out, HasSubstr("ttc table directory, offset = 0xffffffff, -1"));
  EXPECT_EQ(CountOf(run.out, "The Table Directory"), 2u);
  EXPECT_THAT(run.out, HasSubstr("Number of tables = 0"));
}

TEST(FontReport, DuplicatedTablesAreDumpedOnceAndOverlappingOnesEach) {
  Bytes font = SampleFontBytes();
  std::vector<testsupport::EntryView> entries = testsupport::ReadEntries(font);
  size_t name = EntryIndex(font, "name"), post = EntryIndex(font, "post");
  Bytes duplicated = WithEntry(WithTag(font, post, "name"), post, entries[name].offset, entries[name].length);
  Bytes overlapping = WithEntry(font, post, entries[name].offset + 2, entries[name].length);
  Bytes onDirectory = WithEntry(font, post, 0, 12 + 16 * 8);
  for (const Bytes* bytes : {&duplicated, &overlapping, &onDirectory}) {
    ProgramBox box;
    ProgramRun run = Report(box, "odd.ttf", *bytes);
    EXPECT_EQ(CountOf(run.out, "name : number of records = 4"), 1u);
    EXPECT_EQ(CountOf(run.out, "; not dumped again."), bytes == &duplicated ? 1u : 0u);
  }
}

TEST(FontReport, DumpsStopAtTheEndOfTheFile) {
  // A name table of 5461 records (more than any name table can address) is
  // dumped record by record; a cmap whose subtables lie past the end shows
  // their format as 0; counts beyond the file are cut to it.
  ProgramBox box;
  ProgramRun names = Report(box, "names.ttf", FontWithNameTable(NameTableOfRecords(5461)));
  EXPECT_THAT(names.out, HasSubstr("name : number of records = 5461"));
  EXPECT_EQ(CountOf(names.out, "name_record : "), 5461u);

  testsupport::FontBuilder cmapFont;
  cmapFont.AddTable("head", testsupport::MakeHead()).AddTable("cmap", CmapWithRecordOffset(0xFFFFFFF0));
  ProgramRun cmap = Report(box, "cmap.ttf", cmapFont.Build());
  EXPECT_THAT(cmap.out, HasSubstr("subTblOffset = 4294967280\n  format = 0"));

  Bytes bigCount = NameTableOfRecords(3);
  bigCount[2] = bigCount[3] = 0xFF;
  ProgramRun cut = Report(box, "cut.ttf", FontWithNameTable(bigCount));
  EXPECT_THAT(cut.out, HasSubstr("name : the file ends after "));
}

TEST(FontReport, AMissingFontIsAMessageAndExit1) {
  ProgramBox box;
  ProgramRun run = box.Run("quillet", {"--report", "missing.ttf"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERROR: Function CreateFile(missing.ttf) has an error at 2!! 2" + testsupport::MissingFileNote() + "\n");
}

// --- editing commands ---------------------------------------------------

// Runs an editing command whose output must not appear.
void ExpectRefused(ProgramBox& box, const std::vector<std::string>& args, const std::string& line) {
  std::string font = args[1];
  Bytes before = box.Get(font);
  ProgramRun run = box.Run("quillet", args);
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_THAT(run.out + run.err, HasSubstr(line));
  EXPECT_FALSE(box.Has(args.back())) << "a refused command leaves no output";
  EXPECT_EQ(box.Get(font), before);
}

TEST(EditingCommands, CutDirectoriesAreRefusedByAddAndDelete) {
  Bytes font = SampleFontBytes();
  for (size_t size : {size_t{20}, size_t{12 + 16 * 5 + 3}}) {
    SCOPED_TRACE(size);
    ProgramBox box;
    box.Put("cut.ttf", FirstBytes(font, size));
    box.Put("table.bin", Bytes{1, 2, 3, 4});
    // The table list holds only the entries that were there, so it is out of
    // step with numTables.
    ExpectRefused(box, {"--add", "cut.ttf", "zzzz", "table.bin", "out.ttf"}, "Tables cannot be added to it");
    ExpectRefused(box, {"--delete", "cut.ttf", "OS/2", "out.ttf"}, "Tables cannot be deleted from it");
  }
}

TEST(EditingCommands, CollectionsAreRefusedByAddAndDelete) {
  ProgramBox box;
  box.Put("two.ttc", HugeCountCollection());
  box.Put("table.bin", Bytes{1, 2, 3, 4});
  ExpectRefused(box, {"--add", "two.ttc", "zzzz", "table.bin", "out.ttf"}, "is a TrueType collection. Tables cannot be added to a collection.");
}

TEST(EditingCommands, DuplicatedTagsAreNotDeletedAndNotAddedAgain) {
  Bytes font = SampleFontBytes();
  ProgramBox box;
  box.Put("dup.ttf", WithTag(font, EntryIndex(font, "post"), "name"));
  box.Put("table.bin", Bytes{1, 2, 3, 4});
  ExpectRefused(box, {"--delete", "dup.ttf", "name", "out.ttf"}, "The font holds table name 2 times, not once. Nothing is deleted.");
  ExpectRefused(box, {"--add", "dup.ttf", "head", "table.bin", "out.ttf"}, "Error: The font has the same table name.");
}

TEST(EditingCommands, ExportCopiesOnlyTheBytesThatAreThere) {
  Bytes font = SampleFontBytes();
  size_t post = EntryIndex(font, "post");
  struct Case {
    uint32_t offset, length;
    size_t present;
  };
  for (const Case& c : {Case{static_cast<uint32_t>(font.size() - 8), 100, 8}, Case{0xFFFFFFF0, 0x20, 0},
                        Case{0, 0xFFFFFFFF, font.size()}}) {
    SCOPED_TRACE(c.offset);
    ProgramBox box;
    Bytes bent = WithEntry(font, post, c.offset, c.length);
    box.Put("far.ttf", bent);
    ProgramRun run = box.Run("quillet", {"--export", "far.ttf", "post", "far.post"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_THAT(run.out, HasSubstr("Only " + std::to_string(c.present) + " of the " + std::to_string(c.length) +
                                   " bytes of table post lie inside the font file."));
    Bytes expected(bent.begin() + std::min<size_t>(c.offset, bent.size()),
                   bent.begin() + std::min<size_t>(c.offset, bent.size()) + c.present);
    EXPECT_EQ(box.Get("far.post"), expected);
  }
}

TEST(EditingCommands, RewritesCutTablesToWhatIsThere) {
  // A table whose length runs past the end keeps the bytes that are there,
  // and its entry says so; the new font is complete.
  Bytes font = SampleFontBytes();
  size_t post = EntryIndex(font, "post");
  ProgramBox box;
  box.Put("far.ttf", WithEntry(font, post, static_cast<uint32_t>(font.size() - 8), 0xFFFFFFFF));
  ProgramRun run = box.Run("quillet", {"--delete", "far.ttf", "name", "out.ttf"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_THAT(run.out, HasSubstr("Table post is cut short by the end of its file: 8 of 4294967295 bytes are there."));
  std::vector<testsupport::EntryView> entries = testsupport::ReadEntries(box.Get("out.ttf"));
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries.back().tag, "post");
  EXPECT_EQ(entries.back().length, 8u);
  EXPECT_EQ(entries.back().offset + 8, box.Get("out.ttf").size());
}

TEST(EditingCommands, RecalcRefusesTablesPastTheEndAndWritesNothing) {
  Bytes font = SampleFontBytes();
  {
    ProgramBox box;
    box.Put("cut.ttf", FirstBytes(font, 40));
    ProgramRun run = box.Run("quillet", {"--recalc", "cut.ttf", "out.ttf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("The table directory at 0x0 runs past the end of the file."));
    EXPECT_THAT(run.out, HasSubstr("cannot be recalculated; nothing is written."));
    EXPECT_THAT(run.out, Not(HasSubstr("Done")));
    EXPECT_FALSE(box.Has("out.ttf"));
  }
  {
    ProgramBox box;
    Bytes bent = WithEntry(font, EntryIndex(font, "head"), static_cast<uint32_t>(font.size() - 20), 54);
    box.Put("head.ttf", bent);
    ProgramRun run = box.Run("quillet", {"--recalc", "head.ttf", "out.ttf"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("Table head (offset "));
    EXPECT_THAT(run.out, HasSubstr("runs past the end of the file"));
    EXPECT_FALSE(box.Has("out.ttf"));
  }
}

TEST(EditingCommands, NoCommandReplacesAFileThatExists) {
  Bytes font = SampleFontBytes();
  const Bytes kept = {'k', 'e', 'p', 't'};
  std::vector<std::vector<std::string>> commands = {{"--recalc", "font.ttf", "out.ttf"},
                                                    {"--export", "font.ttf", "name", "out.ttf"},
                                                    {"--add", "font.ttf", "zzzz", "table.bin", "out.ttf"},
                                                    {"--delete", "font.ttf", "post", "out.ttf"},
                                                    {"--recalc", "font.ttf", "font.ttf"}};
  for (const std::vector<std::string>& command : commands) {
    SCOPED_TRACE(command[0] + " " + command.back());
    ProgramBox box;
    box.Put("font.ttf", font);
    box.Put("table.bin", Bytes{1, 2, 3, 4});
    if (command.back() != "font.ttf") box.Put("out.ttf", kept);
    ProgramRun run = box.Run("quillet", command);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(box.Get("font.ttf"), font);
    if (command.back() != "font.ttf") {
      EXPECT_EQ(box.Get("out.ttf"), kept);
    }
    EXPECT_EQ(box.WorkFiles().size(), command.back() == "font.ttf" ? 2u : 3u) << "no work file is left behind";
  }
}

}  // namespace
}  // namespace badinput
