// The converter's window driven through its real widgets on the offscreen
// platform: the menu and the keyboard reach every command, the place and
// size are kept, dropped files are extracted, the command line is read, and a
// cmap conversion runs on its worker while the window shows its progress.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

#include "macconv/window/about_dialog.h"
#include "macconv/window/drumlin_window.h"
#include "macconv/window/progress_view.h"
#include "macconv/window/qt_desktop.h"
#include "macconv/session/window_commands.h"
#include "tests/macconv/mac_tables.h"
#include "tests/macconv_window/window_test_support.h"

namespace {

using drumlin::DrumlinWindow;
using testsupport::TempDir;
using windowtest::FakeDesktop;
using windowtest::StoredInt;
using windowtest::WaitFor;

// Mac data: the sample font with the signature "true" in place of its version.
std::vector<uint8_t> MacData() {
  std::vector<uint8_t> mac = testsupport::SampleFont().Build();
  mac[0] = 't', mac[1] = 'r', mac[2] = 'u', mac[3] = 'e';
  return mac;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowtest::ClearSettings();
    program_ = dir_.File("drumlin");
    testsupport::WriteBytes(dir_.File("mac.bin"), MacData());
  }
  std::unique_ptr<DrumlinWindow> Open(const std::string& arguments = "") {
    std::string line = "\"" + program_ + "\"" + (arguments.empty() ? "" : " " + arguments);
    auto window = std::make_unique<DrumlinWindow>(desktop_.services(), macconv::ParseCommandLine(line));
    handled_ = std::make_unique<QSignalSpy>(window.get(), &DrumlinWindow::commandHandled);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
  bool WaitHandled(int count, int timeoutMs = 10000) {
    return WaitFor([&] { return handled_->count() >= count; }, timeoutMs);
  }
  int LastHandled() const { return handled_->isEmpty() ? 0 : handled_->last().at(0).toInt(); }

  TempDir dir_;
  std::string program_;
  FakeDesktop desktop_;
  std::unique_ptr<QSignalSpy> handled_;
};

TEST_F(WindowTest, OffersTheMenuAndTheKeyboardCommands) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), "Drumlin");

  std::vector<std::string> menu;
  for (QAction* popup : window->menuBar()->actions()) {
    for (QAction* item : popup->menu()->actions()) {
      menu.push_back(popup->text().toStdString() + " " + item->text().toStdString() + " " +
                     std::to_string(item->data().toInt()));
    }
  }
  EXPECT_EQ(menu, (std::vector<std::string>{"&File &Open TTF and Extract 4030", "&File Extract &All Fonts... 4031",
                                            "&File &Quit 4001",
                                            "&Tool Convert Mac cmap table to Win 40003", "&Help &Help 4003",
                                            "&Help Help &Document 4045", "&Help Help &Text 4028",
                                            "&Help &About 4004"}));

  // The two commands the menu leaves out answer their shortcuts.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_EQ(LastHandled(), drumlin::kConvertName);
  QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitHandled(2));
  EXPECT_EQ(LastHandled(), drumlin::kDumpCmap);
  ASSERT_EQ(desktop_.chooser.requests().size(), 2u);
  EXPECT_EQ(desktop_.chooser.requests()[0].title, "Drumlin File Open");
  EXPECT_EQ(desktop_.chooser.requests()[1].title, "Drumlin File Open");
}

TEST_F(WindowTest, MenuCommandsReachTheirHandlers) {
  // Help files beside the recorded program path.
  testsupport::WriteText(dir_.File("Drumlin.txt"), "help\n");
  auto window = Open();
  EXPECT_EQ(windowtest::StoredMyself(), program_);

  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kOpenAndExtract));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kExtractAllFonts));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kConvertCmap));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kHelp));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kAbout));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kHelpText));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kHelpDocument));
  ASSERT_TRUE(WaitHandled(7));

  ASSERT_EQ(desktop_.chooser.requests().size(), 3u);
  EXPECT_EQ(desktop_.chooser.requests()[0].title, "Drumlin File Open");
  EXPECT_EQ(desktop_.chooser.requests()[0].proposedName, "");
  EXPECT_EQ(desktop_.chooser.requests()[1].title, "Drumlin File Open");
  EXPECT_EQ(desktop_.chooser.requests()[2].title, "Drumlin cmap file Open");
  EXPECT_EQ(desktop_.about.shown, 1);
  EXPECT_EQ(desktop_.help.opened, std::vector<std::string>{dir_.File("Drumlin.txt")});
  // The help document is missing: the message names it.
  EXPECT_EQ(desktop_.messages.lines(), std::vector<std::string>{"Ouch!!: Can not open " + dir_.File("Drumlin.html")});

  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kQuit));
  EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }));
}

