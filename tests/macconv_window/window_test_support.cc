#include "tests/macconv_window/window_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/support/temp_dir.h"

namespace windowtest {
namespace {

// The offscreen platform says so whenever a window asks for what it cannot
// do (come to the front, size hints); everything else is shown.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith("This plugin does not support")) return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) std::abort();
}

// The offscreen platform, and settings, sockets and work files in folders
// removed at the end, so the tests never meet a real session's.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    config_ = std::make_unique<testsupport::TempDir>();
    runtime_ = std::make_unique<testsupport::TempDir>();
    work_ = std::make_unique<testsupport::TempDir>();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", config_->path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime_->path().c_str(), 1);
    setenv("TMPDIR", work_->path().c_str(), 1);
    runtimeFolder = runtime_->path();
    qInstallMessageHandler(QuietOffscreenNotes);
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    work_.reset();
    runtime_.reset();
    config_.reset();
  }

  static inline std::string runtimeFolder;

 private:
  int argc_ = 1;
  char name_[24] = "drumlin_window_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<testsupport::TempDir> config_, runtime_, work_;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void ClearSettings() {
  QSettings("Marlowby", "Drumlin").clear();
  QSettings("Marlowby", "tolva").clear();
}

int StoredInt(const char* key) { return QSettings("Marlowby", "Drumlin").value(key, -1).toInt(); }

std::string StoredMyself() { return QSettings("Marlowby", "tolva").value("myself").toString().toStdString(); }

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QTest::qWait(10);
  }
  return true;
}

bool Trigger(drumlin::DrumlinWindow& window, int command) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->data().toInt() == command) {
      action->trigger();
      return true;
    }
  }
  return false;
}

void DropFiles(drumlin::DrumlinWindow& window, const QStringList& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  ASSERT_TRUE(drop.isAccepted());
}

std::string RuntimeFolder() { return QtEnvironment::runtimeFolder; }

}  // namespace windowtest
