// SPDX-License-Identifier: MIT
#include "appicon.h"

namespace umbralux {

QIcon applicationIcon() {
    static const QIcon icon(QStringLiteral(":/umbralux/umbralux.png"));
    return icon;
}

} // namespace umbralux
