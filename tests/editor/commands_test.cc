// Recalculation, add, delete and export on built fonts: the bytes they
// write, the log lines that end them, and failures that leave no file.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "core/sfnt/checksum.h"
#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "editor/edit/recalc.h"
#include "editor/model/table_list.h"
#include "tests/editor/editor_test_support.h"
#include "tests/support/reasons.h"

namespace {

using editortest::LineStarting;
using editortest::Workspace;
using testsupport::Bytes;
using testsupport::FontBuilder;

Bytes Slice(const Bytes& b, uint32_t offset, uint32_t length) {
  return Bytes(b.begin() + offset, b.begin() + offset + length);
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every table of `font` by tag, as its directory says.
std::map<std::string, Bytes> TablesOf(const Bytes& font) {
  std::map<std::string, Bytes> tables;
  for (const auto& e : testsupport::ReadEntries(font)) tables[e.tag] = Slice(font, e.offset, e.length);
  return tables;
}

TEST(Recalc, RepairsAndIsRepeatable) {
  Workspace w;
  Bytes good = testsupport::SampleFont().Build();
  // A consistent font comes out byte for byte as it went in.
  ASSERT_TRUE(w.Analyse(w.Write("good.ttf", good)));
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("good-copy.ttf"), w.log));
  EXPECT_EQ(testsupport::ReadBytes(w.Path("good-copy.ttf")), good);

  Bytes bad = testsupport::SampleFont().SkewChecksum("name", 5).SkewChecksum("head", 1).SkewAdjustment(77).Build();
  ASSERT_TRUE(w.Analyse(w.Write("bad.ttf", bad)));
  w.log.Clear();
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("a.ttf"), w.log));
  auto lines = w.log.Lines();
  EXPECT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("ulConstHead = 0x", 0), 0u);
  EXPECT_EQ(lines[3], "Match head!!");
  EXPECT_EQ(lines[4], "Done");
  Bytes fixed = testsupport::ReadBytes(w.Path("a.ttf"));
  EXPECT_EQ(fixed, good);
  EXPECT_EQ(testsupport::WholeFileSum(fixed), core::kWholeFontMagic);
  // Again from the same analysis: the same file; the analysis is untouched.
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("b.ttf"), w.log));
  EXPECT_EQ(testsupport::ReadBytes(w.Path("b.ttf")), fixed);
  EXPECT_EQ(testsupport::ReadBytes(w.Path("bad.ttf")), bad);
}

TEST(Recalc, CollectionsHeadlessFontsAndOddHeads) {
  Workspace w;
  FontBuilder second = testsupport::SampleFont();
  second.AddTable("vhea", testsupport::MakeHhea());
  Bytes ttc = testsupport::BuildCollection({testsupport::SampleFont(), second.SkewAdjustment(3)}, true);
  ASSERT_TRUE(w.Analyse(w.Write("pair.ttc", ttc)));
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("fixed.ttc"), w.log));
  w.log.Clear();
  ASSERT_TRUE(w.Analyse(w.Path("fixed.ttc")));
  EXPECT_EQ(editortest::CountLines(w.log.Lines(), "Check Sum is 0x0 (0 is correct.)"), 2);

  // No head table: the directory is still set right, the head steps skipped.
  Bytes headless = FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).SkewChecksum("maxp", 9).Build();
  ASSERT_TRUE(w.Analyse(w.Write("nohead.ttf", headless)));
  w.log.Clear();
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("nohead-fixed.ttf"), w.log));
  EXPECT_EQ(w.log.Lines()[0], "The font at 0x0 has no head table; its checkSumAdjustment is not set.");
  EXPECT_EQ(testsupport::ReadEntries(testsupport::ReadBytes(w.Path("nohead-fixed.ttf")))[0].checkSum,
            core::TableCheckSumOfBytes(testsupport::MakeMaxp()));

  // A glyph data format that is not 0 stays out of the head sum.
  Bytes head = testsupport::MakeHead();
  head[53] = 1;
  Bytes odd = FontBuilder().AddTable("head", head).AddTable("maxp", testsupport::MakeMaxp()).NoChecksums().Build();
  ASSERT_TRUE(w.Analyse(w.Write("odd.ttf", odd)));
  ASSERT_TRUE(editor::RecalcCheckSum(&w.analysis, w.Path("odd-fixed.ttf"), w.log));
  Bytes fixed = testsupport::ReadBytes(w.Path("odd-fixed.ttf"));
  EXPECT_EQ(testsupport::WholeFileSum(fixed), core::kWholeFontMagic + 0x00010000u);
}