TEST_F(WindowTest, HelpFilesOfAnInstalledProgramComeFromItsShareFolder) {
  TempDir prefix;
  std::filesystem::create_directories(prefix.File("bin"));
  std::filesystem::create_directories(prefix.File("share/drumlin"));
  testsupport::WriteText(prefix.File("share/drumlin/Drumlin.html"), "<html></html>\n");
  program_ = prefix.File("bin/drumlin");
  auto window = Open();
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kHelpDocument));
  EXPECT_EQ(desktop_.help.opened, std::vector<std::string>{prefix.File("share/drumlin/Drumlin.html")});
  EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(WindowTest, StartsAtTheStoredPlaceOrTheDefaults) {
  {
    auto window = Open();
    EXPECT_EQ(window->pos(), QPoint(0, 0));
    EXPECT_EQ(window->size(), QSize(160, 100));
  }
  QSettings("Marlowby", "Drumlin").setValue("X", 30);
  QSettings("Marlowby", "Drumlin").setValue("Y", 40);
  QSettings("Marlowby", "Drumlin").setValue("nWidth", 320);
  QSettings("Marlowby", "Drumlin").setValue("nHeight", "not a number");
  auto window = Open();
  EXPECT_EQ(window->pos(), QPoint(30, 40));
  EXPECT_EQ(window->size(), QSize(320, 100));
}

TEST_F(WindowTest, KeepsThePlaceOnMoveUnlessMaximisedAndTheSizeOnEveryResize) {
  auto window = Open();
  window->move(50, 60);
  window->resize(300, 200);
  EXPECT_TRUE(WaitFor([] { return StoredInt("X") == 50 && StoredInt("Y") == 60; }));
  EXPECT_EQ(StoredInt("nWidth"), 300);
  EXPECT_EQ(StoredInt("nHeight"), 200);

  window->showMaximized();
  ASSERT_TRUE(WaitFor([&] { return window->isMaximized(); }));
  QSettings("Marlowby", "Drumlin").setValue("X", -5);
  QSettings("Marlowby", "Drumlin").setValue("nWidth", 7);
  QMoveEvent move(QPoint(90, 90), window->pos());
  QApplication::sendEvent(window.get(), &move);
  EXPECT_EQ(StoredInt("X"), -5);
  EXPECT_EQ(StoredInt("nWidth"), 7);

  // A resize stores the values even while maximised.
  QResizeEvent resize(window->size(), QSize(300, 200));
  QApplication::sendEvent(window.get(), &resize);
  EXPECT_EQ(StoredInt("X"), window->x());
  EXPECT_EQ(StoredInt("nWidth"), window->width());
}

TEST_F(WindowTest, ExtractsOneDroppedFileAndRefusesSeveral) {
  auto window = Open();
  desktop_.chooser.Answer(dir_.File("font.ttf"));
  windowtest::DropFiles(*window, {QString::fromStdString(dir_.File("mac.bin"))});
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_EQ(LastHandled(), drumlin::kExtractNamedFile);
  ASSERT_EQ(desktop_.chooser.requests().size(), 1u);
  EXPECT_EQ(desktop_.chooser.requests()[0].title, "Drumlin File Save");
  EXPECT_EQ(desktop_.chooser.requests()[0].proposedName, dir_.File("mac.bin.ttf"));
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("font.ttf")), testsupport::SampleFont().Build());
  EXPECT_EQ(window->currentFile(), dir_.File("mac.bin"));
  ASSERT_EQ(desktop_.messages.count(), 1u);
  EXPECT_EQ(desktop_.messages.lines()[0].rfind("Message: Successfully Extracted the TrueType Font. (", 0), 0u);

  windowtest::DropFiles(*window, {QString::fromStdString(dir_.File("mac.bin")), QString::fromStdString(dir_.File("x"))});
  EXPECT_TRUE(WaitFor([&] { return desktop_.messages.count() == 2; }));
  EXPECT_EQ(desktop_.messages.lines().back(), "Ouch!!: Only one file is acceptable...");
  EXPECT_EQ(desktop_.chooser.requests().size(), 1u);
  EXPECT_EQ(window->currentFile(), "");
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, WithTheQuitOptionClosesAfterOneDrop) {
  auto window = Open("/Q");
  EXPECT_TRUE(window->quitOption());
  desktop_.chooser.Answer(dir_.File("font.ttf"));
  windowtest::DropFiles(*window, {QString::fromStdString(dir_.File("mac.bin"))});
  EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }));
  EXPECT_TRUE(testsupport::Exists(dir_.File("font.ttf")));

  auto second = Open("-q");
  windowtest::DropFiles(*second, {QString::fromStdString(dir_.File("a")), QString::fromStdString(dir_.File("b"))});
  EXPECT_TRUE(WaitFor([&] { return !second->isVisible(); }));
  EXPECT_EQ(desktop_.messages.lines().back(), "Ouch!!: Only one file is acceptable...");
}

