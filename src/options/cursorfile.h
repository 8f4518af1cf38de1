#pragma once

#include <QCursor>
#include <QString>

namespace umbralux {

/// Loads a Windows cursor file (.cur): its first image, with the hot spot its header gives.
/// Throws Failure when the file cannot be read or holds no cursor.
QCursor loadCursorFile(const QString& path);

} // namespace umbralux
