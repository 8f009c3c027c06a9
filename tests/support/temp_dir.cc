#include "tests/support/temp_dir.h"

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
  std::string base = fs::temp_directory_path().string() + "/suite-test-XXXXXX";
  if (!mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
  path_ = base;
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
  result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  return result;
}

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
