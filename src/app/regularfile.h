// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace umbralux {

/// Reads a whole file, but only a regular one and only up to maxBytes: a FIFO, a device or a folder under the
/// name is never opened in a way that could block, and a file larger than the limit is not read at all.
/// Throws Failure, with a description for the error report, when the file cannot be read.
QByteArray readRegularFile(const QString& path, qint64 maxBytes);

} // namespace umbralux
