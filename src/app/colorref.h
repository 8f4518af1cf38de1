// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QtGlobal>

namespace umbralux {

/// Colour references as the store keeps them: red in the lowest byte, then green, then blue.
/// The high-bit form (0x80000000 | index) names a system colour.
inline constexpr qint32 kBlack = 0x000000;
inline constexpr qint32 kWhite = 0xFFFFFF;
inline constexpr quint32 kSystemColorFlag = 0x80000000u;
inline constexpr quint32 kWindowBackgroundSystemColor = 0x80000005u;
inline constexpr quint32 kWindowTextSystemColor = 0x80000008u;
inline constexpr quint32 kButtonFaceSystemColor = 0x8000000Fu;

/// The colour a reference stands for. Throws Failure ("Invalid property value") for a value that is
/// neither an RGB colour nor a known system colour.
QColor colorFromReference(qint64 reference);
/// The RGB reference of a colour (alpha is dropped).
qint32 referenceFromColor(const QColor& color);

} // namespace umbralux
