#include "companion/ui/readerlink.h"

#include "companion/companionprotocol.h"
#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QTimer>

namespace qel {

ReaderLink::ReaderLink(QString readerProgram, QObject* parent)
    : QObject(parent), program_(std::move(readerProgram)) {}

void ReaderLink::open(const QString& commandKey) {
    auto* socket = new QLocalSocket(this);
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    const auto done = [this, socket, commandKey](Outcome outcome) {
        socket->disconnect(this);
        socket->disconnectFromServer();
        socket->deleteLater();
        emit finished(outcome, commandKey);
    };
    connect(socket, &QLocalSocket::connected, this, [socket, timeout] {
        socket->write(
            QByteArray::fromStdString(companionGreeting(QCoreApplication::applicationPid())) +
            "\n");
        timeout->start(3000);
    });
    // The reader answers the greeting before it takes the key.
    connect(socket, &QLocalSocket::readyRead, this, [socket, commandKey, done] {
        while (socket->canReadLine())
            if (socket->readLine().trimmed() == "1058 0") {
                for (const std::string& line : companionKeyLines(commandKey.toStdString()))
                    socket->write(QByteArray::fromStdString(line) + "\n");
                socket->flush();
                done(Outcome::Sent);
                return;
            }
    });
    // No reader listens: start one with the key, which it opens at its first paint.
    connect(socket, &QLocalSocket::errorOccurred, this, [this, socket, commandKey, done] {
        if (socket->state() == QLocalSocket::ConnectedState)
            return done(Outcome::Failed);
        done(QProcess::startDetached(program_, {commandKey}) ? Outcome::Started : Outcome::Failed);
    });
    connect(timeout, &QTimer::timeout, this, [done] { done(Outcome::Failed); });
    socket->connectToServer(SingleInstance::socketPath());
}

} // namespace qel
