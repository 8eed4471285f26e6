// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dvx::app {

namespace {

// [0] is written by the handler, [1] read by the event loop.
int signalSockets[2] = {-1, -1};

constexpr int kEndSignals[] = {SIGTERM, SIGHUP};

extern "C" void OnEndSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // Non-blocking: when the event loop has fallen behind and the socket is
    // full, the signals already queued end the program all the same.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &number, 1);
    errno = savedErrno;
}

} // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndSignals) {
        if (::sigaction(signal, &action, nullptr) != 0) {
            struct sigaction standard {};
            standard.sa_handler = SIG_DFL;
            sigemptyset(&standard.sa_mask);
            for (int installed : kEndSignals) ::sigaction(installed, &standard, nullptr);
            ::close(signalSockets[0]);
            ::close(signalSockets[1]);
            signalSockets[0] = signalSockets[1] = -1;
            return;
        }
    }
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::ReadSignal);
}

EndSignals::~EndSignals() {
    if (notifier_ == nullptr) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kEndSignals) ::sigaction(signal, &action, nullptr);
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void EndSignals::ReadSignal() {
    unsigned char number = 0;
    while (::read(signalSockets[1], &number, 1) == 1) emit Received(number);
}

} // namespace dvx::app
