// SPDX-License-Identifier: MIT
#pragma once

#include "translations.h"

#include <QApplication>
#include <functional>

namespace umbralux {

/// The program's QApplication. Every handler of the program reports its own failures and goes on, so nothing
/// it throws should reach the event loop. Should something escape all the same, it has already unwound
/// through Qt's own frames, which Qt does not support going on from: the program then restores the pointer,
/// says what happened on standard error and ends at once with kEscapedFailureStatus.
class Application : public QApplication {
    Q_OBJECT
  public:
    /// Exit status of a program ended by a failure that escaped every handler (EX_SOFTWARE).
    static constexpr int kEscapedFailureStatus = 70;

    Application(int& argc, char** argv);

    /// What has to be undone before such an end, such as a hidden pointer.
    void setBeforeEscapedFailureExit(std::function<void()> restore) { m_restore = std::move(restore); }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    [[noreturn]] void endOnEscapedFailure(const std::exception_ptr& failure) noexcept;
    static void substituteDesignFonts();

    /// Installed before any window or text of the program is made.
    Translations m_translations;
    std::function<void()> m_restore;
};

} // namespace umbralux
