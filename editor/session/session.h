// One editing session of the editor's window, without the window: the log
// it shows, the open font and its last finished analysis, the run under
// way, and every menu command (editor/session/menu.h) as the user gives it. The Qt
// window and the native Windows window are front ends over it: they turn
// their events into calls of the session and show what it tells them
// through SessionFrontEnd; the gate before the first run, the refusal while
// a run is under way, the title, the recent fonts and the report kept for
// "Save Report..." are the session's.
//
// Threads: the session belongs to the thread that makes it (the window's).
// The analysis runs on a worker thread; what it logs goes into the locked
// log buffer, and everything else it hands over reaches the session when
// the window's thread calls Deliver(). Nothing else is shared.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "editor/edit/add_table.h"
#include "editor/render/analysis_run.h"
#include "editor/model/checksum_binding.h"
#include "editor/model/font_analysis.h"
#include "editor/session/log_buffer.h"
#include "editor/session/menu.h"
#include "shell/chooser.h"
#include "shell/outcome.h"
#include "shell/sinks.h"
#include "shell/worker.h"

namespace editor {

// "Add Table", "Export a table." or "Delete a table." while it is open: what
// it shows, and what its buttons run. Made by the session when the command
// has passed the gate; it works on the analysis that was current then.
class TableDialog {
 public:
  TableDialog(MenuCommand command, std::shared_ptr<const FontAnalysis> analysis, const std::string& settingsFolder,
              shell::FileChooser& chooser, shell::LogSink& log, shell::MessageSink& messages);

  // kAddTable, kExportTable or kDeleteTable.
  MenuCommand command() const { return command_; }
  // The table list's count when the dialog opened.
  uint32_t tableCount() const { return tableCount_; }
  // The tags that Export and Delete list, in order (empty for Add).
  const std::vector<std::string>& tables() const { return tables_; }

  // Add's "Browse": the table file chosen, or nothing when cancelled.
  std::optional<std::string> BrowseTableFile();
  // Add's "OK" with the Table Name and Table Filename as typed.
  shell::CommandOutcome Add(const std::string& typedTag, const std::string& tableFilePath);
  // "OK" of Export or Delete (or a double-click) with the selected tag.
  shell::CommandOutcome Pick(const std::optional<std::string>& selectedTag);

 private:
  const FontAnalysis& font() const;

  MenuCommand command_;
  std::shared_ptr<const FontAnalysis> analysis_;
  FontAnalysis noFont_;
  uint32_t tableCount_ = 0;
  std::vector<std::string> tables_;
  shell::FileChooser& chooser_;
  shell::LogSink& log_;
  shell::MessageSink& messages_;
};

// What the session asks of the window in front of it. Unless said
// otherwise, called on the window's thread.
class SessionFrontEnd {
 public:
  virtual ~SessionFrontEnd() = default;

