#include "app/endsignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qel {
namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void onEndSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    // Nothing else is safe here; a full pipe means a signal is waiting already.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
}

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

} // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    // The second signal finds the default action again.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals() {
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
}

void EndSignals::readSignal() {
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1)
        emit received(number);
}

} // namespace qel
