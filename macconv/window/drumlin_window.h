// The converter's main window: the menu of commands, dropped files, the
// remembered place and size, and the progress text of a running cmap
// conversion. The commands are the engine's (macconv/session/menu_commands.h); the
// window only hands them the current file name and the desktop's dialogs,
// and runs the cmap conversion on a worker thread so that its progress text
// is painted while it works.
#pragma once

#include <QMainWindow>
#include <QString>
#include <deque>
#include <string>
#include <utility>

#include "macconv/session/command_line.h"
#include "macconv/window/desktop_services.h"
#include "shell/worker.h"

namespace drumlin {

class ProgressView;

class DrumlinWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `commandLine` is the program's whole command line, its path first, as
  // parsed. The file it names is extracted once the window is up.
  DrumlinWindow(const WindowServices& services, const macconv::CommandLine& commandLine, QWidget* parent = nullptr);
  ~DrumlinWindow() override;

  // Carries out a command. `name` is the file that comes with command 4000.
  // A command that arrives while another one runs waits for it.
  void RunCommand(int command, const QString& name = QString());

  bool quitOption() const { return quit_; }
  const std::string& currentFile() const { return currentFile_; }
  QString progressText() const;
  // A command is running (or a cmap conversion is still at work).
  bool busy() const;

 public slots:
  // A second start handed over a file: come to the front and extract from it.
  void TakeHandedFile(const QString& fileName);

 signals:
  // A command has run to its end (a cmap conversion included).
  void commandHandled(int command);
  void progressShown(const QString& text);
  void progressCleared();

 protected:
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void SavePlace();
  void HandleDrop(const QStringList& files);
  void OpenHelp(const char* helpFileName);
  class ConversionSinks;

  // Asks for the cmap conversion's files and starts it on the worker; false
  // when the command ended with the questions.
  bool StartCmapConversion();
  void EndCommand(int command);
  void RunWaitingCommand();
  void SetMenusEnabled(bool enabled);

  WindowServices services_;
  ProgressView* view_;
  std::string currentFile_;
  bool quit_ = false;
  bool commandRunning_ = false;
  bool conversionRunning_ = false;
  std::deque<std::pair<int, QString>> waiting_;
  shell::Worker conversion_;
};

}  // namespace drumlin
