// The analysis of an opened font: the collection header or the single font
// at offset 0, each font's offset table and directory with the calculated
// checksums, the table list in Quillet.ini, the dumps of the main tables and
// the verification summary, all as report text in the log.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "editor/font_analysis.h"
#include "shell/sinks.h"
#include "editor/checksum_binding.h"
#include "editor/name_string.h"

namespace editor {

struct AnalysisRequest {
  std::string fontPath;
  std::string settingsFolder;  // where Quillet.ini is written
  std::string libraryName = editor::kChecksumLibraryName;
  NameText nameText = NameText::kShiftJis;  // how the report writes Japanese and Unicode names
};

// "TrueType Font %s is opened.\r\nInitializing...": what the Open command
// logs before the run starts (the run begins with the line end).
std::string OpeningLine(const std::string& fontPath);

// True when the path ends in ".ttc" in any case; the file's content plays no part.
bool IsCollectionPath(const std::string& fontPath);

// The run. Fills *analysis from scratch and returns true when it reached
// "Ready"; false when the font file could not be opened or the checksum
// library could not be loaded (after the message box).
bool AnalysisRun(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages);

// Hands a run's lines on to the log and keeps every one of them, so that a
// window can save the whole report however much of it the log lets go. The
// run appends on its thread; Take() is called once it has ended.
class ReportCopy : public shell::LogSink {
 public:
  explicit ReportCopy(shell::LogSink& log) : log_(log) {}
  void Append(std::string_view text) override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      text_.append(text);
    }
    log_.Append(text);
  }
  std::string Take() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::move(text_);
  }

 private:
  shell::LogSink& log_;
  std::mutex lock_;
  std::string text_;
};

// The Open command once a font has been chosen: the opening line, then the run.
bool OpenAndAnalyse(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages);

}  // namespace editor
