// What a desktop user expects of the editor's window: the font in the title,
// the standard keys, a dropped font, the recent fonts, the whole report
// saved, message boxes that say why, the banner kept out of a report, the
// editing dialogs' refusals before any name is asked, lists that Return and
// a double-click act on, and a first window that fits its screen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "editor/analysis_run.h"
#include "editor/commands.h"
#include "tests/editor_window/window_test_support.h"
#include "tests/support/font_builder.h"

namespace {

using windowtest::OnNextDialog;
using windowtest::WindowFixture;

TEST(QuilletDesktop, MessageBoxesAddTheSystemsReason) {
  testsupport::TempDir dir;
  windowtest::ScriptedChooser chooser;
  // No message sink: the window's own Qt message boxes.
  editor::gui::MainWindow window({dir.path(), windowtest::kProgramPath, "libsumkit.so", &chooser, nullptr});
  window.show();
  std::string missing = dir.File("missing.ttf");
  QString text, reason;
  OnNextDialog([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    text = box->text();
    reason = box->informativeText();
    box->accept();
  });
  window.OpenFont(missing);
  ASSERT_TRUE(window.WaitForAnalysis());
  EXPECT_EQ(text.toStdString(), "Function CreateFile(" + missing + ") has an error at 2!! 2");
  EXPECT_EQ(reason, "No such file or directory.");
}

}  // namespace
