// A light load check of the editor's headless report (the full one is
// bench/load_check.sh): a 512 MiB sparse font is reported in about the
// memory of a tiny one, and ten reports run at once on one font agree.
#include <fcntl.h>
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

namespace badinput {
namespace {

using ::testing::EndsWith;

// Starts `program` with `arguments` in `folder`, its standard output going
// to `outputPath`; returns the process id.
pid_t Start(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
            const std::string& outputPath) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int null = ::open("/dev/null", O_RDWR);
    if (out < 0 || null < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(null, 0);
    ::dup2(out, 1);
    ::dup2(null, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

struct Finished {
  int status = -1;
  long peakKib = 0;
};

Finished Wait(pid_t pid) {
  int raw = 0;
  struct rusage usage {};
  Finished finished;
  if (::wait4(pid, &raw, 0, &usage) == pid && WIFEXITED(raw)) finished.status = WEXITSTATUS(raw);
  finished.peakKib = usage.ru_maxrss;
  return finished;
}

Finished Report(ProgramBox& box, const std::string& font, const std::string& outputName) {
  return Wait(Start(box.Install("quillet"), {"--report", font}, box.Work(""), box.Work(outputName)));
}

TEST(Load, ALargeSparseFontIsReportedInTheMemoryOfASmallOne) {
  ProgramBox box;
  // A font whose glyf table spans the file; the file holds no data blocks.
  Bytes font = SampleFontBytes();
  constexpr uint64_t kSize = uint64_t{512} << 20;
  size_t index = EntryIndex(font, "post");
  font = WithTag(WithEntry(font, index, 4096, static_cast<uint32_t>(kSize - 4096)), index, "glyf");
  box.Put("big.ttf", font);
  std::filesystem::resize_file(box.Work("big.ttf"), kSize);
  box.Put("small.ttf", SampleFontBytes());

  Finished small = Report(box, "small.ttf", "small.txt");
  Finished big = Report(box, "big.ttf", "big.txt");
  ASSERT_EQ(small.status, 0);
  ASSERT_EQ(big.status, 0);
  EXPECT_THAT(box.GetText("big.txt"), EndsWith("Ready\n--\n"));
  // The checksum reads through a bounded buffer: a 512 MiB table costs at
  // most a few MiB more than a tiny font.
  EXPECT_LT(big.peakKib, small.peakKib + 16 * 1024) << "small " << small.peakKib << " KiB";
}

TEST(Load, TenReportsAtOnceOnOneFontAgree) {
  ProgramBox box;
  box.Put("font.ttf", SampleFontBytes());
  std::string quillet = box.Install("quillet");
  std::vector<pid_t> running;
  for (int k = 0; k < 10; ++k)
    running.push_back(Start(quillet, {"--report", "font.ttf"}, box.Work(""),
                            box.Work("report" + std::to_string(k) + ".txt")));
  for (pid_t pid : running) EXPECT_EQ(Wait(pid).status, 0);
  std::string first = box.GetText("report0.txt");
  EXPECT_THAT(first, EndsWith("Ready\n--\n"));
  for (int k = 1; k < 10; ++k) EXPECT_EQ(box.GetText("report" + std::to_string(k) + ".txt"), first) << k;
}

}  // namespace
}  // namespace badinput
