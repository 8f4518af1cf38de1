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
}

} // namespace umbralux
