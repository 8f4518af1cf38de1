// SPDX-License-Identifier: MIT
#include "pageopener_win.h"

#include "app/failure.h"

#include <QCoreApplication>
#include <QProcess>

namespace umbralux {

void ExplorerPageOpener::openPage(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("explorer"), {address}))
        throw Failure(
            QCoreApplication::translate("Failure", "File not found: %1").arg(QLatin1String("explorer")));
}

} // namespace umbralux
