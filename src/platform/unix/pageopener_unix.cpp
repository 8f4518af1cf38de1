// SPDX-License-Identifier: MIT
#include "pageopener_unix.h"

#include "app/failure.h"

#include <QCoreApplication>
#include <QProcess>

namespace umbralux {

void XdgPageOpener::openPage(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {address}))
        throw Failure(
            QCoreApplication::translate("Failure", "File not found: %1").arg(QLatin1String("xdg-open")));
}

} // namespace umbralux
