// One running copy takes files: a second drumlin process hands its file to
// the running window and ends; one started with /Q keeps a window of its own;
// a socket left by a crashed run is replaced, and a copy that takes the
// connection without confirming is told apart from none.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <cstring>

#include "macconv/window/drumlin_window.h"
#include "macconv/window/single_copy.h"
#include "macconv/session/window_commands.h"
#include "tests/macconv_window/window_test_support.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using drumlin::CopyServer;
using drumlin::HandOverResult;
using testsupport::TempDir;
using windowtest::WaitFor;

// A socket file nobody listens on, as a crashed run leaves it.
void LeaveStaleSocket(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  close(fd);
  ASSERT_TRUE(testsupport::Exists(path));
}

bool WaitForExit(QProcess& process, int timeoutMs = 20000) {
  return WaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
}

TEST(SingleCopy, ASecondStartHandsItsFileToTheRunningWindow) {
  windowtest::ClearSettings();
  const QString name = drumlin::CopyServerName();
  ASSERT_TRUE(name.startsWith(QString::fromStdString(windowtest::RuntimeFolder()) + "/drumlin-"));
  LeaveStaleSocket(name.toStdString());

  CopyServer server;
  ASSERT_TRUE(server.Listen(name));
  CopyServer other;
  EXPECT_FALSE(other.Listen(name));

  TempDir dir;
  std::vector<uint8_t> mac = testsupport::SampleFont().Build();
  mac[0] = 't', mac[1] = 'r', mac[2] = 'u', mac[3] = 'e';
  testsupport::WriteBytes(dir.File("mac.bin"), mac);
  windowtest::FakeDesktop desktop;
  desktop.chooser.Answer(dir.File("font.ttf"));
  drumlin::DrumlinWindow window(desktop.services(), macconv::ParseCommandLine("\"" + dir.File("drumlin") + "\""));
  QObject::connect(&server, &CopyServer::fileHandedOver, &window, &drumlin::DrumlinWindow::TakeHandedFile,
                   Qt::QueuedConnection);
  QSignalSpy handled(&window, &drumlin::DrumlinWindow::commandHandled);
  window.show();

  const QString drumlin = QString::fromStdString(testsupport::BinFolder() + "/drumlin");
  QProcess second;
  second.setWorkingDirectory(QString::fromStdString(dir.path()));
  second.start(drumlin, {"mac.bin"});
  ASSERT_TRUE(WaitForExit(second)) << "the second start opened a window";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

  // The running window extracts from the file, named in full.
  ASSERT_TRUE(WaitFor([&] { return handled.count() == 1; }));
  EXPECT_EQ(handled.at(0).at(0).toInt(), drumlin::kExtractNamedFile);
  ASSERT_EQ(desktop.chooser.requests().size(), 1u);
  EXPECT_EQ(desktop.chooser.requests()[0].proposedName, dir.File("mac.bin.ttf"));
  EXPECT_EQ(testsupport::ReadBytes(dir.File("font.ttf")), testsupport::SampleFont().Build());

  // Started with /Q, a copy opens a window of its own and hands nothing over.
  QProcess own;
  own.setWorkingDirectory(QString::fromStdString(dir.path()));
  own.start(drumlin, {"/Q", "mac.bin"});
  EXPECT_FALSE(WaitForExit(own, 1500));
  EXPECT_EQ(handled.count(), 1);
  own.kill();
  own.waitForFinished(5000);

  // Closed, the copy takes no more files.
  server.Close();
  EXPECT_EQ(drumlin::HandOver(name, "x", 1000), HandOverResult::kNoCopyRunning);
}

TEST(SingleCopy, TwoProgramsShareOneWindowAndACrashedOneIsReplaced) {
  windowtest::ClearSettings();
  const QString drumlin = QString::fromStdString(testsupport::BinFolder() + "/drumlin");
  const std::string socket = drumlin::CopyServerName().toStdString();
  TempDir dir;
  QProcess first;
  first.setWorkingDirectory(QString::fromStdString(dir.path()));
  first.start(drumlin, {});
  ASSERT_TRUE(WaitFor([&] { return testsupport::Exists(socket); }));

  // The second program hands its (missing) file over and ends at once.
  QProcess second;
  second.setWorkingDirectory(QString::fromStdString(dir.path()));
  second.start(drumlin, {"missing.bin"});
  ASSERT_TRUE(WaitForExit(second));
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_EQ(first.state(), QProcess::Running);

  // The first one crashes and leaves its socket; the next start takes over.
  first.kill();
  ASSERT_TRUE(WaitForExit(first));
  ASSERT_TRUE(testsupport::Exists(socket));
  QProcess third;
  third.setWorkingDirectory(QString::fromStdString(dir.path()));
  third.start(drumlin, {});
  EXPECT_FALSE(WaitForExit(third, 1500));
  EXPECT_EQ(drumlin::HandOver(drumlin::CopyServerName(), QString(), 5000), HandOverResult::kHandedOver);
  third.kill();
  WaitForExit(third);
  QLocalServer::removeServer(drumlin::CopyServerName());
}

TEST(SingleCopy, TellsACopyThatDoesNotConfirmFromNone) {
  const QString name = QString::fromStdString(windowtest::RuntimeFolder()) + "/silent";
  EXPECT_EQ(drumlin::HandOver(name, "x", 300), HandOverResult::kNoCopyRunning);
  QLocalServer silent;
  ASSERT_TRUE(silent.listen(name));
  EXPECT_EQ(drumlin::HandOver(name, "x", 300), HandOverResult::kNoAnswer);
}

}  // namespace