TEST_F(WindowTest, ExtractsTheFileOfItsCommandLineOnceItIsUp) {
  std::filesystem::create_directories(dir_.File("a b"));
  std::filesystem::copy_file(dir_.File("mac.bin"), dir_.File("a b/mac.bin"));
  auto window = Open("/q \"" + dir_.File("a b/mac.bin") + "\"");
  EXPECT_TRUE(window->quitOption());
  ASSERT_TRUE(WaitHandled(1));
  ASSERT_EQ(desktop_.chooser.requests().size(), 1u);
  EXPECT_EQ(desktop_.chooser.requests()[0].proposedName, dir_.File("a b/mac.bin.ttf"));
  // The quit option alone does not close the window.
  EXPECT_TRUE(window->isVisible());

  // An invalid command line records nothing.
  windowtest::ClearSettings();
  auto invalid = Open("/x");
  EXPECT_EQ(windowtest::StoredMyself(), "");
  EXPECT_FALSE(invalid->quitOption());
}

TEST_F(WindowTest, ConvertsACmapFileWhileShowingItsProgress) {
  testsupport::WriteBytes(dir_.File("cmap.bin"),
                          mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));
  auto window = Open();
  QSignalSpy shown(window.get(), &DrumlinWindow::progressShown);
  QSignalSpy cleared(window.get(), &DrumlinWindow::progressCleared);
  desktop_.chooser.Answer(dir_.File("cmap.bin"));
  desktop_.chooser.Answer(dir_.File("Newcmap.bin"));
  ASSERT_TRUE(windowtest::Trigger(*window, drumlin::kConvertCmap));

  // The conversion works on; the menu waits, and a file handed over meanwhile
  // is extracted once it has ended.
  EXPECT_TRUE(window->busy());
  EXPECT_FALSE(window->menuBar()->actions()[0]->menu()->actions()[0]->isEnabled());
  desktop_.chooser.Answer(std::nullopt);
  window->TakeHandedFile(QString::fromStdString(dir_.File("mac.bin")));
  EXPECT_EQ(desktop_.chooser.requests().size(), 2u);

  ASSERT_TRUE(WaitHandled(1, 60000));
  EXPECT_EQ(handled_->at(0).at(0).toInt(), drumlin::kConvertCmap);
  EXPECT_EQ(desktop_.chooser.requests()[0].title, "Drumlin cmap file Open");
  EXPECT_EQ(desktop_.chooser.requests()[1].title, "Drumlin cmap file Save");
  EXPECT_EQ(desktop_.chooser.requests()[1].proposedName, dir_.File("Newcmap.bin"));
  EXPECT_EQ(testsupport::ReadBytes(dir_.File("Newcmap.bin")).size(), 12u + 35334);

  QStringList texts;
  for (const QList<QVariant>& signal : shown) texts.append(signal.at(0).toString());
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_TRUE(texts.first().startsWith("\n     Counting Segments     \n     UNICODE = 0x"));
  EXPECT_TRUE(texts.contains("\n     Number of Segments = 1873     \n     Recording Segments     \n"
                             "     UNICODE = 0xffff     \n     Count of Segments = 1872     "));
  // The last counts stay, with the file written under them.
  const QString last = "\n     Number of Glyphs = 10167     \n     Count of Glyphs = 10167     \n     UNICODE = 0xffff     " +
                       QString("\n     Written: %1     ").arg(QString::fromStdString(dir_.File("Newcmap.bin")));
  EXPECT_EQ(texts.last(), last);
  EXPECT_EQ(cleared.count(), 3);
  // The last text stays, drawn in black on white.
  EXPECT_EQ(window->progressText(), last);
  QImage image = window->centralWidget()->grab().toImage();
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
  }
  EXPECT_GT(dark, 20);
  EXPECT_TRUE(desktop_.messages.empty());

  // Then the file handed over during the conversion.
  ASSERT_TRUE(WaitHandled(2));
  EXPECT_EQ(handled_->at(1).at(0).toInt(), drumlin::kExtractNamedFile);
  ASSERT_EQ(desktop_.chooser.requests().size(), 3u);
  EXPECT_EQ(desktop_.chooser.requests()[2].proposedName, dir_.File("mac.bin.ttf"));
  EXPECT_TRUE(window->menuBar()->actions()[0]->menu()->actions()[0]->isEnabled());
}

