// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

/// Text <-> value conversions of the settings store. All of them throw Failure on text they cannot read.
namespace umbralux::conversions {

/// "True"/"False" in any letter case, or a decimal number (0 is false, anything else true).
bool toBoolean(const QString& text);
/// Decimal text within the signed 16-bit range.
qint16 toInteger16(const QString& text);
/// Decimal text within the signed 32-bit range.
qint32 toInteger32(const QString& text);

/// "True" or "False", capitalised so.
QString fromBoolean(bool value);
/// Decimal digits with a leading minus for negatives, no grouping.
QString fromInteger(qint64 value);

} // namespace umbralux::conversions
