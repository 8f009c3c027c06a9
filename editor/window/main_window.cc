#include "editor/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QMenuBar>
#include <QSettings>
#include <QVBoxLayout>
#include <chrono>

#include "editor/choosers.h"
#include "editor/table_list.h"
#include "editor/window/file_dialogs.h"
#include "editor/window/log_text.h"
#include "editor/window/log_view.h"
#include "editor/window/message_boxes.h"
#include "editor/window/table_dialogs.h"

// The window's resources live in a static library; nothing else would pull them in.
static void LoadWindowResources() { Q_INIT_RESOURCE(quillet_window); }

namespace editor::gui {
namespace {

struct MenuItem {
  const char* menu;
  const char* text;
  MenuCommand command;
};

constexpr MenuItem kMenu[] = {
    {"&File", "&Open TrueType Font...", MenuCommand::kOpen},
    {"&File", "&Recalc check sum", MenuCommand::kRecalc},
    {"&File", "&Add Table...", MenuCommand::kAddTable},
    {"&File", "&Export Table...", MenuCommand::kExportTable},
    {"&File", "Delete Table...", MenuCommand::kDeleteTable},
    {"&File", "&Quit", MenuCommand::kQuit},
    {"&Edit", "&Copy", MenuCommand::kCopy},
    {"&Edit", "&Select All", MenuCommand::kSelectAll},
    {"&Help", "&About...", MenuCommand::kAbout},
};

// The window's background: the light grey of the stock brush.
const QColor kLightGrey(192, 192, 192);

}  // namespace

void RecordStart(const std::string& programPath, const std::string& settingsFolder) {
  QSettings settings("Marlowby", "quillet");
  settings.setValue("myself", QString::fromLocal8Bit(programPath.c_str()));
  settings.sync();
  ResetTableCount(settingsFolder);
}

std::string BusyLine(const std::string& fontPath) {
  return "The analysis of " + fontPath + " is still under way. Try again after \"Ready\".\r\n--\r\n";
}

MainWindow::MainWindow(WindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      windowThread_(std::this_thread::get_id()),
      settingsFolder_(std::move(setup.settingsFolder)),
      libraryName_(std::move(setup.libraryName)),
      buffer_(Banner()) {
  LoadWindowResources();
  setWindowTitle("Quillet");
  setWindowIcon(QIcon(":/quillet/quillet-32.png"));

  auto* client = new QWidget(this);
  client->setObjectName("client");
  QPalette grey = client->palette();
  grey.setColor(QPalette::Window, kLightGrey);
  client->setPalette(grey);
  client->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(10, 10, 10, 10);
  logView_ = new LogView(client);
  layout->addWidget(logView_);
  setCentralWidget(client);

  if (setup.chooser) {
    chooser_ = setup.chooser;
  } else {
    ownChooser_ = std::make_unique<QtFileChooser>(this);
    chooser_ = ownChooser_.get();
  }
  if (setup.messages) {
    messages_ = setup.messages;
  } else {
    ownMessages_ = std::make_unique<QtMessageBoxes>(this);
    messages_ = ownMessages_.get();
  }
  runMessages_ = std::make_unique<RelayedMessages>(*messages_, [this](std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
  });

  BuildMenus();
  RecordStart(setup.programPath, settingsFolder_);
  RefreshLog();
  resize(820, 560);
}

MainWindow::~MainWindow() {
  // A run that waits for a message box goes on without it; the worker is
  // then joined as the last member goes.
  runMessages_->Close();
  worker_.Wait();
}

void MainWindow::BuildMenus() {
  QMenu* menu = nullptr;
  for (const MenuItem& item : kMenu) {
    QString title = QString::fromLatin1(item.menu);
    if (!menu || menu->title() != title) menu = menuBar()->addMenu(title);
    QAction* action = menu->addAction(QString::fromLatin1(item.text));
    action->setData(static_cast<int>(item.command));
    MenuCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  }
}

void MainWindow::RunCommand(MenuCommand command) {
  switch (command) {
    case MenuCommand::kOpen:
      OpenCommand();
      break;
    case MenuCommand::kRecalc:
      RecalcCommand();
      break;
    case MenuCommand::kAddTable:
    case MenuCommand::kExportTable:
    case MenuCommand::kDeleteTable:
      EditCommand(command);
      break;
    case MenuCommand::kQuit:
      close();
      break;
    case MenuCommand::kCopy:
      logView_->setFocus();
      logView_->copy();
      break;
    case MenuCommand::kSelectAll:
      logView_->setFocus();
      logView_->selectAll();
      break;
    case MenuCommand::kAbout:
      LogAppend(Banner());
      break;
  }
}

void MainWindow::LogAppend(std::string_view text) {
  buffer_.Append(text);
  if (std::this_thread::get_id() == windowThread_) {
    RefreshLog();
    return;
  }
  // One queued refresh at a time: it shows whatever the buffer holds by then.
  if (!refreshQueued_.exchange(true))
    QMetaObject::invokeMethod(
        this, [this] { RefreshLog(); }, Qt::QueuedConnection);
}

void MainWindow::RefreshLog() {
  refreshQueued_.store(false);
  uint64_t version = buffer_.version();
  if (shownOnce_ && version == shownVersion_) return;
  std::string text = buffer_.Text();
  shownOnce_ = true;
  shownVersion_ = version;
  logView_->ShowLog(LogDisplayText(text));
  logView_->setFocus();
}

bool MainWindow::RefusedWhileRunning() {
  if (!worker_.running()) return false;
  LogAppend(BusyLine(fontPath_));
  return true;
}

void MainWindow::OpenCommand() {
  if (RefusedWhileRunning()) return;
  // A cancelled chooser keeps the open font and its analysis as they are.
  std::optional<std::string> chosen = chooser().Choose(FontChooserRequest());
  if (chosen) OpenFont(*chosen);
}

void MainWindow::OpenFont(const std::string& fontPath) {
  if (RefusedWhileRunning()) return;
  AnalysisRequest request{fontPath, settingsFolder_, libraryName_};
  bool started = worker_.Start(request, log_, *runMessages_, [this] {
    QMetaObject::invokeMethod(
        this, [this] { RunEnded(); }, Qt::QueuedConnection);
  });
  if (!started) {
    LogAppend(BusyLine(fontPath_));
    return;
  }
  fontPath_ = fontPath;
  ++runsStarted_;
}

void MainWindow::RunEnded() {
  ++runsShown_;
  RefreshLog();
  emit analysisFinished();
}

void MainWindow::RecalcCommand() {
  // The recalculation works from the finished analysis, so it waits its turn.
  if (RefusedWhileRunning()) return;
  std::shared_ptr<const FontAnalysis> analysis = worker_.analysis();
  editor::RecalcCommand(analysis.get(), fontPath_, chooser(), log_);
}

void MainWindow::EditCommand(MenuCommand command) {
  if (!PassesGate(command, worker_.ready(), log_)) return;
  // A run under way is about to replace the table list the dialogs read.
  if (RefusedWhileRunning()) return;
  // The dialogs' commands check their choices against the finished analysis.
  static const FontAnalysis kNoFont;
  std::shared_ptr<const FontAnalysis> analysis = worker_.analysis();
  DialogContext context{analysis ? *analysis : kNoFont, settingsFolder_, chooser(), log_, messages()};
  if (command == MenuCommand::kAddTable) {
    AddTableDialog dialog(context, this);
    dialog.exec();
  } else {
    TableListDialog dialog(
        command == MenuCommand::kExportTable ? TableListDialog::Purpose::kExport : TableListDialog::Purpose::kDelete,
        context, this);
    dialog.exec();
  }
}

bool MainWindow::WaitForAnalysis(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (runsShown_ < runsStarted_) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace editor::gui
