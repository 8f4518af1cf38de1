// SPDX-License-Identifier: MIT
#include "programend_qt.h"

#include <QCoreApplication>

namespace umbralux {

void EventLoopProgramEnd::endProgram(int status) {
    QCoreApplication::exit(status);
    // Asked for while only a box of the start-up runs its own loop, the end must still reach the main loop,
    // which would otherwise start afresh once the box is gone.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

} // namespace umbralux
