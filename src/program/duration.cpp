// SPDX-License-Identifier: MIT
#include "duration.h"

namespace umbralux {
namespace {

struct Unit {
    QChar letter;
    qint64 seconds;
};
constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 60 * kSecondsPerMinute;
const Unit kUnits[] = {
    {QLatin1Char('h'), kSecondsPerHour}, {QLatin1Char('m'), kSecondsPerMinute}, {QLatin1Char('s'), 1}};
/// More digits than this in one number cannot be within a week in any unit.
constexpr int kMaxDigits = 6;

} // namespace

std::optional<std::chrono::seconds> parseDuration(const QString& text) {
    qint64 total = 0;
    qsizetype at = 0;
    std::size_t nextUnit = 0; // each unit at most once, the larger ones first
    while (at < text.size()) {
        const qsizetype start = at;
        while (at < text.size() && text.at(at) >= QLatin1Char('0') && text.at(at) <= QLatin1Char('9'))
            ++at;
        const qsizetype digits = at - start;
        if (digits == 0 || digits > kMaxDigits || at == text.size())
            return std::nullopt;
        const qint64 number = text.mid(start, digits).toLongLong();
        const QChar letter = text.at(at++);
        while (nextUnit < std::size(kUnits) && kUnits[nextUnit].letter != letter)
            ++nextUnit;
        if (nextUnit == std::size(kUnits))
            return std::nullopt;
        total += number * kUnits[nextUnit++].seconds;
    }
    if (total <= 0 || total > kLongestKeepAwake.count())
        return std::nullopt;
    return std::chrono::seconds(total);
}

QString formatDuration(std::chrono::seconds duration) {
    qint64 left = duration.count();
    QString text;
    for (const Unit& unit : kUnits) {
        if (left >= unit.seconds) {
            text += QString::number(left / unit.seconds) + unit.letter;
            left %= unit.seconds;
        }
    }
    return text.isEmpty() ? QStringLiteral("0s") : text;
}

} // namespace umbralux
