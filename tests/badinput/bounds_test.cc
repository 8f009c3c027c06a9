// Hostile inputs whose counts multiply, run through the real programs under
// limits of time and file size: the work and the report stay within a fixed
// multiple of the input. Also the extract tools' set of files under a failing
// write, and symbolic links at the paths the tools replace freely.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/badinput/bad_files.h"
#include "tests/badinput/program_box.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace badinput {
namespace {

using ::testing::HasSubstr;

struct Limits {
  rlim_t cpuSeconds = 60;
  rlim_t fileBytes = rlim_t{512} << 20;  // no file the run writes, standard output included, grows past this
};

struct Limited {
  int status = -1;  // -1 when the program did not exit by itself
  uint64_t outputBytes = 0;
  long peakKib = 0;
};

// Runs `program` in the box's work folder under `limits`, its standard output to out.txt.
Limited RunLimited(ProgramBox& box, const std::string& program, const std::vector<std::string>& arguments,
                   const Limits& limits) {
  std::string path = box.Install(program);
  std::string output = box.Work("out.txt");
  pid_t pid = ::fork();
  if (pid == 0) {
    struct rlimit cpu{limits.cpuSeconds, limits.cpuSeconds}, size{limits.fileBytes, limits.fileBytes};
    ::setrlimit(RLIMIT_CPU, &cpu);
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
    int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int null = ::open("/dev/null", O_RDWR);
    if (out < 0 || null < 0 || ::chdir(box.Work("").c_str()) != 0) ::_exit(127);
    ::dup2(null, 0);
    ::dup2(out, 1);
    ::dup2(null, 2);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    ::_exit(127);
  }
  int raw = 0;
  struct rusage usage {};
  Limited result;
  if (::wait4(pid, &raw, 0, &usage) == pid && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  result.peakKib = usage.ru_maxrss;
  std::error_code error;
  result.outputBytes = std::filesystem::file_size(output, error);
  return result;
}

void Put16(Bytes& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v >> 8);
  out[at + 1] = static_cast<uint8_t>(v);
}
void Put32(Bytes& out, size_t at, uint32_t v) {
  Put16(out, at, static_cast<uint16_t>(v >> 16));
  Put16(out, at + 2, static_cast<uint16_t>(v));
}

// 65,535 directory entries, each a name table of 65,535 records.
Bytes EveryEntryOneHugeNameTable() {
  constexpr uint32_t kCount = 65535;
  uint32_t name = 12 + 16 * kCount;
  Bytes font(name + 6 + 12 * kCount);
  Put32(font, 0, 0x00010000);
  Put16(font, 4, kCount);
  for (uint32_t k = 0; k < kCount; ++k) {
    size_t at = 12 + 16 * k;
    font[at] = 'n', font[at + 1] = 'a', font[at + 2] = 'm', font[at + 3] = 'e';
    Put32(font, at + 8, name);
    Put32(font, at + 12, 6 + 12 * kCount);
  }
  Put16(font, name + 2, kCount);
  Put16(font, name + 4, static_cast<uint16_t>(6 + 12 * kCount));  // wraps: the strings start inside the records
  for (uint32_t r = 0; r < kCount; ++r) {
    size_t at = name + 6 + 12 * r;
    Put16(font, at, 3), Put16(font, at + 2, 1), Put16(font, at + 8, 2048);
  }
  return font;
}

// numFonts 0xFFFFFFFF, every offset the file holds pointing at its one font.
Bytes EveryOffsetOneFont(size_t offsets) {
  Bytes sample = SampleFontBytes();
  uint32_t base = static_cast<uint32_t>(12 + 4 * offsets);
  Bytes out(base);
  out[0] = 't', out[1] = 't', out[2] = 'c', out[3] = 'f';
  Put32(out, 4, 0x00010000);
  Put32(out, 8, 0xFFFFFFFF);
  for (size_t k = 0; k < offsets; ++k) Put32(out, 12 + 4 * k, base);
  Bytes font = sample;
  std::vector<testsupport::EntryView> entries = testsupport::ReadEntries(sample);
  for (size_t k = 0; k < entries.size(); ++k) testsupport::PatchEntry(font, k, entries[k].offset + base, entries[k].length);
  out.insert(out.end(), font.begin(), font.end());
  return out;
}

TEST(Bounds, ReportsOfMultiplyingCountsStayWithinAMultipleOfTheFile) {
  struct Case {
    const char* name;
    Bytes font;
  };
  std::vector<Case> cases;
  cases.push_back({"entries.ttf", EveryEntryOneHugeNameTable()});
  cases.push_back({"offsets.ttc", EveryOffsetOneFont(1200000)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramBox box;
    box.Put(c.name, c.font);
    Limited run = RunLimited(box, "quillet", {"--report", c.name}, Limits{});
    EXPECT_EQ(run.status, 0);
    EXPECT_LE(run.outputBytes, 17 * c.font.size() + (1u << 20));
    EXPECT_LT(run.peakKib, 1536L << 10) << "memory stays a small multiple of the file, sanitizers included";
    EXPECT_THAT(box.GetText("out.txt"), HasSubstr("Ready\n--\n"));
  }
}

TEST(Bounds, TheSettingsFileKeepsOnlyTheLastFontsTableSections) {
  ProgramBox box;
  Bytes font = EveryEntryOneHugeNameTable();
  for (uint32_t k = 0; k < 65535; ++k) Put16(font, 12 + 16 * k, static_cast<uint16_t>(k));  // 65,535 tags
  box.Put("tags.ttf", font);
  box.Put("sample.ttf", SampleFontBytes());
  ASSERT_EQ(RunLimited(box, "quillet", {"--report", "tags.ttf"}, Limits{}).status, 0);
  uint64_t hostile = std::filesystem::file_size(box.Bin("Quillet.ini"));
  ASSERT_EQ(RunLimited(box, "quillet", {"--report", "sample.ttf"}, Limits{}).status, 0);
  uint64_t after = std::filesystem::file_size(box.Bin("Quillet.ini"));
  EXPECT_GT(hostile, 4000000u);
  EXPECT_LT(after, 4096u) << "nothing of the earlier font's list stays";
}

// A .dfont whose header claims a resource map of 576 MiB, in a sparse file
// that really is that long: no more of the map is read than its 16-bit
// offsets reach.
TEST(Bounds, AResourceMapIsReadNoFurtherThanItsOffsetsReach) {
  ProgramBox box;
  Bytes header(16);
  Put32(header, 0, 0x100);       // data
  Put32(header, 4, 0x100);       // map
  Put32(header, 8, 0);           // data length
  Put32(header, 12, 0x24000000);  // map length
  box.Put("huge.dfont", header);
  std::filesystem::resize_file(box.Work("huge.dfont"), 0x100 + uint64_t{0x24000000});
  Limits quick;
  quick.cpuSeconds = 10;
  Limited run = RunLimited(box, "drumlin", {"--extract", "huge.dfont", "out.ttf"}, quick);
  EXPECT_EQ(run.status, 1);
  EXPECT_LT(run.peakKib, 256L << 10) << "the map is not read whole";
  EXPECT_FALSE(box.Has("out.ttf"));
}

// A name table of one record per length, each string that many bytes of `fill`.
Bytes NameTableOf(const std::vector<size_t>& lengths, uint8_t fill) {
  std::vector<testsupport::NameRecord> records;
  for (size_t length : lengths)
    records.push_back({1, 0, 0, static_cast<uint16_t>(records.size()), std::vector<uint8_t>(length, fill)});
  return testsupport::MakeName(records);
}

TEST(Bounds, CorvoutFailingHalfWayLeavesThePreviousSetWhole) {
  ProgramBox box;
  box.Put("old.name", NameTableOf({10, 10, 10}, 'o'));
  ASSERT_EQ(RunLimited(box, "corvout", {"old.name"}, Limits{}).status, kToolComplete);
  std::string ini = testsupport::ReadText(box.Bin("Corvout.ini"));
  // The first four strings can be written, the fifth cannot.
  box.Put("new.name", NameTableOf({100, 100, 100, 100, 3000, 100}, 'n'));
  Limits small;
  small.fileBytes = 2000;
  Limited run = RunLimited(box, "corvout", {"new.name"}, small);
  EXPECT_EQ(run.status, kToolFailure);
  EXPECT_THAT(box.GetText("out.txt"), HasSubstr("Nothing is replaced: "));
  EXPECT_EQ(testsupport::ReadText(box.Bin("Corvout.ini")), ini);
  for (const char* text : {"000.txt", "001.txt", "002.txt"}) EXPECT_TRUE(box.GetText(text) == "oooooooooo") << text;
  EXPECT_FALSE(box.Has("003.txt"));
  for (const std::string& name : box.WorkFiles()) EXPECT_EQ(name.find(".part-"), std::string::npos) << name;
}

TEST(Bounds, SymbolicLinksAtReplacedPathsAreReplacedNotWrittenThrough) {
  ProgramBox box;
  box.PutText("victim", "keep");
  std::string victim = box.Work("victim");
  ASSERT_EQ(::symlink(victim.c_str(), box.Work("000.txt").c_str()), 0);
  box.Install("corvout");
  box.Install("quillet");
  ASSERT_EQ(::symlink(victim.c_str(), box.Bin("Corvout.ini").c_str()), 0);
  ASSERT_EQ(::symlink(victim.c_str(), box.Bin("Quillet.ini").c_str()), 0);
  box.Put("t.name", NameTableOf({4}, 'x'));
  box.Put("font.ttf", SampleFontBytes());
  EXPECT_EQ(RunLimited(box, "corvout", {"t.name"}, Limits{}).status, kToolComplete);
  EXPECT_EQ(RunLimited(box, "quillet", {"--report", "font.ttf"}, Limits{}).status, 0);
  EXPECT_EQ(box.GetText("victim"), "keep");
  EXPECT_EQ(box.GetText("000.txt"), "xxxx");
  for (const std::string& path : {box.Work("000.txt"), box.Bin("Corvout.ini"), box.Bin("Quillet.ini")})
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path))) << path;
}

}  // namespace
}  // namespace badinput
