// SPDX-License-Identifier: MIT
#include "cursorfile.h"

#include "app/failure.h"
#include "app/regularfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace umbralux {
namespace {

/// A cursor file starts with a 6-byte directory header (reserved 0, type 2, image count) followed by
/// 16-byte entries; the hot spot is at bytes 4 to 7 of an entry.
constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;
constexpr quint16 kCursorType = 2;

QString invalidPicture() {
    return QCoreApplication::translate("Failure", "Invalid picture");
}

} // namespace

QCursor loadCursorFile(const QString& path) {
    const QByteArray data = readRegularFile(path, kMaxCursorFileBytes);
    if (data.size() < kHeaderSize + kEntrySize)
        throw Failure(invalidPicture());
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    if (qFromLittleEndian<quint16>(bytes) != 0 || qFromLittleEndian<quint16>(bytes + 2) != kCursorType ||
        qFromLittleEndian<quint16>(bytes + 4) == 0)
        throw Failure(invalidPicture());
    const uchar* entry = bytes + kHeaderSize;
    const int hotX = qFromLittleEndian<quint16>(entry + 4);
    const int hotY = qFromLittleEndian<quint16>(entry + 6);

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        throw Failure(invalidPicture());
    return QCursor(QPixmap::fromImage(image), qMin(hotX, image.width() - 1), qMin(hotY, image.height() - 1));
}

} // namespace umbralux
