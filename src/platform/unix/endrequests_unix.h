// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace umbralux {

/// The requests from outside to end the program: SIGTERM, SIGINT and SIGHUP on Unix (a session logout,
/// `kill`, Ctrl+C in a terminal). They arrive as the signal `received` on the event loop, so the program ends
/// through its own close path instead of dying with the pointer hidden. The signal handler itself only
/// writes the signal's number into a pipe, which is all a handler may safely do.
class SignalEndRequests : public QObject {
    Q_OBJECT
  public:
    explicit SignalEndRequests(QObject* parent = nullptr);
    ~SignalEndRequests() override;

  Q_SIGNALS:
    /// An end was requested with this signal number.
    void received(int signal);

  private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace umbralux
