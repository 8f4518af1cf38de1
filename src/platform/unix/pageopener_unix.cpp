// SPDX-License-Identifier: MIT
#include "pageopener_unix.h"

#include "app/failure.h"

#include <QProcess>

namespace umbralux {

void XdgPageOpener::openPage(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {address}))
        throw Failure(QStringLiteral("File not found: xdg-open"));
}

} // namespace umbralux
