// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <chrono>
#include <optional>

namespace umbralux {

/// The longest time a command line may ask keep-awake to hold for: a week.
inline constexpr std::chrono::seconds kLongestKeepAwake = std::chrono::hours(24 * 7);

/// A duration as people write it on a command line: a number and a unit, hours before minutes before
/// seconds, each unit once ("90s", "45m", "2h", "1h30m", "1h30m15s"). Nothing else, nothing that comes to
/// zero, and nothing longer than kLongestKeepAwake is a duration.
std::optional<std::chrono::seconds> parseDuration(const QString& text);

/// The duration in the same form, its largest units first ("1h30m", "45s").
QString formatDuration(std::chrono::seconds duration);

} // namespace umbralux