TEST(Recalc, FailuresLeaveNothing) {
  Workspace w;
  editor::FontAnalysis none;
  EXPECT_FALSE(editor::RecalcCheckSum(nullptr, w.Path("x.ttf"), w.log));
  EXPECT_FALSE(editor::RecalcCheckSum(&none, w.Path("x.ttf"), w.log));
  EXPECT_EQ(w.log.text(), "Please open a ttf file.\r\n--\r\nPlease open a ttf file.\r\n--\r\n");
  std::string font = w.Write("s.ttf", testsupport::SampleFont().Build());
  ASSERT_TRUE(w.Analyse(font));
  testsupport::WriteText(w.Path("taken.ttf"), "keep");
  w.log.Clear();
  EXPECT_FALSE(editor::RecalcCheckSum(&w.analysis, w.Path("taken.ttf"), w.log));
  EXPECT_EQ(w.log.text(), "Failed in copying file from\r\n  " + font + " to\r\n  " + w.Path("taken.ttf") + "\r\n" + w.Path("taken.ttf") + " exists already.\r\n--\r\n");
  EXPECT_EQ(testsupport::ReadText(w.Path("taken.ttf")), "keep");
  // An analysis that read no directory writes nothing.
  editor::FontAnalysis empty;
  empty.fontPath = font;
  EXPECT_FALSE(editor::RecalcCheckSum(&empty, w.Path("y.ttf"), w.log));
  EXPECT_FALSE(testsupport::Exists(w.Path("y.ttf")));
  // Chooser cancelled: the line names the open font.
  shell::ScriptedChooser cancel({});
  w.log.Clear();
  EXPECT_FALSE(editor::RecalcCommand(&w.analysis, font, cancel, w.log));
  EXPECT_EQ(w.log.text(), "Failed in opening TrueType Font \"" + font + "\".\r\n--\r\n");
  EXPECT_EQ(cancel.last().proposedName, w.Path("News.ttf"));
  std::vector<std::string> files = testsupport::ListFolder(w.dir.path());
  EXPECT_EQ(files, (std::vector<std::string>{"Quillet.ini", "s.ttf", "taken.ttf"}));
}

class EditCommands : public ::testing::Test {
 protected:
  void Open(const Bytes& font) {
    fontBytes_ = font;
    fontPath_ = w_.Write("Sample.ttf", font);
    ASSERT_TRUE(w_.Analyse(fontPath_));
    w_.log.Clear();
  }
  shell::CommandOutcome Add(const std::string& tag, const Bytes& table, const std::string& out) {
    std::string tablePath = w_.Write("table.bin", table);
    shell::ScriptedChooser chooser({w_.Path(out)});
    return editor::AddTableCommand(w_.analysis, {tag, tablePath, editor::ReadTableCount(w_.dir.path())}, chooser,
                                   w_.log, w_.messages);
  }
  shell::CommandOutcome Delete(const std::string& tag, const std::string& out) {
    shell::ScriptedChooser chooser({w_.Path(out)});
    return editor::DeleteTableCommand(w_.analysis, editor::ReadTableCount(w_.dir.path()), tag, chooser, w_.log,
                                      w_.messages);
  }
  shell::CommandOutcome Export(const std::string& tag, const std::string& out) {
    shell::ScriptedChooser chooser({w_.Path(out)});
    auto outcome = editor::ExportTableCommand(w_.analysis, tag, chooser, w_.log, w_.messages);
    proposed_ = chooser.last().proposedName;
    return outcome;
  }
  Bytes Output(const std::string& name) { return testsupport::ReadBytes(w_.Path(name)); }

  Workspace w_;
  Bytes fontBytes_;
  std::string fontPath_;
  std::string proposed_;
};

uint64_t Pad4(uint64_t at) { return (at + 3) & ~uint64_t{3}; }

