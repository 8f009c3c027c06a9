#include "fuzz/scratch_folder.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace fuzzsupport {
namespace {

std::string BaseFolder() {
  // The runner names a folder it removes afterwards: a process that a finding
  // stops never gets to remove its own.
  if (const char* chosen = std::getenv("SUITE_FUZZ_SCRATCH"); chosen && *chosen) return chosen;
  std::error_code ignored;
#if !defined(_WIN32)
  if (fs::is_directory("/dev/shm", ignored) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
#endif
  return fs::temp_directory_path(ignored).string();
}

}  // namespace

ScratchFolder& ScratchFolder::Get() {
  static ScratchFolder folder;
  return folder;
}

ScratchFolder::ScratchFolder() {
  // A new folder of a name nobody else has taken.
  std::random_device random;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::string name = BaseFolder() + "/suite-fuzz-" + std::to_string(random());
    std::error_code error;
    if (fs::create_directory(name, error)) path_ = name;
  }
  if (path_.empty()) {
    std::fputs("suite fuzz: no scratch folder can be made\n", stderr);
    std::abort();
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScratchFolder::File(std::string_view name) const { return path_ + "/" + std::string(name); }

void ScratchFolder::Clear() const {
  std::error_code error;
  for (fs::directory_iterator it(path_, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(it->path(), ignored);
  }
}

std::string ScratchFolder::Write(std::string_view name, std::span<const uint8_t> bytes) const {
  std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("cannot write an input file into the scratch folder");
  return path;
}

std::string ScratchFolder::Write(std::string_view name, std::string_view text) const {
  return Write(name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

void Fail(const char* what) {
  std::fprintf(stderr, "suite fuzz: property does not hold: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzzsupport
