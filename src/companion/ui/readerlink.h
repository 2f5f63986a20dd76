#pragma once

#include <QObject>
#include <QString>

namespace qel {

// Opens a command key in the reader: through the companion protocol when the reader runs,
// else by starting it with the key on its command line. Never blocks the window.
class ReaderLink : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Sent, Started, Failed };

    explicit ReaderLink(QString readerProgram, QObject* parent = nullptr);
    void open(const QString& commandKey);

signals:
    void finished(qel::ReaderLink::Outcome outcome, const QString& commandKey);

private:
    QString program_;
};

} // namespace qel
