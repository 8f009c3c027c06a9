// The window session without a window: a recording front end, scripted
// choosers and recorded message boxes stand in for the two windows. The
// gate before the first run, the refusal while a run is under way, the
// banner held back until the run's end, the dialogs' commands, the report
// saved in the front end's form, the recent fonts and the log's hand-over
// from another thread. (The list's bound is the desktop tests'.)
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "editor/session/commands.h"
#include "editor/session/session.h"
#include "editor/model/table_list.h"
#include "platform/paths.h"
#include "shell/headless.h"
#include "tests/editor/editor_test_support.h"

namespace {

using editor::MenuCommand;

// A window that records what the session asks of it.
class RecordingWindow : public editor::SessionFrontEnd {
 public:
  void WakeForDelivery() override { ++deliveryWakes; }
  void WakeForLog() override { ++logWakes; }
  bool ShowLog(const std::string& text) override {
    if (!canShow) return false;
    shown.push_back(text);
    return true;
  }
  void ShowTitle(const std::string& title) override { this->title = title; }
  void RunTableDialog(editor::TableDialog& dialog) override {
    calls.push_back("dialog " + std::to_string(static_cast<int>(dialog.command())));
    if (onDialog) onDialog(dialog);
  }
  // A form of its own, so that a test sees the session save this one.
  std::string ReportAsShown(const std::string& report) override { return shell::CrlfToLf(report); }
  void CloseWindow() override { calls.push_back("close"); }
  void CopyLog() override { calls.push_back("copy"); }
  void SelectAllLog() override { calls.push_back("select all"); }
  void RunEnded() override { calls.push_back("run ended"); }

  std::atomic<int> deliveryWakes{0};
  std::atomic<int> logWakes{0};
  bool canShow = true;
  std::vector<std::string> shown;
  std::string title;
  std::vector<std::string> calls;
  std::function<void(editor::TableDialog&)> onDialog;
};

class MemoryRecentFonts : public editor::RecentFontList {
 public:
  std::vector<std::string> Read() override { return fonts; }
  void Save(const std::vector<std::string>& list) override {
    fonts = list;
    ++saves;
  }
  std::vector<std::string> fonts;
  int saves = 0;
};

struct SessionFixture {
  explicit SessionFixture(std::vector<std::string> answers = {}, bool withRecentFonts = true)
      : chooser(std::move(answers)),
        session(editor::SessionSetup{dir.path(),
                                     platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName)},
                window, chooser, messages, withRecentFonts ? &recent : nullptr) {}

