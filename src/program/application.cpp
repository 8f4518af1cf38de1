// SPDX-License-Identifier: MIT
#include "application.h"

#include "app/appicon.h"
#include "app/failure.h"
#include "config.h"
#include "options/accessibility.h"

#include <QFont>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace umbralux {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setQuitOnLastWindowClosed(false); // the program ends only through the options window's closing rule
    setWindowIcon(applicationIcon()); // message boxes and dialogs carry it too
    setApplicationVersion(QStringLiteral(UMBRALUX_VERSION));
    // The launcher's name: the task switcher and the desktop's inhibitor lists name the program after it.
    setDesktopFileName(QStringLiteral(UMBRALUX_APP_ID));
    installAccessibleInterfaces();
    substituteDesignFonts();
}

void Application::substituteDesignFonts() {
    // The windows are designed in Arial. Where it is not installed (Wine, a Windows without the core fonts,
    // a desktop without fontconfig's aliases) the metric-compatible faces keep the captions' widths, and
    // the common sans-serif faces at least keep the look, rather than the font system's serif fallback.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Helvetica"), QStringLiteral("Nimbus Sans"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Tahoma")});
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        endOnEscapedFailure(std::current_exception());
    }
}

void Application::endOnEscapedFailure(const std::exception_ptr& failure) noexcept {
    if (m_restore) {
        try {
            m_restore();
        } catch (...) {
        }
    }
    QByteArray text = "a failure escaped an event handler and the program ends\n"; // should all else fail
    try {
        text = tr("%1: a failure escaped an event handler and the program ends: %2\n")
                   .arg(applicationName(), describeFailure(failure))
                   .toLocal8Bit();
    } catch (...) {
    }
    std::fputs(text.constData(), stderr);
    std::fflush(nullptr); // _Exit() does not flush
    // Not exit(): the windows and their state are in the middle of an event and must not run destructors.
    std::_Exit(kEscapedFailureStatus);
}

} // namespace umbralux
