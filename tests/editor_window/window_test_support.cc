#include "tests/editor_window/window_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTimer>

#include "platform/program_folder.h"
#include "editor/model/checksum_binding.h"
#include "tests/support/font_builder.h"

namespace windowtest {

void OnNextDialog(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(2);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    act(dialog);
  });
  poll->start();
}

WindowFixture::WindowFixture() {
  editor::gui::WindowSetup setup;
  setup.settingsFolder = dir.path();
  setup.programPath = kProgramPath;
  setup.libraryName = platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName);
  setup.chooser = &chooser;
  setup.messages = &messages;
  window = std::make_unique<editor::gui::MainWindow>(setup);
  window->show();
}

void WindowFixture::Trigger(const char* itemText) {
  for (QAction* menu : window->menuBar()->actions())
    for (QAction* item : menu->menu()->actions())
      if (item->text() == QLatin1String(itemText)) {
        item->trigger();
        return;
      }
  ADD_FAILURE() << "no menu item " << itemText;
}

bool WindowFixture::OpenBuiltFont(const std::string& name, const std::vector<uint8_t>& bytes) {
  testsupport::WriteBytes(dir.File(name), bytes);
  chooser.Answer(dir.File(name));
  Trigger("&Open TrueType Font...");
  return window->WaitForAnalysis();
}

}  // namespace windowtest
