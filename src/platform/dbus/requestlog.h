// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QString>

namespace umbralux {

/// How much of a text from another program one log line shows.
inline constexpr qsizetype kLoggedTextMaxChars = 80;
/// At most one line of its kind per this long, however often other programs send what is not understood.
inline constexpr qint64 kRequestLogIntervalMs = 10000;

/// A text another program sent, made fit for one line of the log: in double quotes, with quotes,
/// backslashes and every control or formatting character escaped (so that it cannot end the line, forge
/// another or move the terminal's cursor), and cut to `maxChars` characters with the full length said.
QString quotedForLog(const QString& text, qsizetype maxChars = kLoggedTextMaxChars);

/// Lets a kind of log line through once per interval and counts the ones held back meanwhile.
class LogThrottle {
  public:
    explicit LogThrottle(qint64 intervalMs = kRequestLogIntervalMs) : m_intervalMs(intervalMs) {}
    /// Whether a line may be written now; if so, heldBack() tells how many were not since the last one.
    bool allow();
    int heldBack() const { return m_heldBack; }

  private:
    qint64 m_intervalMs;
    QElapsedTimer m_sinceLast;
    int m_heldBack = 0;
    int m_pending = 0;
};

} // namespace umbralux
