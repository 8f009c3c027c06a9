// The table editor's window driven through its real widgets: the menu, the
// gate before the first run, the log and its keys, the editing dialogs, the
// choosers' cancel lines, and a whole edit from opening a font to a repaired
// copy.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTextBlock>

#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "editor/model/table_list.h"
#include "editor/window/log_view.h"
#include "platform/profile.h"
#include "tests/editor_window/window_test_support.h"
#include "tests/support/font_builder.h"
#include "tests/support/font_sums.h"

namespace {

using editor::ChooserKind;
using windowtest::OnNextDialog;
using windowtest::WindowFixture;

constexpr const char* kOpenFirst = "Open a ttf first.\r\n--\r\n";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

template <typename Widget>
Widget* Child(QWidget* dialog, const char* name) {
  Widget* widget = dialog->findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

QStringList ListItems(QWidget* dialog) {
  QStringList items;
  auto* list = Child<QListWidget>(dialog, "tables");
  for (int i = 0; list && i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

TEST(QuilletWindow, StartsWithTitleMenuBannerAndSettings) {
  testsupport::TempDir settings;
  testsupport::WriteText(settings.File("Quillet.ini"), "[Quillet]\r\nNumber_Of_Tables=7\r\nTable0=head\"\r\n");
  shell::ScriptedChooser chooser({});
  testsupport::RecordedMessages messages;
  editor::gui::MainWindow window({settings.path(), windowtest::kProgramPath, "libsumkit.so", &chooser, &messages});

  EXPECT_EQ(window.windowTitle(), "Quillet");
  EXPECT_EQ(window.LogText(), editor::Banner());
  QString banner = QString::fromStdString(editor::Banner()).replace("\r\n", "\n");
  EXPECT_EQ(window.logView()->toPlainText(), banner);
  EXPECT_TRUE(window.logView()->isReadOnly());
  EXPECT_EQ(QSettings("Marlowby", "quillet").value("myself").toString(), windowtest::kProgramPath);
  EXPECT_EQ(editor::ReadTableCount(settings.path()), 0u);

  // Every item with its text, mnemonic and command, in menu order.
  QStringList shown;
  for (QAction* menu : window.menuBar()->actions()) {
    shown << menu->text();
    for (QAction* item : menu->menu()->actions()) shown << item->text() + "=" + item->data().toString();
  }
  EXPECT_EQ(shown, QStringList({"&File", "&Open TrueType Font...=40003", "Recent &Fonts=", "&Recalc check sum=40013",
                                "&Add Table...=40012", "&Export Table...=40009", "Delete Table...=40010",
                                "&Save Report...=40014", "&Quit=40002",
                                "&Edit", "&Copy=40008", "&Select All=40006", "&Help", "&About...=40004"}));
}

TEST(QuilletWindow, EditingWaitsForTheFirstRunAndAboutRepeatsTheBanner) {
  WindowFixture f;
  f.Trigger("&Add Table...");
  f.Trigger("&Export Table...");
  f.Trigger("Delete Table...");
  EXPECT_EQ(f.Log(), editor::Banner() + kOpenFirst + kOpenFirst + kOpenFirst);
  EXPECT_TRUE(f.chooser.requests().empty());
  EXPECT_FALSE(f.window->ready());

  // The recalculation is not held back: its chooser proposes "New".
  f.Trigger("&Recalc check sum");
  ASSERT_EQ(f.chooser.requests().size(), 1u);
  EXPECT_EQ(f.chooser.requests()[0].title, "Quillet File Save");
  EXPECT_EQ(f.chooser.requests()[0].proposedName, "New");

  size_t mark = f.Log().size();
  f.Trigger("&About...");
  EXPECT_EQ(f.LogSince(mark), editor::Banner());
  EXPECT_EQ(f.window->logView()->toPlainText().count("Quillet Version 1.1\n"), 2);
  EXPECT_TRUE(f.window->logView()->CaretAtEnd());

  f.Trigger("&Quit");
  EXPECT_FALSE(f.window->isVisible());
}

TEST(QuilletWindow, SelectAllAndCopyTakeTheWholeLog) {
  WindowFixture f;
  f.window->LogAppend("second line\r\n--\r\n");
  f.Trigger("&Select All");
  QTextCursor selection = f.window->logView()->textCursor();
  EXPECT_EQ(selection.selectionStart(), 0);
  EXPECT_EQ(selection.selectedText().size(), f.window->logView()->toPlainText().size());
  QApplication::clipboard()->clear();
  f.Trigger("&Copy");
  EXPECT_EQ(QApplication::clipboard()->text(), f.window->logView()->toPlainText());
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith("second line\n--\n"));
}

TEST(QuilletWindow, LogKeysAtTheEnd) {
  WindowFixture f;
  for (int i = 0; i < 200; ++i) f.window->LogAppend("line\r\n");
  f.window->LogAppend("the last line");
  editor::gui::LogView* log = f.window->logView();
  int lastLineStart = log->document()->lastBlock().position();
  ASSERT_TRUE(log->CaretAtEnd());
  int scrolled = log->verticalScrollBar()->value();

  // Page Down at the end goes to the start of the line and does not page.
  QTest::keyClick(log, Qt::Key_PageDown);
  EXPECT_EQ(log->textCursor().position(), lastLineStart);
  EXPECT_EQ(log->lastKey(), editor::LogKey::kHome);
  EXPECT_EQ(log->verticalScrollBar()->value(), scrolled);
  // Away from the end the key goes on to the view.
  QTest::keyClick(log, Qt::Key_PageDown);
  EXPECT_EQ(log->lastKey(), editor::LogKey::kPageDown);
  // Down at the end likewise goes to the line's start.
  QTest::keyClick(log, Qt::Key_End);
  ASSERT_TRUE(log->CaretAtEnd());
  QTest::keyClick(log, Qt::Key_Down);
  EXPECT_EQ(log->textCursor().position(), lastLineStart);
  QTest::keyClick(log, Qt::Key_Up);
  EXPECT_EQ(log->lastKey(), editor::LogKey::kUp);
  EXPECT_LT(log->textCursor().position(), lastLineStart);

  // Page Up at the end right after a Page Down lands on a line's start,
  // not in the column where the caret was.
  QTest::keyClick(log, Qt::Key_PageDown);
  ASSERT_EQ(log->lastKey(), editor::LogKey::kPageDown);
  log->moveCursor(QTextCursor::End);
  QTest::keyClick(log, Qt::Key_PageUp);
  QApplication::processEvents();
  EXPECT_LT(log->textCursor().position(), lastLineStart);
  EXPECT_EQ(log->textCursor().positionInBlock(), 0);
  EXPECT_EQ(log->lastKey(), editor::LogKey::kPageUp);
}

TEST(LogKeys, Steps) {
  using editor::LogKey;
  using editor::StepForKey;
  auto pageDownAtEnd = StepForKey(LogKey::kPageDown, true, LogKey::kNone);
  EXPECT_TRUE(pageDownAtEnd.consume && pageDownAtEnd.sendHome);
  EXPECT_EQ(pageDownAtEnd.lastKey, LogKey::kHome);
  auto pageDown = StepForKey(LogKey::kPageDown, false, LogKey::kHome);
  EXPECT_TRUE(!pageDown.consume && pageDown.scrollNearEnd && !pageDown.sendHome);
  EXPECT_EQ(pageDown.lastKey, LogKey::kPageDown);
  auto downAtEnd = StepForKey(LogKey::kDown, true, LogKey::kPageDown);
  EXPECT_TRUE(downAtEnd.consume && downAtEnd.sendHome);
  EXPECT_EQ(StepForKey(LogKey::kDown, false, LogKey::kHome).lastKey, LogKey::kDown);
  // Up and Page Up post a Home only at the end and right after a Page Down.
  EXPECT_TRUE(StepForKey(LogKey::kUp, true, LogKey::kPageDown).postHome);
  EXPECT_FALSE(StepForKey(LogKey::kPageUp, true, LogKey::kHome).postHome);
  EXPECT_FALSE(StepForKey(LogKey::kPageUp, false, LogKey::kPageDown).postHome);
  auto other = StepForKey(LogKey::kOther, true, LogKey::kPageDown);
  EXPECT_TRUE(!other.consume && !other.sendHome && other.lastKey == LogKey::kPageDown);

  EXPECT_EQ(editor::PageDownScroll(100, 70, 20), 10);  // within two pages: end on the last line
  EXPECT_EQ(editor::PageDownScroll(100, 50, 20), 0);   // further away: an ordinary page
  EXPECT_EQ(editor::PageDownScroll(100, 90, 20), 0);   // the last line shows already
  EXPECT_EQ(editor::PageDownScroll(10, 0, 0), 0);
}

TEST(QuilletWindow, ARunUnderWayHoldsBackEveryCommandButTheLog) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  EXPECT_TRUE(f.window->ready());
  std::string missing = f.dir.File("missing.ttf");
  // The run stops at its message box, which waits for the window's thread.
  f.window->OpenFont(missing);
  ASSERT_TRUE(f.window->analysisRunning());
  size_t mark = f.Log().size();
  size_t asked = f.chooser.requests().size();
  f.Trigger("&Open TrueType Font...");
  f.Trigger("&Recalc check sum");
  f.Trigger("&Export Table...");
  // (The run's own first line may come in between.)
  std::string busy = editor::BusyLine(missing), since = f.LogSince(mark);
  int refused = 0;
  for (size_t at = since.find(busy); at != std::string::npos; at = since.find(busy, at + 1)) ++refused;
  EXPECT_EQ(refused, 3);
  EXPECT_EQ(f.chooser.requests().size(), asked);
  ASSERT_TRUE(f.window->WaitForAnalysis());
  EXPECT_EQ(f.messages.lines(),
            std::vector<std::string>{"ERROR: Function CreateFile(" + missing + ") has an error at 2!! 2"});
  EXPECT_FALSE(f.window->analysisRunning());

  // A cancelled Open keeps the font it had.
  f.Trigger("&Open TrueType Font...");
  EXPECT_EQ(f.chooser.last().title, "Quillet File Open");
  EXPECT_EQ(f.window->fontPath(), missing);
  EXPECT_FALSE(f.window->analysisRunning());
}

TEST(QuilletWindow, ClosingWhileARunWaitsForItsMessageBoxEndsTheRun) {
  WindowFixture f;
  std::string missing = f.dir.File("missing.ttf");
  f.window->OpenFont(missing);
  ASSERT_TRUE(f.window->analysisRunning());
  f.window.reset();  // must neither hang nor show the message afterwards
  QApplication::processEvents();
  EXPECT_TRUE(f.messages.empty());
}

TEST(QuilletWindow, DialogsShowTheTableListAndCloseOrStayAsTheCommandSays) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  std::vector<std::string> tags = editor::ReadTableListItems(f.dir.path());
  QStringList expected;
  for (const std::string& tag : tags) expected << QString::fromLatin1(tag.c_str());
  ASSERT_TRUE(expected.contains("OS/2"));

  // Export and Delete with the selection cleared: the message, then the dialog closes.
  for (const char* item : {"&Export Table...", "Delete Table..."}) {
    bool deleting = std::string(item) == "Delete Table...";
    QString title, prompt;
    QStringList listed;
    OnNextDialog([&](QWidget* dialog) {
      title = dialog->windowTitle();
      prompt = Child<QLabel>(dialog, "prompt")->text();
      listed = ListItems(dialog);
      Child<QListWidget>(dialog, "tables")->clearSelection();
      Child<QPushButton>(dialog, "ok")->click();
    });
    f.Trigger(item);
    EXPECT_EQ(title, deleting ? "Delete a table." : "Export a table.");
    EXPECT_EQ(prompt, deleting ? "Choose a table to delete." : "Choose a table to export.");
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  EXPECT_EQ(f.messages.lines(), std::vector<std::string>(2, "Information: No table is selected."));

  // Add with a tag the font has: the message, and the dialog stays for another tag.
  std::string tableFile = f.dir.File("table.bin");
  testsupport::WriteBytes(tableFile, testsupport::MakeHhea());
  f.chooser.Answer(f.dir.File("NewSample.ttf"));
  bool stayed = false;
  QString addTitle;
  OnNextDialog([&](QWidget* dialog) {
    addTitle = dialog->windowTitle();
    EXPECT_EQ(Child<QLineEdit>(dialog, "tableName")->maxLength(), 4);
    Child<QLineEdit>(dialog, "tableName")->setText("head");
    Child<QLineEdit>(dialog, "tableFilename")->setText(QString::fromStdString(tableFile));
    Child<QPushButton>(dialog, "ok")->click();
    stayed = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
    Child<QPushButton>(dialog, "cancel")->click();
  });
  size_t mark = f.Log().size();
  f.Trigger("&Add Table...");
  EXPECT_EQ(addTitle, "Add Table");
  EXPECT_TRUE(stayed);
  EXPECT_EQ(f.messages.lines().back(), "Error: The font has the same table name.");
  EXPECT_EQ(f.LogSince(mark), "");

  // A table file that cannot be opened keeps the dialog open too, before any chooser.
  size_t asked = f.chooser.requests().size();
  OnNextDialog([&](QWidget* dialog) {
    Child<QLineEdit>(dialog, "tableName")->setText("vhea");
    Child<QLineEdit>(dialog, "tableFilename")->setText(QString::fromStdString(f.dir.File("none.bin")));
    Child<QPushButton>(dialog, "ok")->click();
    stayed = QApplication::activeModalWidget() == dialog;
    dialog->close();
  });
  f.Trigger("&Add Table...");
  EXPECT_TRUE(stayed);
  EXPECT_EQ(f.chooser.requests().size(), asked);
  EXPECT_EQ(f.messages.lines().back(), "ERROR: Function CreateFile(" + f.dir.File("none.bin") + ") has an error 2.");
}

TEST(QuilletWindow, EveryCancelledChooserLogsItsLine) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));
  std::string font = f.dir.File("Sample.ttf");
  std::string tableFile = f.dir.File("table.bin");
  testsupport::WriteBytes(tableFile, testsupport::MakeHhea());
  size_t mark = f.Log().size();

  f.Trigger("&Recalc check sum");
  EXPECT_EQ(f.chooser.last().proposedName, f.dir.File("NewSample.ttf"));

  // Browse cancelled leaves the field; the output chooser cancelled closes the dialog.
  bool closed = false;
  OnNextDialog([&](QWidget* dialog) {
    auto* file = Child<QLineEdit>(dialog, "tableFilename");
    file->setText(QString::fromStdString(tableFile));
    Child<QPushButton>(dialog, "browse")->click();
    EXPECT_EQ(f.chooser.last().title, "Quillet Open a table file to be added.");
    EXPECT_EQ(file->text().toStdString(), tableFile);
    Child<QLineEdit>(dialog, "tableName")->setText("vhea");
    Child<QPushButton>(dialog, "ok")->click();
    closed = !dialog->isVisible();
  });
  f.Trigger("&Add Table...");
  EXPECT_TRUE(closed);

  for (const char* item : {"&Export Table...", "Delete Table..."}) {
    OnNextDialog([&](QWidget* dialog) {
      auto* list = Child<QListWidget>(dialog, "tables");
      list->setCurrentItem(list->findItems("OS/2", Qt::MatchExactly).value(0));
      Child<QPushButton>(dialog, "ok")->click();
    });
    f.Trigger(item);
  }
  EXPECT_EQ(f.chooser.last().proposedName, f.dir.File("NewSample.ttf"));
  EXPECT_EQ(f.chooser.requests()[f.chooser.requests().size() - 2].proposedName, f.dir.File("NewSample.ttf.OS_2"));
  EXPECT_EQ(f.LogSince(mark), "Failed in opening TrueType Font \"" + font + "\".\r\n--\r\n" +
                                  "Failed in adding vhea table. File exist?\r\n--\r\n" +
                                  "Failed in exporting OS/2 table.\r\n--\r\n" +
                                  "Failed in delete OS/2 table. File exist?\r\n--\r\n");
  EXPECT_EQ(f.chooser.requests().front().memory, static_cast<int>(ChooserKind::kFontFile));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The font's checksums as a reader checks them: every entry's checkSum is its
