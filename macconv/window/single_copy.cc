#include "macconv/window/single_copy.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace drumlin {
namespace {

// How long a connection may take to deliver its message.
constexpr int kConnectionLifetimeMs = 10000;

QString UserName() {
  for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
    QString name = qEnvironmentVariable(variable);
    if (!name.isEmpty()) return name;
  }
#ifdef Q_OS_UNIX
  return "uid" + QString::number(getuid());
#else
  return "user";
#endif
}

// Letters, digits, '.', '_' and '-' only, so the name stays one path element.
QString Sanitised(const QString& text) {
  QString out;
  for (QChar c : text) out.append(c.isLetterOrNumber() || c == '.' || c == '_' || c == '-' ? c : QChar('_'));
  return out;
}

// Reads one hand-over message from a connection and confirms it.
class HandOverReader : public QObject {
 public:
  HandOverReader(QLocalSocket* socket, CopyServer* server) : QObject(socket), socket_(socket), server_(server) {
    connect(socket, &QLocalSocket::readyRead, this, [this] { Read(); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kConnectionLifetimeMs, socket, [socket] { socket->abort(); });
  }

  void Read() {
    buffer_.append(socket_->readAll());
    if (buffer_.size() < 4) return;
    const quint32 length = qFromBigEndian<quint32>(buffer_.constData());
    if (length > static_cast<quint32>(kMaxHandedName)) {
      socket_->abort();
      return;
    }
    if (buffer_.size() < static_cast<qsizetype>(4 + length)) return;
    const QString name = QFile::decodeName(buffer_.mid(4, length));
    buffer_.clear();
    socket_->write(QByteArray(1, kHandOverReceived));
    socket_->flush();
    socket_->disconnectFromServer();
    if (server_) emit server_->fileHandedOver(name);
  }

 private:
  QLocalSocket* socket_;
  QPointer<CopyServer> server_;
  QByteArray buffer_;
};

}  // namespace

QString CopyServerName() {
  const QString name = "drumlin-" + Sanitised(UserName());
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) return QDir(runtime).filePath(name);
  return name;
}

HandOverResult HandOver(const QString& serverName, const QString& fileName, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(serverName);
  if (!socket.waitForConnected(timeoutMs)) return HandOverResult::kNoCopyRunning;

  QDeadlineTimer deadline(timeoutMs);
  QByteArray name = QFile::encodeName(fileName).left(kMaxHandedName);
  QByteArray message(4, '\0');
  qToBigEndian<quint32>(static_cast<quint32>(name.size()), message.data());
  message.append(name);
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return HandOverResult::kNoAnswer;
  }
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      return HandOverResult::kNoAnswer;
    }
  }
  char answer = 0;
  socket.getChar(&answer);
  return answer == kHandOverReceived ? HandOverResult::kHandedOver : HandOverResult::kNoAnswer;
}

CopyServer::CopyServer(QObject* parent) : QObject(parent) {
  connect(&server_, &QLocalServer::newConnection, this, &CopyServer::Accept);
}

CopyServer::~CopyServer() { Close(); }

bool CopyServer::Listen(const QString& name) {
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000)) return false;  // a live copy holds the name
  }
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  return server_.listen(name);
}

void CopyServer::Close() { server_.close(); }

void CopyServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) new HandOverReader(socket, this);
}

}  // namespace drumlin
