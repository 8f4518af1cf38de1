// SPDX-License-Identifier: MIT
#include "failure.h"
#include "pageopener.h"

#include <QProcess>

namespace umbralux {

void DesktopPageOpener::openPage(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("explorer"), {address}))
        throw Failure(QStringLiteral("File not found: explorer"));
}

} // namespace umbralux