// table's sum, and the head adjustment brings the font to the magic number.
void ExpectConsistent(const std::string& path) {
  core::ReadableFile file;
  ASSERT_TRUE(file.Open(path));
  std::vector<testsupport::EntryView> views = testsupport::ReadEntries(testsupport::ReadBytes(path));
  std::vector<core::TableDirEntry> entries;
  uint32_t headOffset = 0;
  for (const auto& view : views) {
    core::TableDirEntry entry{};
    for (int i = 0; i < 4; ++i) entry.tag[i] = static_cast<uint8_t>(view.tag[i]);
    entry.checkSum = view.checkSum;
    entry.offset = view.offset;
    entry.length = view.length;
    entries.push_back(entry);
    if (view.tag == "head") headOffset = view.offset;
  }
  testsupport::FontCheckSums sums = testsupport::ComputeFontCheckSums(file, 0, static_cast<uint16_t>(entries.size()), entries);
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].checkSum, sums.tableSums[i]) << views[i].tag;
  testsupport::Bytes bytes = testsupport::ReadBytes(path);
  uint32_t stored = (uint32_t{bytes[headOffset + 8]} << 24) | (bytes[headOffset + 9] << 16) |
                    (bytes[headOffset + 10] << 8) | bytes[headOffset + 11];
  EXPECT_EQ(core::ConsistencyCheck(sums.total, stored), 0u);
}

