#include "platform/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace qel {
QString SingleInstance::socketPath(const QString& name) {
    return runtimeFolder() + "/" + name;
}

SingleInstance::SingleInstance(QObject* parent, QString name)
    : QObject(parent), name_(std::move(name)) {
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
    const QString path = socketPath(name_);
    lock_ = std::make_unique<QLockFile>(path + ".lock");
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        // A socket left by a crashed run would make listen() fail.
        QLocalServer::removeServer(path);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        // Without the server later starts cannot reach us, but this run is still the one.
        if (!server_.listen(path))
            qWarning("cannot listen on %s", qPrintable(path));
        return true;
    }
    // The first instance may still be starting; give its server a moment to listen.
    QElapsedTimer timer;
    timer.start();
    while (!sendTo(name_, kShowMessage, 500) && timer.elapsed() < 3000)
        QThread::msleep(100);
    return false;
}

bool SingleInstance::send(const QByteArray& message, int timeoutMs) {
    return sendTo(kName, message, timeoutMs);
}

bool SingleInstance::sendTo(const QString& name, const QByteArray& message, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(name));
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
