// A log that collects what the editor's engine writes, and a short way to run
// the analysis of a built font with its messages recorded.
#pragma once

#include <string>
#include <vector>

#include "editor/render/analysis_run.h"
#include "shell/sinks.h"
#include "tests/support/doubles.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace editortest {

class CaptureLog : public shell::LogSink {
 public:
  void Append(std::string_view text) override { text_ += text; }
  const std::string& text() const { return text_; }
  std::vector<std::string> Lines() const;  // split at "\r\n"
  void Clear() { text_.clear(); }

 private:
  std::string text_;
};

// A folder with a font file in it, its settings and the collected output.
struct Workspace {
  testsupport::TempDir dir;
  CaptureLog log;
  testsupport::RecordedMessages messages;
  editor::FontAnalysis analysis;

  std::string Write(const std::string& name, const testsupport::Bytes& bytes);
  // Runs the analysis of the file (no opening line); true when it reached "Ready".
  bool Analyse(const std::string& path, const std::string& library = "");
  std::string Path(const std::string& name) const { return dir.File(name); }
};

// The first line of `lines` that starts with `prefix`, or "" when none does.
std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix);
int CountLines(const std::vector<std::string>& lines, const std::string& prefix);

}  // namespace editortest
