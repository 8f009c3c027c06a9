// The table editor's main window: the menu, and a client area that is the
// read-only log and nothing else. The window only dispatches; the commands,
// the log buffer and the analysis thread are the engine's.
//
// Threads: the Open command runs the analysis on a worker thread. The run
// writes into the locked log buffer and asks the window, through a queued
// call, to show it again; its message boxes are handed to the window's
// thread, and its result is taken there when it ends. Nothing of the window
// is touched from the worker.
//
// Beside the log, which keeps only its last 65,535 characters, the window
// keeps the whole report of the last analysis (the run bounds its own
// output) for File > "Save Report...".
#pragma once

#include <QMainWindow>
#include <QRect>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "editor/analysis_run.h"
#include "editor/checksum_binding.h"
#include "editor/commands.h"
#include "editor/font_analysis.h"
#include "editor/log_buffer.h"
#include "shell/chooser.h"
#include "shell/sinks.h"
#include "shell/worker.h"

class QMenu;

namespace editor::gui {

class LogView;

struct WindowSetup {
  std::string settingsFolder;  // where Quillet.ini lies
  std::string programPath;     // recorded as "myself" at start
  std::string libraryName = editor::kChecksumLibraryName;
  shell::FileChooser* chooser = nullptr;   // null: Qt file dialogs
  shell::MessageSink* messages = nullptr;  // null: Qt message boxes
};

// What every start records: the program's path as "myself" under
// Marlowby/quillet, and Number_Of_Tables = "0" in the table list.
void RecordStart(const std::string& programPath, const std::string& settingsFolder);

// "ipag.ttf - Quillet" for an open font, "Quillet" without one.
QString WindowTitleFor(const std::string& fontPath);

// The first window's place: `wanted` cut to fit `available` (the screen's
// work area, in the same device-independent pixels) with room for a frame,
// centred in it.
QRect FirstWindowGeometry(QSize wanted, const QRect& available);

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(WindowSetup setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  // A command of the menu, as its item triggers it.
  void RunCommand(MenuCommand command);
  // The Open command once a font has been chosen; `quillet FONT` starts here.
  void OpenFont(const std::string& fontPath);
  // Appends to the log; from the window's thread the log view shows it at
  // once, from any other thread as soon as the window's thread gets to it.
  void LogAppend(std::string_view text);

  std::string LogText() const { return buffer_.Text(); }
  // The whole report of the last finished analysis, as "Save Report..." writes it.
  const std::string& lastReport() const { return lastReport_; }
  QMenu* recentMenu() const { return recentMenu_; }
  LogView* logView() const { return logView_; }
  const std::string& fontPath() const { return fontPath_; }
  // The first analysis has ended, whatever its outcome.
  bool ready() const { return ready_; }
  bool analysisRunning() const { return worker_.busy(); }
  // Handles events until every run started has ended and been shown; false
  // when that takes longer than `timeoutMs`.
  bool WaitForAnalysis(int timeoutMs = 60000);

 signals:
  void analysisFinished();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void FillRecentMenu();
  void OpenRecent(const QString& path);
  void SaveReport();
  void LogChanged();
  void RefreshLog();
  void OpenCommand();
  void RecalcCommand();
  void EditCommand(MenuCommand command);
  bool RefusedWhileRunning();
  void RunEnded(FinishedRun run);
  shell::FileChooser& chooser() { return *chooser_; }
  shell::MessageSink& messages() { return *messages_; }

  const std::thread::id windowThread_;
  std::string settingsFolder_;
  std::string libraryName_;
  std::string fontPath_;
  LogView* logView_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::string lastReport_;
  int bannersHeld_ = 0;  // About asked for while a run writes its report
  std::unique_ptr<shell::FileChooser> ownChooser_;
  std::unique_ptr<shell::MessageSink> ownMessages_;
  shell::FileChooser* chooser_ = nullptr;
  shell::MessageSink* messages_ = nullptr;
  LogBuffer buffer_;
  bool shownOnce_ = false;
  uint64_t shownVersion_ = 0;
  std::atomic<bool> refreshQueued_{false};
  LogBufferSink log_{buffer_, [this] { LogChanged(); }};
  // The last finished run's analysis; null before the first run ends and
  // while a run is under way, so a partly built analysis is never seen.
  std::shared_ptr<const FontAnalysis> analysis_;
  bool ready_ = false;
  int runsStarted_ = 0;
  int runsShown_ = 0;
  shell::Worker worker_;
  std::unique_ptr<shell::HandedMessages> runMessages_;
};

}  // namespace editor::gui
