// SPDX-License-Identifier: MIT
#include "endrequests_unix.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace umbralux {
namespace {

/// The signals that ask the program to end.
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

/// The self-pipe: the handler writes to [1], the event loop reads [0].
int g_pipe[2] = {-1, -1};

extern "C" void onEndSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1); // a full pipe has one already
    errno = savedErrno;
}

} // namespace

SignalEndRequests::SignalEndRequests(QObject* parent) : QObject(parent) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalEndRequests::readPipe);
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
}

SignalEndRequests::~SignalEndRequests() {
    if (!m_notifier)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalEndRequests::readPipe() {
    unsigned char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1)
        Q_EMIT received(number);
}

} // namespace umbralux
