#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace orv
{
namespace
{

// How long a later start keeps trying to reach a first start that holds
// the lock but may not be listening yet (it is still starting).
constexpr int kReachFirstMs = 3000;

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& instanceName, const QString& folder, QObject* parent)
    : QObject(parent)
{
    const QString base = (folder.isEmpty() ? runtimeFolder() : folder) + QLatin1Char('/') + instanceName;
    lockPath_ = base + QStringLiteral(".lock");
    serverPath_ = base + QStringLiteral(".socket");

    lock_ = std::make_unique<QLockFile>(lockPath_);
    // The lock is held for the life of the program; a lock left by a start
    // that died is recognised by its process id and taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        listen();
        return;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
        listen(); // the lock itself failed: run as the first start
        return;
    }
    first_ = false;
    delivered_ = sendToFirst();
}

SingleInstance::~SingleInstance()
{
    server_.close();
}

void SingleInstance::listen()
{
    // We hold the lock, so a socket file left behind is stale.
    QLocalServer::removeServer(serverPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            emit anotherStart();
        }
    });
    server_.listen(serverPath_);
}

bool SingleInstance::sendToFirst()
{
    const QDeadlineTimer deadline(kReachFirstMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverPath_);
        if (socket.waitForConnected(static_cast<int>(std::min<qint64>(250, deadline.remainingTime())))) {
            socket.write("raise\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return true;
        }
        // Not listening yet: the first start is still starting.
        QThread::msleep(50);
    }
    return false;
}

} // namespace orv
