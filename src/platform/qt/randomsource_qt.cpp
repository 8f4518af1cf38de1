// SPDX-License-Identifier: MIT
#include "randomsource_qt.h"

#include <QRandomGenerator>

namespace umbralux {

double SystemRandomSource::nextUnit() {
    return QRandomGenerator::global()->generateDouble();
}

} // namespace umbralux
