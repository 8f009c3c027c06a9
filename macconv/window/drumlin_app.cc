#include "macconv/window/drumlin_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "macconv/session/command_line.h"
#include "macconv/window/drumlin_icon.h"
#include "macconv/window/drumlin_window.h"
#include "macconv/window/program_command_line.h"
#include "macconv/window/qt_desktop.h"
#include "macconv/window/single_copy.h"

namespace drumlin {
namespace {

std::string FileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

// The file a second start hands over, as a full path: the running copy may
// stand in another folder.
QString HandedFileName(const std::string& fileName) {
  if (fileName.empty()) return QString();
  return QFileInfo(QFile::decodeName(fileName.c_str())).absoluteFilePath();
}

}  // namespace

int RunDrumlinWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(DrumlinIcon());
  QGuiApplication::setDesktopFileName("drumlin");

  // The program path and the arguments Qt has not taken for itself, read as
  // one command line.
  std::vector<std::string> arguments{FileName(QCoreApplication::applicationFilePath())};
  const QStringList qtArguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < qtArguments.size(); ++i) arguments.push_back(FileName(qtArguments[i]));
  const macconv::CommandLine startLine = macconv::ParseCommandLine(JoinArguments(arguments));

  // Looking for a running copy and becoming it happen under one lock, so
  // that two copies started at once do not both take files.
  const QString serverName = CopyServerName();
  std::unique_ptr<QLockFile> startLock;
  if (!startLine.quit) {
    const QString lockBase = QDir::isAbsolutePath(serverName) ? serverName : QDir::temp().filePath(serverName);
    startLock = std::make_unique<QLockFile>(lockBase + ".lock");
    startLock->tryLock(10000);
    switch (HandOver(serverName, HandedFileName(startLine.fileName))) {
      case HandOverResult::kHandedOver:
        return 0;
      case HandOverResult::kNoAnswer:
        std::fputs("drumlin: the running copy does not answer\n", stderr);
        return 1;
      case HandOverResult::kNoCopyRunning:
        break;
    }
  }

  QtDesktop desktop;
  DrumlinWindow window(desktop.services(), startLine);
  desktop.SetOwner(&window);

  CopyServer server;
  if (!startLine.quit) {
    if (!server.Listen(serverName)) {
      std::fprintf(stderr, "drumlin: cannot take files from other starts (%s)\n", FileName(serverName).c_str());
    }
    QObject::connect(&server, &CopyServer::fileHandedOver, &window, &DrumlinWindow::TakeHandedFile,
                     Qt::QueuedConnection);
    // The closing window takes no more files.
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &server, &CopyServer::Close);
  }
  if (startLock) startLock->unlock();

  window.show();
  return app.exec();
}

}  // namespace drumlin
