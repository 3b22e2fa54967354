#include "core/platform/QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmarto {

namespace {

// A handler may only write to a descriptor; the main thread reads the signal's number from the
// other end.
std::array<int, 2> signalPipe{-1, -1};
constexpr std::array handledSignals{SIGTERM, SIGINT, SIGHUP};

extern "C" void forwardSignal(int signal) {
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &number, 1);
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

QuitSignals::QuitSignals(QObject* parent)
    : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe.data()) != 0) {
        return;
    }
    ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
    for (const int signal : handledSignals) {
        handle(signal, forwardSignal);
    }
}

QuitSignals::~QuitSignals() {
    for (const int signal : handledSignals) {
        handle(signal, SIG_DFL);
    }
    for (int& end : signalPipe) {
        if (end >= 0) {
            ::close(std::exchange(end, -1));
        }
    }
}

void QuitSignals::readSignal() {
    unsigned char number = 0;
    if (::read(signalPipe[1], &number, 1) == 1) {
        emit quitRequested(number);
    }
}

} // namespace velmarto
