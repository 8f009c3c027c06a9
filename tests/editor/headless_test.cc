// The quillet program's headless commands, run as a user runs them: a copy
// of the program and the checksum library in a folder of their own. Real
// fonts from the system are checked with fontTools as an independent reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/model/checksum_binding.h"
#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "tests/editor/editor_test_support.h"
#include "tests/support/reasons.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Bytes;

// fontTools as the judge: "check FONT" reads every table with checksum
// checking on and prints the whole-file sum; "export OUT FONT TAG" compares
// a table file with the table fontTools reads (last font of a collection);
// "tables NEW OLD TAGS" compares a rewritten font's tags and table bytes.
constexpr const char* kJudge = R"(import sys
from fontTools.ttLib import TTFont, TTCollection
from fontTools.ttLib.sfnt import calcChecksum
mode, args = sys.argv[1], sys.argv[2:]
if mode == "check":
    f = TTFont(args[0], checkChecksums=2, lazy=True)
    for tag in f.reader.keys():
        f.reader[tag]
    data = open(args[0], "rb").read()
    print(hex(calcChecksum(data + b"\0" * (-len(data) % 4))))
elif mode == "export":
    path = args[1]
    number = len(TTCollection(path).fonts) - 1 if path.lower().endswith(".ttc") else -1
    raw = TTFont(path, fontNumber=number, lazy=True).reader[args[2]]
    print("same" if open(args[0], "rb").read() == raw else "differ")
elif mode == "tables":
    new, old = TTFont(args[0], lazy=True).reader, TTFont(args[1], lazy=True).reader
    assert sorted(new.keys()) == sorted(args[2].split(",")), sorted(new.keys())
    assert all(new[t] == old[t] for t in new.keys() if t in old.keys())
    print("same")
)";

class Headless : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& name : {testsupport::ProgramFile("quillet"), std::string(editor::kChecksumLibraryName)})
      fs::copy_file(fs::path(testsupport::BinFolder()) / name, fs::path(dir_.path()) / name);
    testsupport::WriteText(dir_.File("judge.py"), kJudge);
  }
  testsupport::CommandResult Run(const std::string& arguments) {
    return testsupport::RunCommand("cd '" + dir_.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY ./quillet " + arguments);
  }
  std::string Judge(const std::string& arguments) {
    auto result = testsupport::RunCommand("cd '" + dir_.path() + "' && " + testsupport::FontToolsPython() + " judge.py " +
                                          arguments);
    return result.status == 0 ? result.out.substr(0, result.out.find('\n')) : "failed: " + result.err;
  }
  bool HaveFontTools() {
    return testsupport::RunCommand(testsupport::FontToolsPython() + " -c 'import fontTools'").status == 0;
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    testsupport::WriteBytes(dir_.File(name), bytes);
    return dir_.File(name);
  }

  testsupport::TempDir dir_;
};

