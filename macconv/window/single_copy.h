// One running copy of the converter takes files: it listens on a local
// socket named after the program and the user; a second start hands it the
// file named on its command line and opens no window of its own.
//
// A hand-over is one message: a 4-byte big-endian length, then the file name
// (the system's file name bytes, possibly empty, at most kMaxHandedName
// bytes). The running copy answers with the one byte kHandOverReceived once it
// has the whole name.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace drumlin {

inline constexpr int kMaxHandedName = 64 * 1024;
inline constexpr char kHandOverReceived = 'K';

// "drumlin-<user>", in $XDG_RUNTIME_DIR (a folder only the user can enter)
// when that is set, else in the system's temporary folder.
QString CopyServerName();

enum class HandOverResult {
  kHandedOver,     // the running copy has the name
  kNoCopyRunning,  // nothing answers under the name (or only a stale socket)
  kNoAnswer,       // a copy took the connection but did not confirm in time
};

HandOverResult HandOver(const QString& serverName, const QString& fileName, int timeoutMs = 10000);

// The running copy's side.
class CopyServer : public QObject {
  Q_OBJECT

 public:
  explicit CopyServer(QObject* parent = nullptr);
  ~CopyServer() override;

  // Listens under `name`. A socket left by a crashed run (nothing answers on
  // it) is removed first. False when another copy answers under the name or
  // the socket cannot be made.
  bool Listen(const QString& name);
  void Close();
  bool listening() const { return server_.isListening(); }

 signals:
  // A second start handed over this file name (may be empty: it only asks
  // the running copy to come to the front).
  void fileHandedOver(const QString& fileName);

 private:
  void Accept();

  QLocalServer server_;
};

}  // namespace drumlin
