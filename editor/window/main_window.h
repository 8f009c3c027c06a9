// The table editor's main window: the menu (editor/session/menu.h), and a client
// area that is the read-only log and nothing else. The window is a front end
// of the engine's session (editor/session/session.h): it hands its menu items, drops
// and recent fonts to the session and shows what the session tells it; the
// commands, their gate and refusals, the log buffer and the analysis thread
// are the engine's.
//
// Threads: the session's run asks the window, through queued calls, to
// deliver what it handed over and to show the log again. Nothing of the
// window is touched from the worker.
#pragma once

#include <QMainWindow>
#include <QRect>
#include <memory>
#include <string>
#include <string_view>

#include "editor/model/checksum_binding.h"
#include "editor/session/menu.h"
#include "editor/session/session.h"
#include "shell/chooser.h"
#include "shell/sinks.h"

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

// The first window's place: `wanted` cut to fit `available` (the screen's
// work area, in the same device-independent pixels) with room for a frame,
// centred in it.
QRect FirstWindowGeometry(QSize wanted, const QRect& available);

class MainWindow : public QMainWindow, private SessionFrontEnd {
  Q_OBJECT

 public:
  explicit MainWindow(WindowSetup setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  // A command of the menu, as its item triggers it.
  void RunCommand(MenuCommand command) { session_->RunCommand(command); }
  // The Open command once a font has been chosen; `quillet FONT` starts here.
  void OpenFont(const std::string& fontPath) { session_->OpenFont(fontPath); }
  // Appends to the log; from the window's thread the log view shows it at
  // once, from any other thread as soon as the window's thread gets to it.
  void LogAppend(std::string_view text) { session_->log().Append(text); }

  std::string LogText() const { return session_->LogText(); }
  // The whole report of the last finished analysis, as "Save Report..." writes it.
  const std::string& lastReport() const { return session_->lastReport(); }
  QMenu* recentMenu() const { return recentMenu_; }
  LogView* logView() const { return logView_; }
  const std::string& fontPath() const { return session_->fontPath(); }
  // The first analysis has ended, whatever its outcome.
  bool ready() const { return session_->ready(); }
  bool analysisRunning() const { return session_->busy(); }
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

  // What the session asks of the window.
  void WakeForDelivery() override;
  void WakeForLog() override;
  bool ShowLog(const std::string& text) override;
  void ShowTitle(const std::string& title) override;
  void RunTableDialog(TableDialog& dialog) override;
  std::string ReportAsShown(const std::string& report) override;
  void CloseWindow() override;
  void CopyLog() override;
  void SelectAllLog() override;
  void RunEnded() override;

  LogView* logView_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::unique_ptr<shell::FileChooser> ownChooser_;
  std::unique_ptr<shell::MessageSink> ownMessages_;
  std::unique_ptr<RecentFontList> recentFonts_;
  std::unique_ptr<Session> session_;
};

}  // namespace editor::gui