TEST_F(Headless, ReportUsageAndFailures) {
  std::string font = Write("Sample.ttf", testsupport::SampleFont().Build());
  auto report = Run("--report Sample.ttf");
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_EQ(report.out.rfind("TrueType Font Sample.ttf is opened.\nInitializing...\nThe Table Directory\n", 0), 0u);
  EXPECT_TRUE(report.out.ends_with("\nCheck Sum is 0x0 (0 is correct.)\n--\nReady\n--\n"));
  EXPECT_EQ(report.out.find('\r'), std::string::npos);
  EXPECT_TRUE(testsupport::Exists(dir_.File("Quillet.ini")));

  for (const char* usage : {"", "--report", "--recalc Sample.ttf", "--bogus x"}) {
#if defined(_WIN32)
    // Without arguments the Windows program opens its window whenever Wine
    // has a desktop; its window tests drive that start.
    if (*usage == '\0') continue;
#endif
    auto result = Run(usage);
    EXPECT_EQ(result.status, 2) << usage;
    EXPECT_NE(result.err.find("quillet --report [--raw] FONT..."), std::string::npos) << usage;
  }
  EXPECT_EQ(Run("--add Sample.ttf abcde t.bin o.ttf").status, 2);
  auto missing = Run("--report none.ttf");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "ERROR: Function CreateFile(none.ttf) has an error at 2!! 2" + testsupport::MissingFileNote() + "\n");
  auto notListed = Run("--export Sample.ttf glyf out.bin");
  EXPECT_EQ(notListed.status, 1);
  EXPECT_FALSE(testsupport::Exists(dir_.File("out.bin")));
  // A table list that cannot be written is said on standard error with its
  // reason. It fails a report, whose work it is, and no other command: they
  // take their table from the analysis.
  fs::create_directory(dir_.File("Quillet.ini.d"));
  fs::rename(dir_.File("Quillet.ini"), dir_.File("Quillet.ini.old"));
  fs::rename(dir_.File("Quillet.ini.d"), dir_.File("Quillet.ini"));
  auto unlisted = Run("--export Sample.ttf head head.bin");
  EXPECT_EQ(unlisted.status, 0) << unlisted.err;
  EXPECT_NE(unlisted.err.find("ERROR: Could not write the table list into "), std::string::npos) << unlisted.err;
  EXPECT_NE(unlisted.err.find("Quillet.ini. (Is a directory)\n"), std::string::npos) << unlisted.err;
  auto unlistedReport = Run("--report Sample.ttf");
  EXPECT_EQ(unlistedReport.status, 1);
  EXPECT_NE(unlistedReport.err.find("Could not write the table list into"), std::string::npos);
  fs::remove(dir_.File("Quillet.ini"));
  fs::rename(dir_.File("Quillet.ini.old"), dir_.File("Quillet.ini"));
  auto taken = Run("--recalc Sample.ttf Sample.ttf");
  EXPECT_EQ(taken.status, 1);
  EXPECT_NE(taken.out.find("Failed in copying file from\n  Sample.ttf to\n  Sample.ttf\nSample.ttf exists already.\n--\n"), std::string::npos);

  fs::remove(dir_.File(editor::kChecksumLibraryName));
  auto noLibrary = Run("--recalc Sample.ttf fixed.ttf");
  EXPECT_EQ(noLibrary.status, 1);
  EXPECT_EQ(noLibrary.err, std::string("LoadLibrary Error: Could not load ") + editor::kChecksumLibraryName + "\n");
  EXPECT_EQ(noLibrary.out, "TrueType Font Sample.ttf is opened.\nInitializing...\n");
  EXPECT_FALSE(testsupport::Exists(dir_.File("fixed.ttf")));
}

TEST_F(Headless, RealFontsAgreeWithFontTools) {
  if (!HaveFontTools()) GTEST_SKIP() << "fontTools is not installed";
  int checked = 0;
  for (const char* system : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"}) {
    std::string path = testsupport::SystemFont(system);
    if (path.empty()) continue;
    ++checked;
    SCOPED_TRACE(path);
    Bytes font = testsupport::ReadBytes(path);
    std::string original = Write("original.ttf", font);
    // Damage two directory checksums and the head adjustment, then repair.
    auto entries = testsupport::ReadEntries(font);
    testsupport::PatchEntryChecksum(font, 0, entries[0].checkSum ^ 0xFF);
    testsupport::PatchEntryChecksum(font, entries.size() - 1, entries.back().checkSum + 1);
    for (const auto& e : entries)
      if (e.tag == "head") font[e.offset + 11] ^= 0x5A;
    Write("damaged.ttf", font);
    EXPECT_EQ(Judge("check damaged.ttf").rfind("failed", 0), 0u);
    auto recalc = Run("--recalc damaged.ttf fixed.ttf");
    ASSERT_EQ(recalc.status, 0) << recalc.err;
    EXPECT_EQ(Judge("check fixed.ttf"), "0xb1b0afba");

    for (const char* tag : {"head", "OS/2", "name", "cmap", "glyf"}) {
      std::string out = std::string("table-") + (tag[0] == 'O' ? "OS_2" : tag);
      ASSERT_EQ(Run("--export original.ttf " + std::string(tag) + " " + out).status, 0) << tag;
      EXPECT_EQ(Judge("export " + out + " original.ttf " + tag), "same") << tag;
    }
    ASSERT_EQ(Run("--delete original.ttf OS/2 no-os2.ttf").status, 0);
    ASSERT_EQ(Run("--add no-os2.ttf OS/2 table-OS_2 again.ttf").status, 0);
    ASSERT_EQ(Run("--add again.ttf zz table-head extra.ttf").status, 0);
    std::string tags;
    for (const auto& e : entries) tags += (tags.empty() ? "" : ",") + e.tag;
    EXPECT_EQ(Judge("tables again.ttf original.ttf '" + tags + "'"), "same");
    EXPECT_EQ(Judge("tables extra.ttf original.ttf '" + tags + ",zz  '"), "same");
    for (const std::string& name : testsupport::ListFolder(dir_.path()))
      if (name.ends_with(".ttf") || name.starts_with("table-")) fs::remove(dir_.File(name));
  }
  if (checked == 0) GTEST_SKIP() << "no system fonts";
}

