#include "macconv/window/drumlin_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "macconv/engine/cmap_file_conversion.h"
#include "macconv/engine/message_text.h"
#include "macconv/session/command_line.h"
#include "macconv/session/menu_commands.h"
#include "macconv/window/drumlin_icon.h"
#include "macconv/window/program_command_line.h"
#include "macconv/window/progress_view.h"
#include "macconv/session/window_commands.h"
#include "macconv/window/window_place.h"
#include "platform/paths.h"
#include "shell/window/menus.h"

namespace drumlin {
namespace {

std::string FileName(const QString& name) { return QFile::encodeName(name).toStdString(); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

bool IsFile(const std::string& path) { return QFileInfo(QFile::decodeName(path.c_str())).isFile(); }

std::string CleanPath(const std::string& path) {
  return FileName(QDir::cleanPath(QFile::decodeName(path.c_str())));
}

}  // namespace

// What the conversion reports on the worker thread, handed to the window's.
// Messages do not wait for the user: the window shows them in order.
class DrumlinWindow::ConversionSinks : public shell::MessageSink, public macconv::ProgressSink {
 public:
  explicit ConversionSinks(DrumlinWindow& window) : window_(window) {}

  void Show(const shell::Message& message) override {
    window_.conversion_.Hand([w = &window_, message] { w->services_.messages->Show(message); });
  }
  void ShowProgress(const std::string& text) override {
    window_.conversion_.Hand([w = &window_, text] {
      w->view_->SetText(Text(text));
      emit w->progressShown(w->view_->text());
    });
  }
  void ClearProgress() override {
    window_.conversion_.Hand([w = &window_] {
      w->view_->Clear();
      emit w->progressCleared();
    });
  }
  void HoldProgress(int milliseconds) override { window_.conversion_.Pause(milliseconds); }
  // One more line under the text shown, set out as the progress lines are.
  void AddProgressLine(const std::string& line) {
    window_.conversion_.Hand([w = &window_, line] {
      w->view_->SetText(w->view_->text() + Text(macconv::ProgressLine(line)));
      emit w->progressShown(w->view_->text());
    });
  }

