#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace qel {

// One running copy per user. The first process holds a lock file and listens on a local
// socket named after the historic mutex; a later start sends it a message and exits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kName = "QEL_BIBLE_EXE_#1018312";
    // The message that asks the running main window to show itself.
    static constexpr const char* kShowMessage = "1117";

    // `name` names the lock and the socket; other programs (the companions) use their own.
    explicit SingleInstance(QObject* parent = nullptr, QString name = kName);
    ~SingleInstance() override;

    // True when this process is the first; otherwise the running one has been told to show
    // itself and this process should exit with code 0.
    bool claim();

    // Sends one line to the running instance. Returns false when none answers.
    static bool send(const QByteArray& message, int timeoutMs = 3000);
    static bool sendTo(const QString& name, const QByteArray& message, int timeoutMs = 3000);
    // The socket of the program called `name`.
    static QString socketPath(const QString& name = kName);

    // Per-user folder of the lock and the socket ($XDG_RUNTIME_DIR, else the temp folder).
    static QString runtimeFolder();

signals:
    // One line from another process; `sender` may be answered while it is connected.
    void messageReceived(const QByteArray& message, QLocalSocket* sender);

private:
    void acceptConnection();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace qel