TEST_F(WindowTest, ShowsTheWholeProgressTextAtTheDefaultSize) {
  auto window = Open();
  ASSERT_EQ(window->size(), QSize(160, 100));
  auto* view = dynamic_cast<drumlin::ProgressView*>(window->centralWidget());
  ASSERT_NE(view, nullptr);
  const QString text = "\n     Number of Segments = 1873     \n     Recording Segments     \n"
                       "     UNICODE = 0xffff     \n     Count of Segments = 1872     ";
  view->SetText(text);
  const QSize needed = view->fontMetrics().size(0, text);
  EXPECT_TRUE(WaitFor([&] { return view->width() >= needed.width() && view->height() >= needed.height(); }))
      << view->width() << "x" << view->height() << " for " << needed.width() << "x" << needed.height();
  // A shorter text that follows keeps the size the window has grown to.
  QTest::qWait(50);
  EXPECT_GT(window->width(), 160);
  const QSize grown = window->size();
  view->SetText("\n     Counting Segments     ");
  QTest::qWait(50);
  EXPECT_EQ(window->size(), grown);
}

TEST_F(WindowTest, MessagesNameTheFileWritten) {
  auto window = Open();
  desktop_.chooser.Answer(dir_.File("font.ttf"));
  windowtest::DropFiles(*window, {QString::fromStdString(dir_.File("mac.bin"))});
  ASSERT_TRUE(WaitHandled(1));
  ASSERT_EQ(desktop_.messages.count(), 1u);
  EXPECT_EQ(desktop_.messages.details()[0], "Written: " + dir_.File("font.ttf"));

  // The same name again: the failure with the system's reason.
  desktop_.chooser.Answer(dir_.File("font.ttf"));
  windowtest::DropFiles(*window, {QString::fromStdString(dir_.File("mac.bin"))});
  ASSERT_TRUE(WaitHandled(2));
  ASSERT_EQ(desktop_.messages.count(), 2u);
  EXPECT_EQ(desktop_.messages.lines()[1], "ERROR: Function CreateFile(" + dir_.File("font.ttf") + ") failed!! File exist?");
  EXPECT_EQ(desktop_.messages.details()[1], "File exists.");

  // The desktop's message box shows the detail as its informative text.
  drumlin::QtDesktop desktop;
  QString shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->text() + "|" + box->informativeText();
    box->accept();
  });
  desktop.Show({"Message", "Success!", "Written: x.name"});
  EXPECT_EQ(shown, "Success!|Written: x.name");
}

TEST(AboutDialog, NamesTheSystemItRunsOn) {
  drumlin::AboutDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Tolva");
  QStringList lines;
  for (QLabel* label : dialog.findChildren<QLabel*>()) lines.append(label->text());
  EXPECT_TRUE(lines.contains("Drumlin Ver.0.5"));
  EXPECT_EQ(dialog.versionLabel()->text(), drumlin::RunningSystemText());
#ifndef Q_OS_WIN
  EXPECT_FALSE(dialog.versionLabel()->text().startsWith("Windows"));
  EXPECT_TRUE(dialog.versionLabel()->text().contains(QSysInfo::kernelVersion()));
#endif
  EXPECT_EQ(drumlin::SystemText("Debian GNU/Linux 13 (trixie)", "linux", "6.12.48-amd64"),
            "Debian GNU/Linux 13 (trixie), Linux 6.12.48-amd64");
  EXPECT_EQ(drumlin::SystemText("", "linux", "6.1.0"), "Linux 6.1.0");
}

}  // namespace