 private:
  DrumlinWindow& window_;
};

DrumlinWindow::DrumlinWindow(const WindowServices& services, const macconv::CommandLine& line, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      view_(new ProgressView(this)),
      conversion_([this] { QMetaObject::invokeMethod(this, [this] { conversion_.Deliver(); }, Qt::QueuedConnection); }) {
  setWindowTitle("Drumlin");
  setWindowIcon(DrumlinIcon());
  setAcceptDrops(true);
  setCentralWidget(view_);
  BuildMenu();

  const WindowPlace place = ReadWindowPlace();
  move(place.x, place.y);
  resize(place.width, place.height);

  quit_ = line.quit;
  if (line.valid) RecordMyself(line.programName);
  currentFile_ = line.fileName;
  if (!currentFile_.empty()) {
    QMetaObject::invokeMethod(this, [this] { RunCommand(kExtractNamedFile); }, Qt::QueuedConnection);
  }
}

DrumlinWindow::~DrumlinWindow() {
  // The worker may still hand tasks to this window until it has ended.
  conversion_.Close();
  conversion_.Join();
}

void DrumlinWindow::BuildMenu() {
  shell::AddMenuItems(*this, kMenu, [this](int command) { RunCommand(command); });
}

void DrumlinWindow::SetMenusEnabled(bool enabled) {
  for (QAction* action : findChildren<QAction*>()) {
    if (action->data().isValid()) action->setEnabled(enabled);
  }
}

QString DrumlinWindow::progressText() const { return view_->text(); }

bool DrumlinWindow::busy() const { return commandRunning_ || conversionRunning_; }

void DrumlinWindow::RunCommand(int command, const QString& name) {
  if (busy()) {
    waiting_.emplace_back(command, name);
    return;
  }
  commandRunning_ = true;
  bool ended = true;
  shell::FileChooser& chooser = *services_.chooser;
  shell::MessageSink& messages = *services_.messages;
  if (!macconv::RunFileCommand(command, currentFile_, FileName(name), chooser, messages)) {
    switch (command) {
      case kQuit:
        close();
        break;
      case kHelp:
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        break;
      case kAbout:
        services_.about->ShowAbout(this);
        break;
      case kHelpText:
        OpenHelp(macconv::kHelpTextName.data());
        break;
      case kHelpDocument:
        OpenHelp(macconv::kHelpDocumentName.data());
        break;
      case kConvertCmap:
        ended = !StartCmapConversion();  // else it ends when the worker has ended
        break;
      default:
        break;
    }
  }
  commandRunning_ = false;
  if (ended) EndCommand(command);
}

void DrumlinWindow::EndCommand(int command) {
  emit commandHandled(command);
  if (!waiting_.empty()) QMetaObject::invokeMethod(this, [this] { RunWaitingCommand(); }, Qt::QueuedConnection);
}

void DrumlinWindow::RunWaitingCommand() {
  if (busy() || waiting_.empty()) return;
  auto [command, name] = waiting_.front();
  waiting_.pop_front();
  RunCommand(command, name);
}

bool DrumlinWindow::StartCmapConversion() {
  const macconv::CmapCommandNames names =
      macconv::ChooseCmapNames(currentFile_, *services_.chooser, *services_.messages);
  if (names.ended != shell::Outcome::kDone) return false;
  view_->Clear();
  conversionRunning_ = true;
  SetMenusEnabled(false);
  conversion_.Start(
      [this, input = names.input, output = names.output] {
        ConversionSinks sinks(*this);
        // The last counts stay, with the name of the file written under them.
        if (macconv::ConvertCmapFile(input, output, sinks, &sinks) == shell::Outcome::kDone)
          sinks.AddProgressLine(macconv::WrittenDetail(output));
      },
      [this] {
        conversionRunning_ = false;
        SetMenusEnabled(true);
        EndCommand(kConvertCmap);
      });
  return true;
}

void DrumlinWindow::OpenHelp(const char* helpFileName) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::string myself = ReadMyself();
  if (myself.empty()) myself = FileName(QCoreApplication::applicationFilePath());
  const std::string found =
      CleanPath(macconv::FindHelpFile(myself, helpFileName, platform::kBackslashIsSeparator, IsFile));
  const bool opened = IsFile(found) && services_.help->Open(found);
  QApplication::restoreOverrideCursor();
  if (!opened) services_.messages->Show({"Ouch!!", "Can not open " + found});
}

void DrumlinWindow::TakeHandedFile(const QString& fileName) {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (!fileName.isEmpty()) RunCommand(kExtractNamedFile, fileName);
}

void DrumlinWindow::SavePlace() { SaveWindowPlace({x(), y(), width(), height()}); }

void DrumlinWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (isMaximized()) return;
  SavePlace();
}

void DrumlinWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  SavePlace();
}

void DrumlinWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !conversionRunning_) event->acceptProposedAction();
}

void DrumlinWindow::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) files.append(url.toLocalFile());
  event->acceptProposedAction();
  // The commands may open dialogs: they run once the drop has ended.
  QMetaObject::invokeMethod(this, [this, files] { HandleDrop(files); }, Qt::QueuedConnection);
}

void DrumlinWindow::HandleDrop(const QStringList& files) {
  currentFile_.clear();
  if (files.size() == 1) {
    if (!files[0].isEmpty()) RunCommand(kExtractNamedFile, files[0]);
  } else if (files.size() > 1) {
    services_.messages->Show({"Ouch!!", "Only one file is acceptable..."});
  }
  // Started with the quit option, the program closes after one drop.
  if (quit_) close();
}

void DrumlinWindow::closeEvent(QCloseEvent* event) {
  // A conversion under way finishes its output; only its pauses are cut.
  conversion_.Close();
  conversion_.Join();
  event->accept();
}

}  // namespace drumlin
