// SPDX-License-Identifier: MIT
#include "pageopener_win.h"

#include "app/failure.h"

#include <QProcess>

namespace umbralux {

void ExplorerPageOpener::openPage(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("explorer"), {address}))
        throw Failure(QStringLiteral("File not found: explorer"));
}

} // namespace umbralux
