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
#include <thread>

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

// The window's background: the light grey of the stock brush.
const QColor kLightGrey(192, 192, 192);

// The size the window asks for when it first opens.
constexpr QSize kFirstSize(820, 560);

// The desktop's own keys for the menu's items, where the desktop has them;
// without, an item keeps the key of the menu table.
struct StandardKey {
  MenuCommand command;
  QKeySequence::StandardKey key;
};
constexpr StandardKey kStandardKeys[] = {
    {MenuCommand::kOpen, QKeySequence::Open},       {MenuCommand::kSaveReport, QKeySequence::Save},
    {MenuCommand::kQuit, QKeySequence::Quit},       {MenuCommand::kCopy, QKeySequence::Copy},
    {MenuCommand::kSelectAll, QKeySequence::SelectAll}, {MenuCommand::kAbout, QKeySequence::HelpContents},
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

// What every start records: the program's path as "myself" under Marlowby/quillet.
void RecordProgramPath(const std::string& programPath) {
  QSettings settings("Marlowby", "quillet");
  settings.setValue("myself", QString::fromLocal8Bit(programPath.c_str()));
  settings.sync();
}

}  // namespace

QRect FirstWindowGeometry(QSize wanted, const QRect& available) {
  // Room for the frame and title bar that the window manager adds.
  const QSize room(available.width() - 16, available.height() - 48);
  QSize size = wanted.boundedTo(room).expandedTo(QSize(200, 150));
  QRect place(QPoint(0, 0), size);
  place.moveCenter(available.center());
  return place;
}

MainWindow::MainWindow(WindowSetup setup, QWidget* parent) : QMainWindow(parent) {
  LoadWindowResources();
  setWindowTitle(QString::fromStdString(WindowTitle({})));
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

  shell::FileChooser* chooser = setup.chooser;
  if (!chooser) {
    ownChooser_ = std::make_unique<QtFileChooser>(this);
    chooser = ownChooser_.get();
  }
  shell::MessageSink* messages = setup.messages;
  if (!messages) {
    ownMessages_ = std::make_unique<QtMessageBoxes>(this);
    messages = ownMessages_.get();
  }
  recentFonts_ = std::make_unique<SettingsRecentFonts>();
  SessionFrontEnd& frontEnd = *this;
  session_ = std::make_unique<Session>(SessionSetup{setup.settingsFolder, setup.libraryName}, frontEnd, *chooser,
                                       *messages, recentFonts_.get());

  BuildMenus();
  RecordProgramPath(setup.programPath);
  session_->Start();
  session_->RefreshLog();
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) setGeometry(FirstWindowGeometry(kFirstSize, screen->availableGeometry()));
  else resize(kFirstSize);
}

MainWindow::~MainWindow() {
  // A run that waits for a message box goes on without it.
  session_->Close();
}

void MainWindow::BuildMenus() {
  shell::AddMenuItems(*this, kMenu, [this](int command) { RunCommand(static_cast<MenuCommand>(command)); });
  QMenu* file = menuBar()->actions().value(0)->menu();
  for (QAction* action : findChildren<QAction*>()) {
    for (const StandardKey& standard : kStandardKeys) {
      if (action->data().toInt() != CommandNumber(standard.command)) continue;
      QList<QKeySequence> keys = QKeySequence::keyBindings(standard.key);
      if (!keys.isEmpty()) action->setShortcuts(keys);
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
  std::vector<std::string> present = session_->RecentFonts();
  recentMenu_->clear();
  for (size_t i = 0; i < present.size(); ++i) {
    const std::string font = present[i];
    const QString path = FromPath(font);
    QAction* item = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    item->setToolTip(path);
    item->setStatusTip(path);
    connect(item, &QAction::triggered, this, [this, font] { session_->OpenRecent(font); });
  }
  if (present.empty()) recentMenu_->addAction("(none)")->setEnabled(false);
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction("&Clear Menu");
  clear->setEnabled(!present.empty());
  connect(clear, &QAction::triggered, this, [this] {
    session_->ClearRecentFonts();
    FillRecentMenu();
  });
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

void MainWindow::WakeForDelivery() {
  QMetaObject::invokeMethod(this, [this] { session_->Deliver(); }, Qt::QueuedConnection);
}

void MainWindow::WakeForLog() {
  QMetaObject::invokeMethod(this, [this] { session_->RefreshLog(); }, Qt::QueuedConnection);
}

bool MainWindow::ShowLog(const std::string& text) {
  logView_->ShowLog(LogDisplayText(text));
  logView_->setFocus();
  return true;
}

void MainWindow::ShowTitle(const std::string& title) { setWindowTitle(FromPath(title)); }

void MainWindow::RunTableDialog(TableDialog& table) {
  if (table.command() == MenuCommand::kAddTable) {
    AddTableDialog dialog(table, this);
    dialog.exec();
  } else {
    TableListDialog dialog(table, this);
    dialog.exec();
  }
}

std::string MainWindow::ReportAsShown(const std::string& report) {
  // Saved as the log shows it: UTF-8 with plain line feeds, so that the
  // Japanese names read in any editor of this desktop.
  QByteArray shown = LogDisplayText(report).toUtf8();
  return std::string(shown.constData(), static_cast<size_t>(shown.size()));
}

void MainWindow::CloseWindow() { close(); }

void MainWindow::CopyLog() {
  logView_->setFocus();
  logView_->copy();
}

void MainWindow::SelectAllLog() {
  logView_->setFocus();
  logView_->selectAll();
}

void MainWindow::RunEnded() { emit analysisFinished(); }

bool MainWindow::WaitForAnalysis(int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (session_->runsEnded() < session_->runsStarted()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace editor::gui
