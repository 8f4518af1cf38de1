// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QString>

namespace umbralux {

/// No cursor file comes near this size; a larger file is reported as unreadable instead of being read.
inline constexpr qint64 kMaxCursorFileBytes = qint64{1024} * 1024;

/// Loads a Windows cursor file (.cur): its first image, with the hot spot its header gives.
/// Throws Failure when the file cannot be read or holds no cursor.
QCursor loadCursorFile(const QString& path);

} // namespace umbralux
