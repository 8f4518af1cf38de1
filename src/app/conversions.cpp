// SPDX-License-Identifier: MIT
#include "conversions.h"

#include "failure.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <limits>

namespace umbralux::conversions {
namespace {

constexpr char kTypeMismatch[] = QT_TRANSLATE_NOOP("Failure", "Type mismatch");
constexpr char kOverflow[] = QT_TRANSLATE_NOOP("Failure", "Overflow");

/// A failure with the text in the user's language.
Failure failure(const char* text) {
    return Failure(QCoreApplication::translate("Failure", text));
}

/// Reads a decimal number (surrounding blanks allowed, as the store's readers always were) into 64 bits.
/// Digits that do not fit even there are an overflow, anything that is no number a type mismatch.
qint64 toInteger64(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok, 10);
    if (ok)
        return value;
    static const QRegularExpression kDigits(QStringLiteral("^[+-]?[0-9]+$"));
    if (kDigits.match(trimmed).hasMatch())
        throw failure(kOverflow);
    throw failure(kTypeMismatch);
}

template <typename Int> Int toRange(const QString& text) {
    const qint64 value = toInteger64(text);
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw failure(kOverflow);
    return static_cast<Int>(value);
}

} // namespace

bool toBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return toInteger64(trimmed) != 0;
}

qint16 toInteger16(const QString& text) {
    return toRange<qint16>(text);
}

qint32 toInteger32(const QString& text) {
    return toRange<qint32>(text);
}

QString fromBoolean(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString fromInteger(qint64 value) {
    return QString::number(value);
}

} // namespace umbralux::conversions