TEST_F(EditCommands, AddPlacesTheEntryInTagOrderAndAlignsTables) {
  Open(FontBuilder().AddTable("cmap", testsupport::MakeCmap({0x41})).AddTable("head", testsupport::MakeHead())
           .AddTable("prep", {1, 2, 3}).Build());
  auto before = TablesOf(fontBytes_);
  ASSERT_TRUE(Add("OS/2", testsupport::MakeOs2(), "first.ttf").done());
  EXPECT_EQ(w_.log.text(), "Add OS/2 table.\r\n--\r\n");
  Bytes out = Output("first.ttf");
  auto entries = testsupport::ReadEntries(out);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].tag, "OS/2");
  EXPECT_EQ(entries[0].offset, 12u + 16 * 4);
  EXPECT_EQ(entries[0].checkSum, 0u);
  // Search fields for four tables; every table at a 4-byte boundary, with
  // zero fill after tables of odd lengths and at the end.
  EXPECT_EQ(Slice(out, 6, 6), (Bytes{0, 64, 0, 2, 0, 0}));
  for (size_t i = 1; i < entries.size(); ++i) {
    uint64_t end = entries[i - 1].offset + entries[i - 1].length;
    EXPECT_EQ(entries[i].offset, Pad4(end));
    EXPECT_EQ(Slice(out, end, entries[i].offset - end), Bytes(entries[i].offset - end, 0));
  }
  EXPECT_EQ(out.size(), Pad4(entries.back().offset + 3));
  EXPECT_EQ(out.back(), 0);
  auto after = TablesOf(out);
  for (auto& [tag, bytes] : before) EXPECT_EQ(after[tag], bytes) << tag;
  EXPECT_EQ(testsupport::ReadEntries(out)[1].checkSum, testsupport::ReadEntries(fontBytes_)[0].checkSum);

  // A tag that sorts last, typed short and padded; an empty table file.
  ASSERT_TRUE(Add("zz", {}, "last.ttf").done());
  entries = testsupport::ReadEntries(Output("last.ttf"));
  EXPECT_EQ(entries.back().tag, "zz  ");
  EXPECT_EQ(entries.back().length, 0u);
  EXPECT_EQ(entries.back().offset, Output("last.ttf").size());
}

TEST_F(EditCommands, AddRefusals) {
  Open(testsupport::SampleFont().Build());
  // A clash keeps the dialog open and leaves no file, so the next try can use the name.
  auto outcome = Add("maxp", {1}, "clash.ttf");
  EXPECT_EQ(outcome.dialog, shell::DialogStep::kStayOpen);
  EXPECT_EQ(w_.messages.lines(), std::vector<std::string>{"Error: The font has the same table name."});
  EXPECT_FALSE(testsupport::Exists(w_.Path("clash.ttf")));
  ASSERT_TRUE(Add("maxq", {1}, "clash.ttf").done());

  // The output exists already.
  w_.log.Clear();
  EXPECT_FALSE(Add("maxr", {1}, "clash.ttf").done());
  EXPECT_EQ(w_.log.text(), "Function CreateFile(" + w_.Path("clash.ttf") + ") has an error at 1!! 17 File exist?" + testsupport::ExistsNote() + "\r\n--\r\n");

  // The table file cannot be opened: the dialog stays open.
  shell::ScriptedChooser chooser({w_.Path("never.ttf"), w_.Path("never.ttf")});
  outcome = editor::AddTableCommand(w_.analysis, {"abcd", w_.Path("none.bin"), 8}, chooser, w_.log, w_.messages);
  EXPECT_EQ(outcome.dialog, shell::DialogStep::kStayOpen);
  EXPECT_EQ(w_.messages.lines().back(), "ERROR: Function CreateFile(" + w_.Path("none.bin") + ") has an error 2.");
  EXPECT_EQ(chooser.asked(), 0);

  // A table list out of step with the font, and a collection.
  w_.log.Clear();
  std::string tablePath = w_.Write("t.bin", {1});
  EXPECT_FALSE(editor::AddTableCommand(w_.analysis, {"abcd", tablePath, 3}, chooser, w_.log, w_.messages).done());
  EXPECT_NE(w_.log.text().find("The table list holds 3 tables, but"), std::string::npos);
  std::string ttc = w_.Write("c.ttc", testsupport::BuildCollection({testsupport::SampleFont()}, false));
  editor::FontAnalysis collection;
  collection.fontPath = ttc;
  EXPECT_FALSE(editor::AddTableCommand(collection, {"abcd", tablePath, 8}, chooser, w_.log, w_.messages).done());
  EXPECT_NE(w_.log.text().find(ttc + " is a TrueType collection."), std::string::npos);
  EXPECT_FALSE(testsupport::Exists(w_.Path("never.ttf")));
}

