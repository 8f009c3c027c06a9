// Shows drumlin's window converting a Mac cmap table, for
// scripts/screenshot_drumlin.sh: the real window, with its choosers answered
// from a script instead of dialogs. It writes a sample Mac cmap table into
// the folder given as its argument, converts it there, prints
// "segments-recorded" while the window shows the end of the segment pass
// (the text stays a second) and "done" at the end, then closes.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "macconv/headless/drumlin_headless.h"
#include "macconv/window/drumlin_window.h"
#include "macconv/window/qt_desktop.h"
#include "macconv/session/window_commands.h"
#include "tests/macconv/mac_tables.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::string input = folder + "/cmap.bin";
  testsupport::WriteBytes(input,
                          mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs())}));

  shell::ScriptedChooser chooser({input, folder + "/Newcmap.bin"});
  drumlin::QtDesktop desktop;
  drumlin::DrumlinWindow window({&chooser, &desktop, &desktop, &desktop},
                                macconv::ParseCommandLine("\"" + QCoreApplication::applicationFilePath().toStdString() + "\""));
  desktop.SetOwner(&window);

  bool told = false;
  QObject::connect(&window, &drumlin::DrumlinWindow::progressShown, [&](const QString& text) {
    if (told || !text.contains("Recording Segments") || !text.contains("0xffff")) return;
    told = true;
    // Let the text be painted before the picture is taken.
    QTimer::singleShot(200, [] {
      std::puts("segments-recorded");
      std::fflush(stdout);
    });
  });
  QObject::connect(&window, &drumlin::DrumlinWindow::commandHandled, [&](int command) {
    if (command != drumlin::kConvertCmap) return;
    std::puts("done");
    std::fflush(stdout);
    QTimer::singleShot(300, &window, &QWidget::close);
  });

  window.show();
  QTimer::singleShot(300, &window, [&] { window.RunCommand(drumlin::kConvertCmap); });
  return app.exec();
}
