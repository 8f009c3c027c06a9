// The analysis of an opened font: the collection header or the single font
// at offset 0, each font's offset table and directory with the calculated
// checksums, the table list in Quillet.ini, the dumps of the main tables and
// the verification summary, all as report text in the log.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "editor/model/font_analysis.h"
#include "editor/model/font_file.h"
#include "shell/sinks.h"
#include "shell/worker.h"
#include "editor/model/checksum_binding.h"
#include "editor/render/name_string.h"

namespace editor {

struct AnalysisRequest {
  std::string fontPath;
  std::string settingsFolder;  // where Quillet.ini is written
  std::string libraryName = editor::kChecksumLibraryName;
  NameText nameText = NameText::kShiftJis;  // how the report writes Japanese and Unicode names
  bool announce = false;  // the run begins with the opening line, once the font is open
};

// "TrueType Font %s is opened.\r\nInitializing...": what the Open command
// logs once the font file is open (the run goes on with the line end).
std::string OpeningLine(const std::string& fontPath);

// The run. Fills *analysis from scratch and returns true when it reached
// "Ready"; false when the font file could not be opened or the checksum
// library could not be loaded (after the message box).
bool AnalysisRun(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages);

// The Open command once a font has been chosen: the opening line, then the run.
bool OpenAndAnalyse(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages);

// What a window's run hands back on the window's thread when it has ended:
// the analysis, whether it reached "Ready", and the whole report it wrote,
// however much of it the log has let go since (for "Save Report...").
struct FinishedRun {
  std::shared_ptr<const FontAnalysis> analysis;
  bool reachedReady = false;
  std::string report;
};

// The Open command of a window: the opening line and the run on `worker`'s
// thread, with `log` and `messages` as the run's sinks (both must hand over
// to the window's thread); `ended` runs on the owner's thread. False, and
// nothing started, while the worker is busy.
bool StartAnalysis(shell::Worker& worker, const AnalysisRequest& request, shell::LogSink& log,
                   shell::MessageSink& messages, std::function<void(FinishedRun)> ended);

}  // namespace editor