TEST_F(Headless, NotoCollectionReportsEveryFont) {
  std::string ttc;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator("/usr/share/fonts/opentype/noto", ignored))
    if (entry.path().extension() == ".ttc") ttc = entry.path().string();
  if (ttc.empty()) GTEST_SKIP() << "no Noto CJK collection";
  auto report = Run("--report '" + ttc + "'");
  ASSERT_EQ(report.status, 0) << report.err;
  std::vector<uint8_t> header = testsupport::ReadBytes(ttc);
  uint32_t fonts = header[11] | header[10] << 8;
  size_t summaries = 0;
  for (size_t at = 0; (at = report.out.find("\nCheck Sum is 0x", at)) != std::string::npos; ++at) ++summaries;
  EXPECT_EQ(summaries, fonts);
  EXPECT_TRUE(report.out.ends_with("\nReady\n--\n"));
  EXPECT_TRUE(report.err.empty());
  if (!HaveFontTools()) return;
  ASSERT_EQ(Run("--export '" + ttc + "' name name.bin").status, 0);
  EXPECT_EQ(Judge("export name.bin '" + ttc + "' name"), "same");
  EXPECT_EQ(Run("--delete '" + ttc + "' name x.ttc").status, 1);
}

// Two runs share one settings folder: one has opened a collection, the other
// (the program, for a single font) rewrites the table list meanwhile, with
// the same tag at another place. An export from the collection writes the
// table of the collection's last font, or refuses; never what lies at the
// other font's place.
TEST_F(Headless, AnotherRunRewritingTheTableListCannotMisplaceAnExport) {
  testsupport::FontBuilder last = testsupport::SampleFont();
  last.AddTable("cvt", Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  Write("A.ttc", testsupport::BuildCollection({testsupport::SampleFont(), last}, true));
  Write("B.ttf", testsupport::FontBuilder().AddTable("cvt", Bytes(40, 0xEE)).AddTable("zzzz", {1}).Build());
  const Bytes cvt{1, 2, 3, 4, 5, 6, 7, 8};

  editortest::CaptureLog log;
  testsupport::RecordedMessages messages;
  editor::FontAnalysis a;
  ASSERT_TRUE(editor::AnalysisRun({dir_.File("A.ttc"), dir_.path(), dir_.File(editor::kChecksumLibraryName)}, &a, log, messages));
  ASSERT_EQ(Run("--report B.ttf").status, 0);
  shell::ScriptedChooser chooser({dir_.File("cvt.bin")});
  ASSERT_TRUE(editor::ExportTableCommand(a, "cvt ", chooser, log, messages).done());
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("cvt.bin")), cvt);
  shell::ScriptedChooser other({dir_.File("zzzz.bin")});
  EXPECT_FALSE(editor::ExportTableCommand(a, "zzzz", other, log, messages).done());
  EXPECT_FALSE(testsupport::Exists(dir_.File("zzzz.bin")));

  // Both runs as programs, side by side.
#if defined(_WIN32)
  GTEST_SKIP() << "the programs run side by side from a POSIX shell loop";
#endif
  auto race = testsupport::RunCommand(
      "cd '" + dir_.path() + "' && (for i in $(seq 20); do ./quillet --report B.ttf; done >/dev/null 2>&1 &"
      " for i in $(seq 20); do ./quillet --export A.ttc cvt out$i.bin; done >/dev/null 2>&1; wait; true)");
  ASSERT_EQ(race.status, 0) << race.err;
  int exported = 0;
  for (int i = 1; i <= 20; ++i) {
    std::string out = dir_.File("out" + std::to_string(i) + ".bin");
    if (!testsupport::Exists(out)) continue;
    ++exported;
    EXPECT_EQ(testsupport::ReadBytes(out), cvt) << out;
  }
  EXPECT_GT(exported, 0);
}

}  // namespace
