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

#include "editor/render/analysis_run.h"
#include "editor/session/commands.h"
#include "editor/window/log_text.h"
#include "editor/window/recent_fonts.h"
#include "tests/editor_window/window_test_support.h"
#include "tests/support/font_builder.h"

namespace {

using windowtest::OnNextDialog;
using windowtest::WindowFixture;

// Sends a drag of these URLs over the window and drops it; true when taken.
bool Drop(QWidget& window, const QList<QUrl>& urls) {
  QMimeData mime;
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  return drop.isAccepted();
}

QUrl Url(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

QStringList RecentItems(editor::gui::MainWindow& window) {
  emit window.recentMenu()->aboutToShow();
  QStringList items;
  for (QAction* item : window.recentMenu()->actions())
    if (!item->isSeparator() && item->isEnabled() && item->text() != "&Clear Menu") items << item->toolTip();
  return items;
}

TEST(QuilletDesktop, TitleNamesTheFontAndTheStandardKeysWork) {
  WindowFixture f;
  EXPECT_EQ(f.window->windowTitle(), "Quillet");
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  EXPECT_EQ(f.window->windowTitle(), "Sample.ttf - Quillet");

  f.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
  size_t asked = f.chooser.requests().size();
  QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(f.chooser.requests().size(), asked + 1);
  EXPECT_EQ(f.chooser.last().title, "Quillet File Open");
  size_t mark = f.Log().size();
  QTest::keyClick(f.window.get(), Qt::Key_F1);
  EXPECT_EQ(f.LogSince(mark), editor::Banner());
  QTest::keyClick(f.window.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(f.window->isVisible());
}

TEST(QuilletDesktop, OpensOneDroppedFontAndRefusesAnythingElse) {
  WindowFixture f;
  testsupport::WriteBytes(f.dir.File("a.ttf"), testsupport::SampleFont().Build());
  testsupport::WriteBytes(f.dir.File("b.ttf"), testsupport::SampleFont().Build());
  EXPECT_FALSE(Drop(*f.window, {Url(f.dir.File("a.ttf")), Url(f.dir.File("b.ttf"))}));
  EXPECT_FALSE(Drop(*f.window, {Url(f.dir.path())}));
  EXPECT_FALSE(Drop(*f.window, {QUrl("https://example.org/a.ttf")}));
  EXPECT_EQ(f.Log(), editor::Banner());

  ASSERT_TRUE(Drop(*f.window, {Url(f.dir.File("a.ttf"))}));
  QApplication::processEvents();
  ASSERT_TRUE(f.window->WaitForAnalysis());
  EXPECT_EQ(f.window->fontPath(), f.dir.File("a.ttf"));
  EXPECT_NE(f.Log().find(editor::OpeningLine(f.dir.File("a.ttf"))), std::string::npos);
  EXPECT_TRUE(f.window->ready());
}

TEST(QuilletDesktop, RecentFontsAreNewestFirstBoundedAndForgetMissingFiles) {
  editor::gui::SaveRecentFonts({});
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("a.ttf", testsupport::SampleFont().Build()));
  ASSERT_TRUE(f.OpenBuiltFont("b.ttf", testsupport::SampleFont().Build()));
  ASSERT_TRUE(f.OpenBuiltFont("a.ttf", testsupport::SampleFont().Build()));
  // A font whose analysis never reached "Ready" is not remembered.
  f.window->OpenFont(f.dir.File("missing.ttf"));
  ASSERT_TRUE(f.window->WaitForAnalysis());
  QString a = QString::fromStdString(f.dir.File("a.ttf")), b = QString::fromStdString(f.dir.File("b.ttf"));
  EXPECT_EQ(RecentItems(*f.window), QStringList({a, b}));

  // The entry opens its font.
  emit f.window->recentMenu()->aboutToShow();
  f.window->recentMenu()->actions().value(1)->trigger();
  ASSERT_TRUE(f.window->WaitForAnalysis());
  EXPECT_EQ(f.window->fontPath(), f.dir.File("b.ttf"));
  EXPECT_EQ(RecentItems(*f.window), QStringList({b, a}));

  std::filesystem::remove(f.dir.File("a.ttf"));
  EXPECT_EQ(RecentItems(*f.window), QStringList({b}));
  EXPECT_EQ(editor::gui::ReadRecentFonts(), QStringList({b}));

  QStringList many;
  for (int i = 0; i < 12; ++i) many = editor::gui::WithRecentFont(many, QString::number(i));
  EXPECT_EQ(many.size(), editor::gui::kMostRecentFonts);
  EXPECT_EQ(many.first(), "11");
  EXPECT_EQ(editor::gui::WithRecentFont(many, "9").mid(0, 3), QStringList({"9", "11", "10"}));
}

TEST(QuilletDesktop, SaveReportWritesTheWholeReportThatTheLogHasTrimmed) {
  WindowFixture f;
  std::vector<testsupport::FontBuilder> fonts(40, testsupport::SampleFont());
  ASSERT_TRUE(f.OpenBuiltFont("Many.ttc", testsupport::BuildCollection(fonts, false)));
  const std::string report = f.window->lastReport();
  ASSERT_GT(report.size(), editor::kLogTextLimit);
  // Trimmed by whole appends: how close to the limit it ends depends on how
  // the run's text arrived.
  EXPECT_LE(f.Log().size(), editor::kLogTextLimit);
  EXPECT_LT(f.Log().size(), report.size());
  EXPECT_EQ(report.rfind(editor::OpeningLine(f.dir.File("Many.ttc")), 0), 0u);
  EXPECT_TRUE(report.ends_with("Ready\r\n--\r\n"));
  EXPECT_TRUE(f.Log().ends_with(report.substr(report.size() - 1000)));

  std::string saved = f.dir.File("Many.ttc.txt");
  f.chooser.Answer(saved);
  f.Trigger("&Save Report...");
  EXPECT_EQ(f.chooser.last().proposedName, saved);
  // Saved as shown: UTF-8 with plain line feeds.
  std::vector<uint8_t> bytes = testsupport::ReadBytes(saved);
  const std::string shown = editor::gui::LogDisplayText(report).toStdString();
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), shown);
  EXPECT_EQ(shown.find('\r'), std::string::npos);
  EXPECT_TRUE(f.Log().ends_with("Saved the report of " + f.dir.File("Many.ttc") + " to " + saved + " (" +
                                std::to_string(shown.size()) + " bytes).\r\n--\r\n"));

