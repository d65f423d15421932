#include "app/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace zelkora {
namespace {

// The two ends of the socket: the handler writes to [0], the event loop reads [1].
int socketEnds[2] = {-1, -1};

void WriteWakeUp(int /*signalNumber*/) {
    const int savedErrno = errno;
    const char wakeUp = 1;
    // A full socket already holds a wake-up, so a byte that cannot be written is not missed.
    [[maybe_unused]] const ssize_t written = ::write(socketEnds[0], &wakeUp, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::initializer_list<int> signalNumbers,
                                       std::function<void()> onSignal)
    : onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, socketEnds) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(socketEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char drained[64];
        while (::read(socketEnds[1], drained, sizeof drained) > 0) {
        }
        onSignal_();
    });
    for (const int signalNumber : signalNumbers) {
        struct sigaction action {};
        action.sa_handler = WriteWakeUp;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        Previous previous{signalNumber, {}};
        if (::sigaction(signalNumber, &action, &previous.action) == 0) {
            previous_.push_back(previous);
        }
    }
}

TerminationSignals::~TerminationSignals() {
    for (const Previous& previous : previous_) {
        ::sigaction(previous.signalNumber, &previous.action, nullptr);
    }
    delete notifier_;
    for (int& end : socketEnds) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

}  // namespace zelkora
