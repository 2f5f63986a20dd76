#pragma once

#include <QObject>

class QSocketNotifier;

namespace qel {

// SIGTERM, SIGHUP and SIGINT (logout, shutdown, a closed terminal, Ctrl+C) end the program
// through its ordinary exit, which saves the notes: the handler only writes the signal's
// number into a pipe, and the event loop reads it and emits `received`. A second signal
// ends the program at once.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

signals:
    void received(int signal);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace qel
