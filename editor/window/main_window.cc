#include "editor/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <mutex>

#include "editor/analysis_run.h"
#include "editor/choosers.h"
#include "editor/table_list.h"
#include "editor/window/file_dialogs.h"
#include "editor/window/log_text.h"
#include "editor/window/log_view.h"
#include "editor/window/message_boxes.h"
#include "editor/window/recent_fonts.h"
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
    {"&File", "&Save Report...", Number(MenuCommand::kSaveReport), nullptr},
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
    {MenuCommand::kSaveReport, QKeySequence::Save, "Ctrl+S"},
    {MenuCommand::kQuit, QKeySequence::Quit, "Ctrl+Q"},
    {MenuCommand::kCopy, QKeySequence::Copy, "Ctrl+C"},
    {MenuCommand::kSelectAll, QKeySequence::SelectAll, "Ctrl+A"},
    {MenuCommand::kAbout, QKeySequence::HelpContents, "F1"},
};

std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

// The one regular file a drag carries, or nothing.
QString DroppedFont(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().first();
  if (!url.isLocalFile()) return {};
  const QFileInfo file(url.toLocalFile());
  return file.isFile() ? file.absoluteFilePath() : QString();
}

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

MainWindow::MainWindow(WindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      windowThread_(std::this_thread::get_id()),
      settingsFolder_(std::move(setup.settingsFolder)),
      libraryName_(std::move(setup.libraryName)),
      buffer_(Banner()),
      worker_([this] { QMetaObject::invokeMethod(this, [this] { worker_.Deliver(); }, Qt::QueuedConnection); }) {
  LoadWindowResources();
  setWindowTitle(WindowTitleFor({}));
  setAcceptDrops(true);
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
  // A font dropped on the log opens; the log takes no text.
  logView_->setAcceptDrops(false);
  logView_->viewport()->setAcceptDrops(false);
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
  QMenu* file = menuBar()->actions().value(0)->menu();
  for (QAction* action : findChildren<QAction*>()) {
    for (const StandardKey& standard : kStandardKeys) {
      if (action->data().toInt() != Number(standard.command)) continue;
      QList<QKeySequence> keys = QKeySequence::keyBindings(standard.key);
      if (keys.isEmpty()) keys = {QKeySequence(QString::fromLatin1(standard.otherwise))};
      action->setShortcuts(keys);
    }
  }
  // The recent fonts follow Open.
  recentMenu_ = new QMenu("Recent &Fonts", file);
  recentMenu_->setObjectName("recentFonts");
  file->insertMenu(file->actions().value(1), recentMenu_);
  connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
  FillRecentMenu();
}

void MainWindow::FillRecentMenu() {
  // Fonts that have gone since are dropped from the list.
  QStringList fonts = ReadRecentFonts(), present;
  for (const QString& font : fonts)
    if (QFileInfo(font).isFile()) present << font;
  if (present != fonts) SaveRecentFonts(present);

  recentMenu_->clear();
  for (qsizetype i = 0; i < present.size(); ++i) {
    const QString path = present[i];
    QAction* item = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    item->setToolTip(path);
    item->setStatusTip(path);
    connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
  }
  if (present.isEmpty()) recentMenu_->addAction("(none)")->setEnabled(false);
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction("&Clear Menu");
  clear->setEnabled(!present.isEmpty());
  connect(clear, &QAction::triggered, this, [this] {
    SaveRecentFonts({});
    FillRecentMenu();
  });
}

void MainWindow::OpenRecent(const QString& path) {
  if (RefusedWhileRunning()) return;
  // Gone since the menu was shown: it leaves the list, and the run says why.
  if (!QFileInfo(path).isFile()) {
    QStringList fonts = ReadRecentFonts();
    fonts.removeAll(path);
    SaveRecentFonts(fonts);
  }
  OpenFont(ToPath(path));
}

void MainWindow::SaveReport() {
  if (RefusedWhileRunning()) return;
  // Saved as the log shows it: UTF-8 with plain line feeds, so that the
  // Japanese names read in any editor of this desktop.
  QByteArray shown = LogDisplayText(lastReport_).toUtf8();
  editor::SaveReportCommand(std::string(shown.constData(), static_cast<size_t>(shown.size())), fontPath_, chooser(),
                            log_, messages());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  // One font file, nothing else: several files or anything but a file are refused.
  if (!DroppedFont(event->mimeData()).isEmpty()) event->acceptProposedAction();
  else event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString font = DroppedFont(event->mimeData());
  if (font.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  QMetaObject::invokeMethod(this, [this, font] { OpenFont(ToPath(font)); }, Qt::QueuedConnection);
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
    case MenuCommand::kSaveReport:
      SaveReport();
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
  StartAnalysis(worker_, AnalysisRequest{fontPath, settingsFolder_, libraryName_}, log_, *runMessages_,
                [this](FinishedRun run) { RunEnded(std::move(run)); });
  fontPath_ = fontPath;
  setWindowTitle(WindowTitleFor(fontPath_));
  ++runsStarted_;
}

void MainWindow::RunEnded(FinishedRun run) {
  analysis_ = std::move(run.analysis);
  lastReport_ = std::move(run.report);
  ready_ = true;
  ++runsShown_;
  if (run.reachedReady) SaveRecentFonts(WithRecentFont(ReadRecentFonts(), QFileInfo(FromPath(fontPath_)).absoluteFilePath()));
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
