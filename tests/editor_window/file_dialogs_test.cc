// The choosers as Qt file dialogs, and the log's text as the view shows it.
#include "editor/window/file_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include "editor/session/choosers.h"
#include "editor/window/log_text.h"
#include "tests/editor_window/window_test_support.h"

namespace {

using editor::gui::DialogNameFilters;

TEST(FileDialogs, FilterListsInTheDialogsForm) {
  EXPECT_EQ(DialogNameFilters(editor::kFontFilter, ""),
            (std::vector<std::string>{"TrueType Font (*.ttf)", "TrueType Comp (*.ttc)", "All Files (*)"}));
  EXPECT_EQ(DialogNameFilters(editor::kSaveFilter, "*.otf"),
            (std::vector<std::string>{"*.otf", "All Files (*)", "TrueType Font (*.ttf)", "TrueType Comp (*.ttc)"}));
  EXPECT_EQ(DialogNameFilters("Fonts|*.ttf;*.ttc|", ""), std::vector<std::string>{"Fonts (*.ttf *.ttc)"});
  EXPECT_TRUE(DialogNameFilters("", "").empty());
}

struct Seen {
  QString title;
  QStringList filters;
  QString selectedFilter;
  QString suffix;
  QStringList files;
  bool saving = false;
};

// Runs one chooser; `act` sees its dialog, then either types a name and
// accepts, or cancels.
std::optional<std::string> RunChooser(editor::gui::QtFileChooser& chooser, const shell::ChooserRequest& request,
                                      Seen* seen, const std::function<void(QFileDialog*, QLineEdit*)>& act) {
  windowtest::OnNextDialog([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    seen->title = dialog->windowTitle();
    seen->filters = dialog->nameFilters();
    seen->selectedFilter = dialog->selectedNameFilter();
    seen->suffix = dialog->defaultSuffix();
    seen->files = dialog->selectedFiles();
    seen->saving = dialog->acceptMode() == QFileDialog::AcceptSave;
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    act(dialog, name);
  });
  return chooser.Choose(request);
}

TEST(FileDialogs, ChoosersAskAndKeepTheirOwnCustomFilter) {
  testsupport::TempDir dir;
  std::string font = dir.File("Sample.ttf");
  testsupport::WriteText(font, "not really a font");
  QWidget owner;
  editor::gui::QtFileChooser chooser(&owner);
  Seen seen;

  // The save chooser proposes the New name; a typed pattern becomes its custom filter.
  auto answer =
      RunChooser(chooser, editor::SaveChooserRequest(font, "OS_2"), &seen, [](QFileDialog* d, QLineEdit* name) {
        name->setText("*.otf");
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(d->selectedNameFilter(), "*.otf");
        EXPECT_TRUE(d->isVisible());
        d->reject();
      });
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_EQ(seen.title, "Quillet File Save");
  EXPECT_EQ(seen.filters, QStringList({"All Files (*)", "TrueType Font (*.ttf)", "TrueType Comp (*.ttc)"}));
  EXPECT_EQ(seen.selectedFilter, "All Files (*)");
  EXPECT_EQ(seen.suffix, "ttf");
  EXPECT_TRUE(seen.saving);
  EXPECT_EQ(seen.files, QStringList(QString::fromStdString(dir.File("NewSample.ttf.OS_2"))));
  EXPECT_EQ(chooser.customFilter(editor::ChooserKind::kSaveFile), "*.otf");

  // The next save offers it first but shows the first filter of its list; a
  // name without a suffix gets "ttf".
  answer = RunChooser(chooser, editor::SaveChooserRequest(font, ""), &seen, [](QFileDialog*, QLineEdit* name) {
    name->setText("Fixed");
    QTest::keyClick(name, Qt::Key_Return);
  });
  EXPECT_EQ(seen.filters.value(0), "*.otf");
  EXPECT_EQ(seen.selectedFilter, "All Files (*)");
  EXPECT_EQ(answer, dir.File("Fixed.ttf"));

  // The font chooser has its own title and list, without the save chooser's pattern.
  answer = RunChooser(chooser, editor::FontChooserRequest(), &seen, [&](QFileDialog* d, QLineEdit* name) {
    d->setDirectory(QString::fromStdString(dir.path()));
    name->setText("Sample.ttf");
    QTest::keyClick(name, Qt::Key_Return);
  });
  EXPECT_EQ(seen.title, "Quillet File Open");
  EXPECT_EQ(seen.filters, QStringList({"TrueType Font (*.ttf)", "TrueType Comp (*.ttc)", "All Files (*)"}));
  EXPECT_FALSE(seen.saving);
  EXPECT_EQ(answer, font);
  EXPECT_EQ(chooser.customFilter(editor::ChooserKind::kFontFile), "");

  RunChooser(chooser, editor::TableFileChooserRequest(), &seen, [](QFileDialog* d, QLineEdit*) { d->reject(); });
  EXPECT_EQ(seen.title, "Quillet Open a table file to be added.");
  EXPECT_EQ(seen.filters, QStringList({"All Files (*)"}));
  EXPECT_EQ(seen.suffix, "");
}

TEST(LogText, LinesShowAsUtf8OrShiftJis) {
  // A path in UTF-8, a name string in Shift-JIS (the bytes of U+65E5 U+672C).
  std::string log = "TrueType Font /fonts/\xE6\x97\xA5.ttf is opened.\r\nNameString = \x93\xFA\x96\x7B\r\n--\r\n";
  QString shown = editor::gui::LogDisplayText(log);
  EXPECT_EQ(shown, QString::fromUtf8("TrueType Font /fonts/\u65E5.ttf is opened.\nNameString = \u65E5\u672C\n--\n"));
  EXPECT_EQ(editor::gui::LogDisplayText("no line end"), "no line end");
  EXPECT_EQ(editor::gui::LogDisplayText("\n\r\n"), "\n\n");
}

}  // namespace