TEST(QuilletWindow, OpenExportAddOpenRecalcGivesAConsistentFont) {
  WindowFixture f;
  ASSERT_TRUE(f.OpenBuiltFont("Sample.ttf", testsupport::SampleFont().Build()));

  // Export hhea, then add its bytes back as a vhea table.
  std::string hhea = f.dir.File("Sample.hhea");
  f.chooser.Answer(hhea);
  OnNextDialog([&](QWidget* dialog) {
    auto* list = Child<QListWidget>(dialog, "tables");
    list->setCurrentItem(list->findItems("hhea", Qt::MatchExactly).value(0));
    Child<QPushButton>(dialog, "ok")->click();
  });
  f.Trigger("&Export Table...");
  EXPECT_EQ(testsupport::ReadBytes(hhea), testsupport::MakeHhea());

  std::string added = f.dir.File("NewSample.ttf");
  f.chooser.Answer(hhea);
  f.chooser.Answer(added);
  OnNextDialog([&](QWidget* dialog) {
    Child<QLineEdit>(dialog, "tableName")->setText("vhea");
    Child<QPushButton>(dialog, "browse")->click();
    Child<QPushButton>(dialog, "ok")->click();
  });
  f.Trigger("&Add Table...");

  f.chooser.Answer(added);
  f.Trigger("&Open TrueType Font...");
  ASSERT_TRUE(f.window->WaitForAnalysis());
  std::vector<std::string> tags = editor::ReadTableListItems(f.dir.path());
  EXPECT_EQ(tags.back(), "vhea");

  std::string repaired = f.dir.File("Repaired.ttf");
  f.chooser.Answer(repaired);
  f.Trigger("&Recalc check sum");
  std::string log = f.Log();
  for (const char* line : {"Exported hhea table.\r\n--\r\n", "Add vhea table.\r\n--\r\n", "Done\r\n--\r\n"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  EXPECT_TRUE(f.messages.empty());
  ExpectConsistent(repaired);

  // The editor's own verification agrees.
  f.chooser.Answer(repaired);
  f.Trigger("&Open TrueType Font...");
  ASSERT_TRUE(f.window->WaitForAnalysis());
  EXPECT_TRUE(EndsWith(f.Log(), "Check Sum is 0x0 (0 is correct.)\r\n--\r\nReady\r\n--\r\n"))
      << f.Log().substr(f.Log().size() - 300);
}

}  // namespace
