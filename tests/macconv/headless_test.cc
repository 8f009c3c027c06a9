// The drumlin program run headless from a copy of its own: the five commands,
// their messages on standard error and their exit statuses.
#include <gtest/gtest.h>

#include "tests/macconv/mac_tables.h"
#include "tests/support/reasons.h"

namespace {

using mactest::Bytes;
using testsupport::TempDir;

TEST(Headless, RunsEachCommandAndReportsItsOutcome) {
  TempDir dir, work;
  Bytes mac = testsupport::SampleFont().Build();
  mac[0] = 't', mac[1] = 'r', mac[2] = 'u', mac[3] = 'e';
  testsupport::WriteBytes(dir.File("mac.bin"), mac);
  testsupport::WriteBytes(dir.File("cmap.bin"),
                          mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));
  testsupport::WriteBytes(dir.File("names"), testsupport::MakeName({{1, 1, 11, 1, Bytes{0x82, 0xA0}}}));

  auto run = mactest::RunDrumlin(dir, "--extract mac.bin font.ttf", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Message: Successfully Extracted the TrueType Font. (" + std::to_string(mac.size()) + " bytes) (Written: font.ttf)\n");
  EXPECT_EQ(testsupport::ReadBytes(dir.File("font.ttf")), testsupport::SampleFont().Build());

  run = mactest::RunDrumlin(dir, "--cmap cmap.bin Newcmap.bin", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testsupport::ReadBytes(dir.File("Newcmap.bin")).size(), 12u + 35334);

  run = mactest::RunDrumlin(dir, "--name names", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Message: Success! (Written: names.name)\n");
  EXPECT_TRUE(testsupport::Exists(dir.File("names.name")));

  run = mactest::RunDrumlin(dir, "--dump cmap.bin mapping.txt", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Message: Done!! (Written: mapping.txt)\n");
  EXPECT_EQ(testsupport::ReadText(dir.File("mapping.txt")).rfind("dwSubHeaderOffset = 0x212\n", 0), 0u);

  // Every font of a .dfont, here one named "true".
  testsupport::WriteBytes(dir.File("fonts.dfont"), mactest::MakeFork({{7, "true", Bytes{0, 1, 0, 0}}}).bytes);
  run = mactest::RunDrumlin(dir, "--extract-all fonts.dfont .", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Message: Successfully Extracted 1 TrueType Font.\n./fonts.dfont.true.ttf (4 bytes)\n");
  EXPECT_EQ(testsupport::ReadBytes(dir.File("fonts.dfont.true.ttf")), (Bytes{0, 1, 0, 0}));

  // Failures: an output that exists, an input that does not.
  run = mactest::RunDrumlin(dir, "--cmap cmap.bin Newcmap.bin", work.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERROR: File exist? : Newcmap.bin\n");
  run = mactest::RunDrumlin(dir, "--extract missing.bin out.ttf", work.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERROR: Function CreateFile(missing.bin) failed!! File exist?" + testsupport::MissingFileNote() + "\n");
  EXPECT_FALSE(testsupport::Exists(dir.File("out.ttf")));
  EXPECT_TRUE(testsupport::ListFolder(work.path()).empty());
}

TEST(Headless, UsageErrorsEndWithStatusTwo) {
  TempDir dir, work;
  // Without arguments the program opens its window (when built with one).
  for (const char* arguments : {"--cmap onlyone", "--name a b", "--convert a b", "--dump a ''", "--extract-all a"}) {
    auto run = mactest::RunDrumlin(dir, arguments, work.path());
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("usage: drumlin --extract IN OUT"), std::string::npos) << arguments;
  }
}

// A named dump is a new file like every output; a long input name still
// gives every font of it a name the file system takes.
TEST(Headless, DumpsAreNewFilesAndLongNamesFit) {
  TempDir dir, work;
  testsupport::WriteBytes(dir.File("cmap.bin"),
                          mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));
  testsupport::WriteText(dir.File("keep.ttf"), "keep");
  auto run = mactest::RunDrumlin(dir, "--dump cmap.bin keep.ttf", work.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("ERROR: File exist? : keep.ttf (", 0), 0u) << run.err;
  EXPECT_EQ(testsupport::ReadText(dir.File("keep.ttf")), "keep");

#ifndef _WIN32  // where a whole path has at most 260 characters
  // 240 bytes of name, and two fonts of one name: each output name keeps
  // within 255 bytes, the second with its ID.
  const std::string input = std::string(233, 'n') + ".dfont";
  ASSERT_EQ(input.size(), 239u);
  testsupport::WriteBytes(dir.File(input), mactest::MakeFork({{7, std::string(63, 'F'), Bytes{0, 1, 0, 0}},
                                                               {8, std::string(63, 'F'), Bytes{0, 1, 0, 1}}})
                                               .bytes);
  run = mactest::RunDrumlin(dir, "--extract-all " + input + " .", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> written;
  for (const std::string& name : testsupport::ListFolder(dir.path()))
    if (name.ends_with(".ttf") && name != "keep.ttf") written.push_back(name);
  ASSERT_EQ(written.size(), 2u) << run.err;
  for (const std::string& name : written) {
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.rfind(std::string(100, 'n'), 0), 0u) << name;
  }
#endif
}

}  // namespace