  // From any thread: the window's thread is to call Session::Deliver() soon
  // (a queued call, a posted message).
  virtual void WakeForDelivery() = 0;
  // From any thread: the window's thread is to call Session::RefreshLog()
  // soon. Asked once until that call.
  virtual void WakeForLog() = 0;
  // Shows the whole log; false when there is nothing to show it in (yet),
  // so that the next refresh shows it again.
  virtual bool ShowLog(const std::string& text) = 0;
  // "Quillet", or "ipag.ttf - Quillet" with a font open.
  virtual void ShowTitle(const std::string& title) = 0;
  // Shows an editing dialog modally; returns when it has closed.
  virtual void RunTableDialog(TableDialog& dialog) = 0;
  // The report as "Save Report..." writes it: the text as the log shows it.
  virtual std::string ReportAsShown(const std::string& report) = 0;
  // Quit, Copy and Select All: the window's own.
  virtual void CloseWindow() = 0;
  virtual void CopyLog() = 0;
  virtual void SelectAllLog() = 0;
  // A run has ended and the log shows its end.
  virtual void RunEnded() {}
};

// Where a window keeps File > "Recent Fonts" (full paths, newest first).
class RecentFontList {
 public:
  virtual ~RecentFontList() = default;
  virtual std::vector<std::string> Read() = 0;
  virtual void Save(const std::vector<std::string>& fonts) = 0;
};

inline constexpr int kMostRecentFonts = 8;

// `path` put in front of `list`, once, and the list cut to `most` names.
std::vector<std::string> WithRecentFont(std::vector<std::string> list, const std::string& path,
                                        int most = kMostRecentFonts);

// The title for an open font, "Quillet" without one.
std::string WindowTitle(const std::string& fontPath);

struct SessionSetup {
  std::string settingsFolder;  // where Quillet.ini lies
  std::string libraryName = kChecksumLibraryName;
};

class Session {
 public:
  // `recentFonts` may be null: a window without recent fonts.
  Session(SessionSetup setup, SessionFrontEnd& frontEnd, shell::FileChooser& chooser, shell::MessageSink& messages,
          RecentFontList* recentFonts = nullptr);
  ~Session();  // Close()
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // What the window's start records: Number_Of_Tables = "0", so that no
  // dialog lists a table before a run.
  void Start();
  // A command of the menu or its keys; a number that is no command does nothing.
  void RunCommand(MenuCommand command);
  // The Open command once a font has been chosen: a dropped font, a font
  // named at the start. False when refused or not started.
  bool OpenFont(const std::string& fontPath);
  // An entry of "Recent Fonts": a font that has gone since leaves the list
  // (the run then says why), and the font is opened.
  void OpenRecent(const std::string& fontPath);
  // The recent fonts that are still there; the ones that have gone leave
  // the list. Empty without a list.
  std::vector<std::string> RecentFonts();
  void ClearRecentFonts();

  // On the window's thread, after WakeForDelivery.
  void Deliver();
  // On the window's thread, after WakeForLog (or whenever the window wants
  // the log shown): shows it when it has changed since last shown.
  void RefreshLog();
  // Before what the run's hand-overs use goes away: the run no longer waits
  // for a message box (it goes on without it), nothing it hands over is
  // shown any more, and its thread has ended.
  void Close();

  // The log the window shows; appends from any thread.
  shell::LogSink& log() { return log_; }
  std::string LogText() const { return buffer_.Text(); }
  const std::string& fontPath() const { return fontPath_; }
  // The whole report of the last finished analysis, as "Save Report..." writes it.
  const std::string& lastReport() const { return lastReport_; }
  // The first analysis has ended, whatever its outcome.
  bool ready() const { return ready_; }
  bool busy() const { return worker_.busy(); }
  int runsStarted() const { return runsStarted_; }
  int runsEnded() const { return runsEnded_; }

 private:
  bool RefusedWhileRunning();
  void OpenCommand();
  void EditCommand(MenuCommand command);
  void SaveReport();
  void RunEnded(FinishedRun run);
  void LogChanged();

  const std::thread::id owner_;
  std::string settingsFolder_;
  std::string libraryName_;
  SessionFrontEnd& frontEnd_;
  shell::FileChooser& chooser_;
  shell::MessageSink& messages_;
  RecentFontList* recentFonts_;
  LogBuffer buffer_;
  LogBufferSink log_;
  std::atomic<bool> refreshQueued_{false};
  bool shownOnce_ = false;
  uint64_t shownVersion_ = 0;
  std::string fontPath_;
  // The last finished run's analysis; null before the first run ends and
  // while a run is under way, so a partly built analysis is never seen.
  std::shared_ptr<const FontAnalysis> analysis_;
  std::string lastReport_;
  bool ready_ = false;
  int bannersHeld_ = 0;  // About asked for while a run writes its report
  int runsStarted_ = 0;
  int runsEnded_ = 0;
  shell::Worker worker_;
  shell::HandedMessages runMessages_;
};

}  // namespace editor
