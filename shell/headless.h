// The headless runner's parts: the option table with each option's operand
// count, the exit statuses, and the stand-ins for the log window and message
// boxes. Report text goes to a stream with every "\r\n" written as a plain
// line feed, messages to another stream as "CAPTION: text".
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/outcome.h"
#include "shell/sinks.h"

namespace shell {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

inline int ExitStatus(Outcome outcome) { return outcome == Outcome::kDone ? kExitSuccess : kExitFailure; }
inline int ExitStatus(bool done) { return done ? kExitSuccess : kExitFailure; }

struct HeadlessOption {
  const char* name;    // "--report"
  size_t operands;     // the arguments after it
  bool more = false;   // `operands` is the least number: any more may follow
};

// The suite's version, as "--version" prints it.
const char* SuiteVersion();

// What a program's arguments (after its name) ask for.
struct HeadlessCall {
  enum class Kind {
    kWindow,   // no option first: the window's own start
    kUsage,    // an unknown option or the wrong number of operands
    kCommand,  // `option` with its `operands`
    kHelp,     // "--help": the usage on standard output, status 0
    kVersion,  // "--version": the program's name and version, status 0
  };
  Kind kind = Kind::kWindow;
  const HeadlessOption* option = nullptr;
  std::vector<std::string> operands;
  // How many operands came before a "--" (all of them without one): only
  // those may be taken as flags.
  size_t endOfOptions = 0;
};

// Flushes and closes standard output and standard error before the program
// ends. When either could not be written (a full disk, a closed pipe), says
// so on standard error (while it still works) and returns `failure`;
// otherwise `status`.
int CloseStandardStreams(int status, int failure, const char* program);

// An argument starting with "--" is an option; "--help" and "--version",
// alone, are every program's own.
HeadlessCall ReadHeadless(std::span<const HeadlessOption> options, const std::vector<std::string>& arguments);

// "\r\n" becomes "\n"; a lone "\r" stays.
std::string CrlfToLf(std::string_view text);

// Writes log text to a stream. A "\r" at the end of one append waits for the
// next, so a line end split between two appends still becomes one "\n".
class StreamLog : public LogSink {
 public:
  explicit StreamLog(std::FILE* out) : out_(out) {}
  ~StreamLog() override { Finish(); }
  void Append(std::string_view text) override;
  // Writes a "\r" still held back and flushes.
  void Finish();

 private:
  std::FILE* out_;
  bool pendingCr_ = false;
};

// Writes "CAPTION: text\n" for every message, "CAPTION: text (detail)\n"
// when it carries a detail.
class StreamMessages : public MessageSink {
 public:
  explicit StreamMessages(std::FILE* out) : out_(out) {}
  void Show(const Message& message) override;

 private:
  std::FILE* out_;
};

}  // namespace shell
