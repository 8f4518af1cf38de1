// SPDX-License-Identifier: MIT
#include "regularfile.h"

#include "failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace umbralux {

QByteArray readRegularFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists())
        throw Failure(QCoreApplication::translate("Failure", "File not found: %1").arg(path));
    if (!info.isFile())
        throw Failure(QCoreApplication::translate("Failure", "Not a regular file: %1").arg(path));
    if (info.size() > maxBytes)
        throw Failure(QCoreApplication::translate("Failure", "File too large: %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QCoreApplication::translate("Failure", "Permission denied: %1").arg(path));
    const QByteArray data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw Failure(file.errorString() + QStringLiteral(": ") + path);
    if (data.size() > maxBytes)
        throw Failure(QCoreApplication::translate("Failure", "File too large: %1").arg(path));
    return data;
}

} // namespace umbralux
