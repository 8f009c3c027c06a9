#include "tests/support/temp_dir.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
  std::random_device random;
  std::string base = fs::temp_directory_path().generic_string();
  if (!base.empty() && base.back() == '/') base.pop_back();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::string name = base + "/suite-test-" + std::to_string(random());
    std::error_code error;
    if (fs::create_directory(name, error)) path_ = name;
  }
  if (path_.empty()) throw std::runtime_error("no temporary folder can be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

namespace {
std::string Slurp(const std::string& path) {
  std::string text = ReadText(path);
  std::remove(path.c_str());
  return text;
}
}  // namespace

CommandResult RunCommand(const std::string& commandLine) {
  TempDir capture;
  std::string outPath = capture.File("out"), errPath = capture.File("err");
  std::string full = "(" + commandLine + ") </dev/null >'" + outPath + "' 2>'" + errPath + "'";
  int raw = std::system(full.c_str());
  CommandResult result;
#if defined(_WIN32)
  result.status = raw;
#else
  result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
#endif
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  return result;
}

void MakeFolder(const std::string& path) {
  if (!fs::create_directory(path)) throw std::runtime_error("cannot make " + path);
}

static void SetEnv(const char* name, const char* value) {
#if defined(_WIN32)
  _putenv_s(name, value ? value : "");
#else
  value ? ::setenv(name, value, 1) : ::unsetenv(name);
#endif
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  const char* old = std::getenv(name);
  if (old) old_ = old, hadOld_ = true;
  SetEnv(name, value.c_str());
}

ScopedEnv::~ScopedEnv() { SetEnv(name_, hadOld_ ? old_.c_str() : nullptr); }

std::string BinFolder() {
#ifdef SUITE_BIN_DIR
  return SUITE_BIN_DIR;
#else
  const char* dir = std::getenv("SUITE_BIN_DIR");
  return dir ? dir : ".";
#endif
}

std::string SystemFont(const std::string& path) { return Exists(path) ? path : std::string(); }

std::string FontToolsPython() {
  if (Exists("/usr/bin/python3")) return "/usr/bin/python3";
  return "python3";
}

}  // namespace testsupport