  // An existing file is never replaced; the message says why.
  f.chooser.Answer(saved);
  f.Trigger("&Save Report...");
  ASSERT_FALSE(f.messages.empty());
  EXPECT_EQ(f.messages.lines().back(), "ERROR: The report could not be written to " + saved + ". File exist?");
  EXPECT_EQ(testsupport::ReadBytes(saved).size(), shown.size());
}

TEST(QuilletDesktop, MessageBoxesAddTheSystemsReason) {
  testsupport::TempDir dir;
  shell::ScriptedChooser chooser({});
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

TEST(QuilletDesktop, AboutDuringARunWaitsForTheReportToEnd) {
  WindowFixture f;
  std::string missing = f.dir.File("missing.ttf");
  size_t mark = f.Log().size();
  // The run stops at its message box, which waits for the window's thread.
  f.window->OpenFont(missing);
  ASSERT_TRUE(f.window->analysisRunning());
  f.Trigger("&About...");
  EXPECT_EQ(f.LogSince(mark).find("Quillet Version"), std::string::npos);
  ASSERT_TRUE(f.window->WaitForAnalysis());
  EXPECT_EQ(f.LogSince(mark), editor::Banner());
  EXPECT_EQ(f.window->lastReport(), "");
}

TEST(QuilletDesktop, AddAndDeleteRefuseBeforeAskingForAName) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  std::string tableFile = f.dir.File("table.bin");
  testsupport::WriteBytes(tableFile, testsupport::MakeHhea());
  size_t asked = f.chooser.requests().size();

  // An empty Table Name (or one of blanks) keeps the dialog open.
  for (const char* typed : {"", "  "}) {
    bool stayed = false;
    OnNextDialog([&](QWidget* dialog) {
      dialog->findChild<QLineEdit*>("tableName")->setText(typed);
      dialog->findChild<QLineEdit*>("tableFilename")->setText(QString::fromStdString(tableFile));
      dialog->findChild<QPushButton*>("ok")->click();
      stayed = QApplication::activeModalWidget() == dialog;
      dialog->close();
    });
    f.Trigger("&Add Table...");
    EXPECT_TRUE(stayed) << '"' << typed << '"';
    EXPECT_EQ(f.messages.lines().back(), "Error: Type a Table Name of one to four characters.");
  }
  EXPECT_EQ(f.chooser.requests().size(), asked);

  // A collection: refused with the log line, no output name asked.
  std::vector<testsupport::FontBuilder> fonts(2, testsupport::SampleFont());
  ASSERT_TRUE(f.OpenBuiltFont("Pair.ttc", testsupport::BuildCollection(fonts, false)));
  asked = f.chooser.requests().size();
  size_t mark = f.Log().size();
  OnNextDialog([&](QWidget* dialog) {
    dialog->findChild<QLineEdit*>("tableName")->setText("vhea");
    dialog->findChild<QLineEdit*>("tableFilename")->setText(QString::fromStdString(tableFile));
    dialog->findChild<QPushButton*>("ok")->click();
  });
  f.Trigger("&Add Table...");
  OnNextDialog([&](QWidget* dialog) { dialog->findChild<QPushButton*>("ok")->click(); });
  f.Trigger("Delete Table...");
  EXPECT_EQ(f.chooser.requests().size(), asked);
  std::string font = f.dir.File("Pair.ttc");
  EXPECT_EQ(f.LogSince(mark), font + " is a TrueType collection. Tables cannot be added to a collection.\r\n--\r\n" +
                                  font + " is a TrueType collection. Tables cannot be deleted from a collection.\r\n--\r\n");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QuilletDesktop, TableListsSelectTheFirstRowForReturnAndTakeADoubleClick) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  QString first;
  OnNextDialog([&](QWidget* dialog) {
    auto* list = dialog->findChild<QListWidget*>("tables");
    ASSERT_FALSE(list->selectedItems().isEmpty());
    first = list->selectedItems().first()->text();
    EXPECT_EQ(list->row(list->selectedItems().first()), 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
  });
  f.Trigger("&Export Table...");
  ASSERT_FALSE(f.chooser.requests().empty());
  EXPECT_EQ(f.chooser.last().proposedName, f.dir.File("NewSample.ttf." + first.replace("/", "_").toStdString()));
  EXPECT_TRUE(f.messages.empty());

  size_t asked = f.chooser.requests().size();
  OnNextDialog([&](QWidget* dialog) {
    auto* list = dialog->findChild<QListWidget*>("tables");
    QListWidgetItem* os2 = list->findItems("OS/2", Qt::MatchExactly).value(0);
    ASSERT_NE(os2, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(os2).center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(os2).center());
    if (QApplication::activeModalWidget() == dialog) {
      ADD_FAILURE() << "the double-click did not end the dialog";
      dialog->close();
    }
  });
  f.Trigger("Delete Table...");
  EXPECT_EQ(f.chooser.requests().size(), asked + 1);
  EXPECT_TRUE(f.Log().ends_with("Failed in delete OS/2 table. File exist?\r\n--\r\n"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QuilletDesktop, TheFirstWindowFitsItsScreen) {
  WindowFixture f;
  QRect available = f.window->screen()->availableGeometry();
  EXPECT_TRUE(available.contains(f.window->geometry())) << available.width() << "x" << available.height();
  // A screen of 1366 x 768 at a scale factor of 2.
  QRect half(0, 0, 683, 384);
  QRect place = editor::gui::FirstWindowGeometry(QSize(820, 560), half);
  EXPECT_TRUE(half.contains(place));
  EXPECT_LE(place.height() + 48, half.height());
  EXPECT_EQ(editor::gui::FirstWindowGeometry(QSize(820, 560), QRect(0, 0, 1920, 1080)).size(), QSize(820, 560));
}

}  // namespace