  // Delivers what the run hands over until it has ended.
  bool Finish() {
    for (int i = 0; i < 60000 && session.busy(); ++i) {
      session.Deliver();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !session.busy();
  }
  std::string LogSince(size_t mark) const { return session.LogText().substr(mark); }

  testsupport::TempDir dir;
  RecordingWindow window;
  shell::ScriptedChooser chooser;
  testsupport::RecordedMessages messages;
  MemoryRecentFonts recent;
  editor::Session session;
};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(WindowSession, BeforeTheFirstRunOnlyTheEditingCommandsAreHeldBack) {
  SessionFixture f;
  testsupport::WriteText(f.dir.File("Quillet.ini"), "[Quillet]\r\nNumber_Of_Tables=7\r\nTable0=head\"\r\n");
  f.session.Start();
  EXPECT_EQ(editor::ReadTableCount(f.dir.path()), 0u);
  f.session.RefreshLog();
  EXPECT_EQ(f.window.shown, std::vector<std::string>{editor::Banner()});
  f.session.RefreshLog();  // nothing new: not shown again
  EXPECT_EQ(f.window.shown.size(), 1u);

  for (MenuCommand command : {MenuCommand::kAddTable, MenuCommand::kExportTable, MenuCommand::kDeleteTable})
    f.session.RunCommand(command);
  EXPECT_EQ(f.session.LogText(),
            editor::Banner() + editor::kOpenFirstLine + editor::kOpenFirstLine + editor::kOpenFirstLine);
  EXPECT_TRUE(f.window.calls.empty());
  EXPECT_EQ(f.chooser.asked(), 0);

  // Recalc is not held back: its chooser proposes "New", and a cancel says so.
  size_t mark = f.session.LogText().size();
  f.session.RunCommand(MenuCommand::kRecalc);
  ASSERT_EQ(f.chooser.asked(), 1);
  EXPECT_EQ(f.chooser.last().proposedName, "New");
  EXPECT_EQ(f.LogSince(mark), "Failed in opening TrueType Font \"\".\r\n--\r\n");

  f.session.RunCommand(MenuCommand::kSaveReport);
  EXPECT_EQ(f.messages.lines(), std::vector<std::string>{"Information: There is no report to save. Open a font first."});

  // The window's own commands go to the window; a number that is no command does nothing.
  mark = f.session.LogText().size();
  f.session.RunCommand(MenuCommand::kCopy);
  f.session.RunCommand(MenuCommand::kSelectAll);
  f.session.RunCommand(MenuCommand::kQuit);
  f.session.RunCommand(static_cast<MenuCommand>(1));
  EXPECT_EQ(f.window.calls, (std::vector<std::string>{"copy", "select all", "close"}));
  EXPECT_EQ(f.LogSince(mark), "");
  f.session.RunCommand(MenuCommand::kAbout);
  EXPECT_EQ(f.LogSince(mark), editor::Banner());
  EXPECT_FALSE(f.session.ready());
}

TEST(WindowSession, ARunUnderWayRefusesCommandsAndAboutWaitsForItsEnd) {
  SessionFixture f({"never asked"});
  std::string missing = f.dir.File("missing.ttf");
  // The run stops at its message box until the session delivers it.
  ASSERT_TRUE(f.session.OpenFont(missing));
  ASSERT_TRUE(f.session.busy());
  EXPECT_EQ(f.window.title, "missing.ttf - Quillet");
  size_t mark = f.session.LogText().size();

  f.session.RunCommand(MenuCommand::kOpen);
  f.session.RunCommand(MenuCommand::kRecalc);
  f.session.RunCommand(MenuCommand::kExportTable);  // not ready yet: the gate answers before the refusal
  f.session.RunCommand(MenuCommand::kSaveReport);
  f.session.OpenRecent(f.dir.File("other.ttf"));
  EXPECT_FALSE(f.session.OpenFont(f.dir.File("other.ttf")));
  f.session.RunCommand(MenuCommand::kAbout);
  std::string since = f.LogSince(mark);
  EXPECT_EQ(Count(since, editor::BusyLine(missing)), 5u);
  EXPECT_EQ(Count(since, editor::kOpenFirstLine), 1u);
  EXPECT_EQ(Count(since, "Quillet Version"), 0u);
  EXPECT_EQ(f.chooser.asked(), 0);
  EXPECT_EQ(f.session.fontPath(), missing);
  EXPECT_EQ(f.session.runsStarted(), 1);

  ASSERT_TRUE(f.Finish());
  EXPECT_GT(f.window.deliveryWakes.load(), 0);
  EXPECT_EQ(f.messages.lines(),
            std::vector<std::string>{"ERROR: Function CreateFile(" + missing + ") has an error at 2!! 2"});
  EXPECT_TRUE(f.session.ready());
  EXPECT_EQ(f.session.runsEnded(), 1);
  EXPECT_EQ(f.window.calls, std::vector<std::string>{"run ended"});
  // The banner follows the run's report, which keeps no refusal.
  EXPECT_TRUE(f.session.LogText().ends_with(editor::Banner()));
  // A file that could not be opened is not said to be opened.
  EXPECT_EQ(f.session.lastReport(), "");
  // A run that did not reach "Ready" leaves the recent fonts alone.
  EXPECT_EQ(f.recent.saves, 0);

  // The gate is open now: with the run over, the dialog comes up.
  f.session.RunCommand(MenuCommand::kExportTable);
  EXPECT_EQ(f.window.calls.back(), "dialog 40009");
}

TEST(WindowSession, OpenedFontServesTheDialogsAndTheReport) {
  testsupport::TempDir out;
  const std::string font = out.File("Sample.ttf"), hhea = out.File("Sample.hhea"), added = out.File("Added.ttf"),
                    report = out.File("Sample.txt");
  testsupport::WriteBytes(font, testsupport::SampleFont().Build());
  testsupport::MakeFolder(out.File("sub"));
  SessionFixture f({out.File("sub/../Sample.ttf"), hhea, hhea, added, report});
  f.session.RunCommand(MenuCommand::kOpen);
  ASSERT_TRUE(f.Finish());
  EXPECT_EQ(f.window.title, "Sample.ttf - Quillet");
  EXPECT_TRUE(f.session.lastReport().ends_with("Ready\r\n--\r\n"));
  EXPECT_TRUE(f.messages.empty());
  // Remembered from the root, without the steps up and down.
  ASSERT_EQ(f.recent.fonts.size(), 1u);
#if !defined(_WIN32)
  EXPECT_EQ(f.recent.fonts[0], font);
#endif

  // Export lists the font's tables as the run wrote them, and writes the one picked.
  std::vector<std::string> listed;
  uint32_t counted = 0;
  f.window.onDialog = [&](editor::TableDialog& dialog) {
    listed = dialog.tables();
    counted = dialog.tableCount();
    EXPECT_TRUE(dialog.Pick("hhea").done());
  };
  f.session.RunCommand(MenuCommand::kExportTable);
  EXPECT_EQ(listed, (std::vector<std::string>{"OS/2", "cmap", "head", "hhea", "hmtx", "maxp", "name", "post"}));
  EXPECT_EQ(counted, 8u);
  EXPECT_EQ(testsupport::ReadBytes(hhea), testsupport::MakeHhea());

  // Add lists nothing; Browse asks the table file chooser; OK adds what was typed.
  f.window.onDialog = [&](editor::TableDialog& dialog) {
    EXPECT_TRUE(dialog.tables().empty());
    EXPECT_EQ(dialog.BrowseTableFile(), hhea);
    EXPECT_EQ(f.chooser.last().title, "Quillet Open a table file to be added.");
    EXPECT_TRUE(dialog.Add("vhea", hhea).done());
    // A dialog's command is its own: a list's OK means nothing to Add.
    EXPECT_FALSE(dialog.Pick("head").done());
  };
  f.session.RunCommand(MenuCommand::kAddTable);
  EXPECT_TRUE(testsupport::Exists(added));
  EXPECT_NE(f.session.LogText().find("Add vhea table.\r\n--\r\n"), std::string::npos);

  // The report is saved in the form the window shows it.
  f.session.RunCommand(MenuCommand::kSaveReport);
  EXPECT_EQ(testsupport::ReadText(report), shell::CrlfToLf(f.session.lastReport()));
  EXPECT_EQ(f.window.calls, (std::vector<std::string>{"run ended", "dialog 40009", "dialog 40012"}));
}

TEST(WindowSession, RecentFontsForgetFontsThatHaveGone) {
  SessionFixture f;
  const std::string a = f.dir.File("a.ttf"), b = f.dir.File("b.ttf"), gone = f.dir.File("gone.ttf");
  testsupport::WriteBytes(a, testsupport::SampleFont().Build());
  testsupport::WriteBytes(b, testsupport::SampleFont().Build());
  f.recent.fonts = {a, gone, b};
  EXPECT_EQ(f.session.RecentFonts(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(f.recent.fonts, (std::vector<std::string>{a, b}));
  int saves = f.recent.saves;
  f.session.RecentFonts();  // nothing gone: nothing written
  EXPECT_EQ(f.recent.saves, saves);

  // An entry that has gone since the menu showed it leaves the list; the run says why.
  f.recent.fonts = {gone, a};
  f.session.OpenRecent(gone);
  EXPECT_EQ(f.recent.fonts, std::vector<std::string>{a});
  ASSERT_TRUE(f.Finish());
  EXPECT_EQ(f.session.fontPath(), gone);
  ASSERT_EQ(f.messages.count(), 1u);

  f.session.OpenRecent(b);
  ASSERT_TRUE(f.Finish());
  ASSERT_EQ(f.recent.fonts.size(), 2u);
  EXPECT_EQ(platform::NameOf(f.recent.fonts[0]), "b.ttf");
  f.session.ClearRecentFonts();
  EXPECT_TRUE(f.recent.fonts.empty());

  // A window without a list: no recent fonts, and a run's end writes none.
  SessionFixture plain({}, false);
  plain.recent.fonts = {a};
  EXPECT_TRUE(plain.session.RecentFonts().empty());
  ASSERT_TRUE(plain.session.OpenFont(a));
  ASSERT_TRUE(plain.Finish());
  EXPECT_EQ(plain.recent.saves, 0);
}

TEST(WindowSession, TheLogFromAnotherThreadWakesTheWindowOnceUntilShown) {
  SessionFixture f;
  f.session.RefreshLog();
  std::thread other([&] {
    for (int i = 0; i < 3; ++i) f.session.log().Append("line\r\n");
  });
  other.join();
  EXPECT_EQ(f.window.logWakes.load(), 1);
  EXPECT_EQ(f.window.shown.size(), 1u);  // never shown from the other thread
  f.session.RefreshLog();
  EXPECT_EQ(f.window.shown.back(), editor::Banner() + "line\r\nline\r\nline\r\n");
  std::thread again([&] { f.session.log().Append("more\r\n"); });
  again.join();
  EXPECT_EQ(f.window.logWakes.load(), 2);

  // A window that cannot show the log yet gets it again at the next refresh.
  f.window.canShow = false;
  f.session.RefreshLog();
  f.window.canShow = true;
  size_t shown = f.window.shown.size();
  f.session.RefreshLog();
  ASSERT_EQ(f.window.shown.size(), shown + 1);
  EXPECT_TRUE(f.window.shown.back().ends_with("more\r\n"));
}

}  // namespace