TEST_F(EditCommands, AddStopsATableAtTheEndOfTheFile) {
  Bytes font = FontBuilder().AddTable("head", testsupport::MakeHead()).AddTable("post", Bytes(32, 7)).Build();
  testsupport::PatchEntry(font, 1, testsupport::ReadEntries(font)[1].offset, 4000);
  Open(font);
  ASSERT_TRUE(Add("name", {5, 5}, "cut.ttf").done());
  auto entries = testsupport::ReadEntries(Output("cut.ttf"));
  EXPECT_EQ(entries[2].tag, "post");
  EXPECT_EQ(entries[2].length, 32u);
  EXPECT_EQ(LineStarting(w_.log.Lines(), "Table post"), "Table post is cut short by the end of its file: 32 of 4000 bytes are there.");
}

TEST_F(EditCommands, DeleteKeepsOrderAndRefusesAmbiguity) {
  // Tables stored in another order than their directory come out in directory order.
  Bytes font = FontBuilder().AddTable("head", testsupport::MakeHead()).AddTable("maxp", testsupport::MakeMaxp())
                   .AddTable("post", {1, 2, 3, 4, 5}).Build();
  ASSERT_EQ(testsupport::ReadEntries(font)[1].offset, 60u + 56);
  Bytes stored = Slice(font, 0, 60) + Slice(font, 116, 32) + Slice(font, 60, 56) + Slice(font, 148, 5);
  testsupport::PatchEntry(stored, 0, 92, 54);
  testsupport::PatchEntry(stored, 1, 60, 32);
  auto before = TablesOf(font);
  ASSERT_EQ(TablesOf(stored), before);
  Open(stored);
  ASSERT_TRUE(Delete("post", "nopost.ttf").done());
  EXPECT_EQ(w_.log.text(), "Delete post table.\r\n--\r\n");
  Bytes out = Output("nopost.ttf");
  auto entries = testsupport::ReadEntries(out);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(Slice(out, 6, 6), (Bytes{0, 32, 0, 1, 0, 0}));
  EXPECT_EQ(entries[0].offset, 12u + 32);
  EXPECT_EQ(entries[1].offset, 12u + 32 + 56);  // head's 54 bytes and two fill bytes
  EXPECT_EQ(TablesOf(out)["head"], before["head"]);
  EXPECT_EQ(TablesOf(out)["maxp"], before["maxp"]);

  // The only table of a one-table font: 12 bytes with numTables 0 and no search fields.
  Open(FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).Build());
  ASSERT_TRUE(Delete("maxp", "none.ttf").done());
  EXPECT_EQ(Output("none.ttf"), (Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  // A tag listed twice is not deleted; nothing is written.
  Open(FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).AddTable("maxp", {1}).Build());
  EXPECT_FALSE(Delete("maxp", "twice.ttf").done());
  EXPECT_EQ(w_.log.text(), "The font holds table maxp 2 times, not once. Nothing is deleted.\r\n--\r\n");
  EXPECT_FALSE(testsupport::Exists(w_.Path("twice.ttf")));
  shell::ScriptedChooser chooser({w_.Path("x")});
  w_.messages.Clear();
  EXPECT_FALSE(editor::DeleteTableCommand(w_.analysis, 2, std::nullopt, chooser, w_.log, w_.messages).done());
  EXPECT_EQ(w_.messages.lines(), std::vector<std::string>{"Information: No table is selected."});
}

