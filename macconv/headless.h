// The converter without a window: each command runs as the window runs it,
// its choosers answered from the program's arguments and its messages written
// to standard error as "CAPTION: text".
//
//   drumlin --extract IN OUT
//   drumlin --cmap IN OUT
//   drumlin --name IN            (writes IN.name)
//   drumlin --dump IN OUT.txt
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "macconv/sinks.h"

namespace macconv {

// A chooser that gives its answers in order, then cancels; it keeps what it
// was asked.
class ScriptedChooser : public FileChooser {
 public:
  struct Request {
    std::string title;
    std::string proposed;
  };

  explicit ScriptedChooser(std::vector<std::string> answers) : answers_(std::move(answers)) {}
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& proposed) override;
  const std::vector<Request>& requests() const { return requests_; }

 private:
  std::vector<std::string> answers_;
  size_t next_ = 0;
  std::vector<Request> requests_;
};

// Writes "CAPTION: text\n" for every message.
class StreamMessages : public MessageSink {
 public:
  explicit StreamMessages(std::FILE* out) : out_(out) {}
  void Show(const std::string& caption, const std::string& text) override;

 private:
  std::FILE* out_;
};

std::string UsageText(const std::string& programName);

// Runs the headless command that `args` (without the program name) start.
// Returns the exit status: 0 when the command succeeded, 1 when it failed,
// 2 for a usage error; nothing when the first argument is no headless option.
std::optional<int> RunHeadless(const std::vector<std::string>& args, MessageSink& messages);

}  // namespace macconv
