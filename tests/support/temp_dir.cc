#include "tests/support/temp_dir.h"

#if defined(_WIN32)
#include <cwchar>
#include <optional>

#include "platform/wide_text.h"
#else
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

#if defined(_WIN32)
namespace {

// The words of a command line as a POSIX shell splits them: '...' keeps
// everything, "..." and a backslash escape the next character.
std::vector<std::string> ShellWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word), word.clear(), inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      size_t end = line.find('\'', i + 1);
      word += line.substr(i + 1, end - i - 1);
      i = end == std::string::npos ? line.size() : end;
    } else if (c == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        word += line[i];
      }
    } else if (c == '\\' && i + 1 < line.size()) {
      word += line[++i];
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring QuotedArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t slashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
    slashes = 0;
    quoted += c;
  }
  quoted.append(2 * slashes, L'\\');
  return quoted + L"\"";
}

}  // namespace

// The command lines the tests give: "cd DIR && [env -u NAME...] [NAME=VALUE...]
// PROGRAM ARGS...", run without a shell. A program is found with ".exe"
// added; TMPDIR names the temporary folder (TMP on Windows). Anything else
// (a pipe, a redirection, a Linux program) ends with 127.
CommandResult RunCommand(const std::string& commandLine) {
  CommandResult result;
  result.status = 127;
  std::vector<std::string> words = ShellWords(commandLine);
  size_t at = 0;
  std::string folder = ".";
  if (words.size() >= 3 && words[0] == "cd" && words[2] == "&&") folder = words[1], at = 3;
  std::vector<std::pair<std::string, std::optional<std::string>>> changes;
  if (at < words.size() && words[at] == "env") {
    for (++at; at + 1 < words.size() && words[at] == "-u"; at += 2) changes.emplace_back(words[at + 1], std::nullopt);
  }
  for (; at < words.size() && words[at].find('=') != std::string::npos && words[at][0] != '-'; ++at) {
    std::string name = words[at].substr(0, words[at].find('='));
    changes.emplace_back(name == "TMPDIR" ? "TMP" : name, words[at].substr(words[at].find('=') + 1));
  }
  for (size_t i = at; i < words.size(); ++i)
    if (words[i] == "|" || words[i] == "&&" || words[i] == ";" || words[i][0] == '<' || words[i][0] == '>')
      return result;
  if (at >= words.size()) return result;
  fs::path program = fs::path(folder) / words[at];
  if (words[at].find_first_of("/\\") == std::string::npos) program = words[at];
  if (!fs::exists(program) && fs::exists(program.string() + ".exe")) program += ".exe";
  if (!fs::exists(program) || program.extension() != ".exe") return result;

  std::wstring line = QuotedArgument(program.wstring());
  for (size_t i = at + 1; i < words.size(); ++i) line += L" " + QuotedArgument(platform::Widen(words[i]));
  // The environment block: this process's, with the changes.
  std::vector<std::wstring> variables;
  if (wchar_t* block = ::GetEnvironmentStringsW()) {
    for (wchar_t* entry = block; *entry; entry += std::wcslen(entry) + 1) variables.emplace_back(entry);
    ::FreeEnvironmentStringsW(block);
  }
  for (const auto& [name, value] : changes) {
    std::wstring prefix = platform::Widen(name) + L"=";
    std::erase_if(variables, [&](const std::wstring& v) { return _wcsnicmp(v.c_str(), prefix.c_str(), prefix.size()) == 0; });
    if (value) variables.push_back(prefix + platform::Widen(*value));
  }
  std::wstring environment;
  for (const std::wstring& v : variables) environment += v + L'\0';
  environment += L'\0';

  TempDir capture;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  auto open = [&](const std::string& path, DWORD access, DWORD disposition) {
    return ::CreateFileW(platform::Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE in = open("NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = open(capture.File("out"), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = open(capture.File("err"), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in, startup.hStdOutput = out, startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::vector<wchar_t> mutableLine(line.begin(), line.end());
  mutableLine.push_back(L'\0');
  bool started = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                                  environment.data(), platform::Widen(folder).c_str(), &startup, &process);
  ::CloseHandle(in), ::CloseHandle(out), ::CloseHandle(err);
  if (started) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    result.status = static_cast<int>(code & 0xFF);
    ::CloseHandle(process.hThread), ::CloseHandle(process.hProcess);
  }
  result.out = Slurp(capture.File("out"));
  result.err = Slurp(capture.File("err"));
  return result;
}
#else
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

#endif

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