TEST_F(EditCommands, ExportWritesExactlyTheTable) {
  Bytes odd(257);
  for (size_t i = 0; i < odd.size(); ++i) odd[i] = static_cast<uint8_t>(i * 7);
  Open(testsupport::SampleFont().AddTable("odd", odd).AddTable("zero", {}).Build());
  ASSERT_TRUE(Export("OS/2", "os2.bin").done());
  EXPECT_EQ(proposed_, w_.Path("NewSample.ttf.OS_2"));
  EXPECT_EQ(w_.log.text(), "Exported OS/2 table.\r\n--\r\n");
  EXPECT_EQ(Output("os2.bin"), TablesOf(fontBytes_)["OS/2"]);
  ASSERT_TRUE(Export("odd ", "odd.bin").done());
  EXPECT_EQ(Output("odd.bin"), odd);
  ASSERT_TRUE(Export("zero", "zero.bin").done());
  EXPECT_TRUE(testsupport::Exists(w_.Path("zero.bin")));
  EXPECT_TRUE(Output("zero.bin").empty());

  // An existing name is refused and left alone.
  w_.log.Clear();
  EXPECT_FALSE(Export("head", "odd.bin").done());
  EXPECT_EQ(w_.log.text(), "Function CreateFile(" + w_.Path("odd.bin") + ") has an error at 1!! 17" + testsupport::ExistsNote() + "\r\n--\r\n");
  EXPECT_EQ(Output("odd.bin"), odd);
  // The font is gone: nothing is left behind.
  std::remove(fontPath_.c_str());
  w_.log.Clear();
  EXPECT_FALSE(Export("head", "head.bin").done());
  EXPECT_EQ(w_.log.text(), "Function CreateFile(" + fontPath_ + ") has an error at 3!! 2" + testsupport::MissingFileNote() + "\r\n--\r\n");
  EXPECT_FALSE(testsupport::Exists(w_.Path("head.bin")));
  shell::ScriptedChooser cancel({});
  w_.log.Clear();
  editor::ExportTableCommand(w_.analysis, "OS/2", cancel, w_.log, w_.messages);
  EXPECT_EQ(w_.log.text(), "Failed in exporting OS/2 table.\r\n--\r\n");
}

// Another run rewrote Quillet.ini after the font was opened, so the dialogs
// offer that run's tags and count; the commands check them against the open
// font's analysis and write nothing when they disagree.
TEST_F(EditCommands, ChoicesFromAnotherRunsListAreCheckedAgainstTheOpenFont) {
  Open(FontBuilder().AddTable("head", testsupport::MakeHead()).AddTable("post", {1, 2, 3, 4, 5}).Build());
  editor::FontAnalysis open = w_.analysis;
  ASSERT_TRUE(w_.Analyse(w_.Write("Other.ttf", testsupport::SampleFont().Build())));
  w_.analysis = open;
  w_.log.Clear();
  const std::string font = fontPath_;

  EXPECT_FALSE(Export("OS/2", "os2.bin").done());
  EXPECT_EQ(w_.log.text(), "The table directory of " + font +
                               " holds no table OS/2. Nothing is exported; open the font again.\r\n--\r\n");
  // A tag both fonts hold comes from the open font's own place.
  ASSERT_TRUE(Export("post", "post.bin").done());
  EXPECT_EQ(Output("post.bin"), (Bytes{1, 2, 3, 4, 5}));

  // The dialogs' count is the other font's 8.
  w_.log.Clear();
  EXPECT_FALSE(Delete("post", "deleted.ttf").done());
  EXPECT_FALSE(Add("zz", {1}, "added.ttf").done());
  EXPECT_EQ(w_.log.Lines()[0], "The table list holds 8 tables, but " + font +
                                   " holds 2. Tables cannot be deleted from it; open it again.");
  EXPECT_EQ(w_.log.Lines()[2], "The table list holds 8 tables, but " + font +
                                   " holds 2. Tables cannot be added to it; open it again.");

  // An analysis that read no directory, and a tag the open font holds twice.
  editor::FontAnalysis unread;
  unread.fontPath = font;
  shell::ScriptedChooser chooser({w_.Path("unread.ttf")});
  w_.log.Clear();
  EXPECT_FALSE(editor::DeleteTableCommand(unread, 0, "post", chooser, w_.log, w_.messages).done());
  EXPECT_EQ(w_.log.text(), "The table directory of " + font +
                               " was not read when it was opened. Tables cannot be deleted from it; open it "
                               "again.\r\n--\r\n");
  Open(FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).AddTable("maxp", {1}).Build());
  EXPECT_FALSE(Export("maxp", "twice.bin").done());
  EXPECT_EQ(w_.log.text(), "The font holds table maxp 2 times, not once. Nothing is exported.\r\n--\r\n");
  for (const char* name : {"os2.bin", "deleted.ttf", "added.ttf", "unread.ttf", "twice.bin"})
    EXPECT_FALSE(testsupport::Exists(w_.Path(name))) << name;
}

}  // namespace
