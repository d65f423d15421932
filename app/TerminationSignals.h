#pragma once

#include <signal.h>

#include <QObject>
#include <functional>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

namespace zelkora {

// Hands signals such as SIGTERM, SIGHUP and SIGINT to the event loop: their handler only writes
// a byte to a socket, which is all a signal handler may safely do, and onSignal runs on the
// user-interface thread once the loop reads it. The previous handlers come back on destruction.
// One instance per process.
class TerminationSignals : public QObject {
public:
    TerminationSignals(std::initializer_list<int> signalNumbers, std::function<void()> onSignal);
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    ~TerminationSignals() override;

private:
    struct Previous {
        int signalNumber;
        struct sigaction action;
    };

    std::function<void()> onSignal_;
    std::vector<Previous> previous_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelkora
