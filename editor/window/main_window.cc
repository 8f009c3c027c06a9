#include "editor/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>
#include <chrono>

#include "editor/analysis_run.h"
#include "editor/choosers.h"
#include "editor/table_list.h"
#include "editor/window/file_dialogs.h"
#include "editor/window/log_text.h"
#include "editor/window/log_view.h"
#include "editor/window/message_boxes.h"
#include "editor/window/table_dialogs.h"
#include "shell/window/menus.h"

// The window's resources live in a static library; nothing else would pull them in.
static void LoadWindowResources() { Q_INIT_RESOURCE(quillet_window); }

namespace editor::gui {
namespace {

constexpr int Number(MenuCommand command) { return static_cast<int>(command); }

constexpr shell::MenuItem kMenu[] = {
    {"&File", "&Open TrueType Font...", Number(MenuCommand::kOpen), nullptr},
    {"&File", "&Recalc check sum", Number(MenuCommand::kRecalc), nullptr},
    {"&File", "&Add Table...", Number(MenuCommand::kAddTable), nullptr},
    {"&File", "&Export Table...", Number(MenuCommand::kExportTable), nullptr},
    {"&File", "Delete Table...", Number(MenuCommand::kDeleteTable), nullptr},
    {"&File", "&Quit", Number(MenuCommand::kQuit), nullptr},
    {"&Edit", "&Copy", Number(MenuCommand::kCopy), nullptr},
    {"&Edit", "&Select All", Number(MenuCommand::kSelectAll), nullptr},
    {"&Help", "&About...", Number(MenuCommand::kAbout), nullptr},
};

// The window's background: the light grey of the stock brush.
const QColor kLightGrey(192, 192, 192);

// The size the window asks for when it first opens.
constexpr QSize kFirstSize(820, 560);

// The desktop's keys beside the mnemonics; the key a desktop without its own
// binding gets instead.
struct StandardKey {
  MenuCommand command;
  QKeySequence::StandardKey key;
  const char* otherwise;
};
constexpr StandardKey kStandardKeys[] = {
    {MenuCommand::kOpen, QKeySequence::Open, "Ctrl+O"},
    {MenuCommand::kQuit, QKeySequence::Quit, "Ctrl+Q"},
    {MenuCommand::kCopy, QKeySequence::Copy, "Ctrl+C"},
    {MenuCommand::kSelectAll, QKeySequence::SelectAll, "Ctrl+A"},
    {MenuCommand::kAbout, QKeySequence::HelpContents, "F1"},
};

QString FromPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

QString WindowTitleFor(const std::string& fontPath) {
  if (fontPath.empty()) return "Quillet";
  return QFileInfo(FromPath(fontPath)).fileName() + " - Quillet";
}

QRect FirstWindowGeometry(QSize wanted, const QRect& available) {
  // Room for the frame and title bar that the window manager adds.
  const QSize room(available.width() - 16, available.height() - 48);
  QSize size = wanted.boundedTo(room).expandedTo(QSize(200, 150));
  QRect place(QPoint(0, 0), size);
  place.moveCenter(available.center());
  return place;
}

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
      buffer_(Banner()),
      worker_([this] { QMetaObject::invokeMethod(this, [this] { worker_.Deliver(); }, Qt::QueuedConnection); }) {
  LoadWindowResources();
  setWindowTitle(WindowTitleFor({}));
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
  runMessages_ = std::make_unique<shell::HandedMessages>(worker_, *messages_);

  BuildMenus();
  RecordStart(setup.programPath, settingsFolder_);
  RefreshLog();
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) setGeometry(FirstWindowGeometry(kFirstSize, screen->availableGeometry()));
  else resize(kFirstSize);
}

MainWindow::~MainWindow() {
  // A run that waits for a message box goes on without it.
  worker_.Close();
  worker_.Join();
}

void MainWindow::BuildMenus() {
  shell::AddMenuItems(*this, kMenu, [this](int command) { RunCommand(static_cast<MenuCommand>(command)); });
  for (QAction* action : findChildren<QAction*>()) {
    for (const StandardKey& standard : kStandardKeys) {
      if (action->data().toInt() != Number(standard.command)) continue;
      QList<QKeySequence> keys = QKeySequence::keyBindings(standard.key);
      if (keys.isEmpty()) keys = {QKeySequence(QString::fromLatin1(standard.otherwise))};
      action->setShortcuts(keys);
    }
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
      // A run writes its report line by line: the banner waits for its end.
      if (worker_.busy()) ++bannersHeld_;
      else LogAppend(Banner());
      break;
  }
}

void MainWindow::LogAppend(std::string_view text) { log_.Append(text); }

void MainWindow::LogChanged() {
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
  if (!worker_.busy()) return false;
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
  // The previous analysis goes: the run is about to replace the table list.
  analysis_.reset();
  LogAppend(OpeningLine(fontPath));
  AnalysisRequest request{fontPath, settingsFolder_, libraryName_};
  auto result = std::make_shared<FontAnalysis>();
  worker_.Start([this, request, result] { AnalysisRun(request, result.get(), log_, *runMessages_); },
                [this, result] { RunEnded(result); });
  fontPath_ = fontPath;
  setWindowTitle(WindowTitleFor(fontPath_));
  ++runsStarted_;
}

void MainWindow::RunEnded(std::shared_ptr<const FontAnalysis> analysis) {
  analysis_ = std::move(analysis);
  ready_ = true;
  ++runsShown_;
  for (; bannersHeld_ > 0; --bannersHeld_) LogAppend(Banner());
  RefreshLog();
  emit analysisFinished();
}

void MainWindow::RecalcCommand() {
  // The recalculation works from the finished analysis, so it waits its turn.
  if (RefusedWhileRunning()) return;
  editor::RecalcCommand(analysis_.get(), fontPath_, chooser(), log_);
}

void MainWindow::EditCommand(MenuCommand command) {
  if (!PassesGate(command, ready_, log_)) return;
  // A run under way is about to replace the table list the dialogs read.
  if (RefusedWhileRunning()) return;
  // The dialogs' commands check their choices against the finished analysis.
  static const FontAnalysis kNoFont;
  DialogContext context{analysis_ ? *analysis_ : kNoFont, settingsFolder_, chooser(), log_, messages()};
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
