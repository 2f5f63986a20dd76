#include "platform/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace qel {
namespace {

QString socketPath() {
    return SingleInstance::runtimeFolder() + "/" + SingleInstance::kName;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

QString SingleInstance::runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
}

bool SingleInstance::claim() {
    lock_ = std::make_unique<QLockFile>(socketPath() + ".lock");
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        // A socket left by a crashed run would make listen() fail.
        QLocalServer::removeServer(socketPath());
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        // Without the server later starts cannot reach us, but this run is still the one.
        if (!server_.listen(socketPath()))
            qWarning("qelbible: cannot listen on %s", qPrintable(socketPath()));
        return true;
    }
    // The first instance may still be starting; give its server a moment to listen.
    QElapsedTimer timer;
    timer.start();
    while (!send(kShowMessage, 500) && timer.elapsed() < 3000)
        QThread::msleep(100);
    return false;
}

bool SingleInstance::send(const QByteArray& message, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message + "\n");
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine())
                emit messageReceived(socket->readLine().trimmed(), socket);
        });
    }
}

} // namespace qel
