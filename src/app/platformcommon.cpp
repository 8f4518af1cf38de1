// SPDX-License-Identifier: MIT
// Implementations of the platform services that are the same on every desktop.
#include "programend.h"
#include "randomsource.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace umbralux {

double SystemRandomSource::nextUnit() {
    return QRandomGenerator::global()->generateDouble();
}

void EventLoopProgramEnd::endProgram(int status) {
    QCoreApplication::exit(status);
    // Asked for while only a box of the start-up runs its own loop, the end must still reach the main loop,
    // which would otherwise start afresh once the box is gone.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

} // namespace umbralux
