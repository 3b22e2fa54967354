#include "cli/StopSignals.h"

#include <csignal>

namespace velmarto {

namespace {

CancellationToken stopRequest;
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void requestStop(int signal) {
    stopSignal = signal;
    stopRequest.cancel();
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

} // namespace

StopSignals::StopSignals() {
    handle(SIGINT, requestStop);
    handle(SIGTERM, requestStop);
    // A closed terminal: its engines must not go on working for nobody.
    handle(SIGHUP, requestStop);
}

StopSignals::~StopSignals() {
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
}

const CancellationToken* StopSignals::cancellation() const {
    return &stopRequest;
}

int StopSignals::exitStatus(int status) const {
    return stopSignal != 0 ? 128 + stopSignal : status;
}

} // namespace velmarto
