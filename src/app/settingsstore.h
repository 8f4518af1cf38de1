// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace umbralux {

/// The application name and section that address every setting of the program.
inline constexpr char kSettingsApplication[] = "Quenbrook";
inline constexpr char kSettingsSection[] = "Umbralux Software";

/// Returns the stored text of a setting, or the default when the setting does not exist.
/// Every call reads the store afresh, so a write by another process is seen at once.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);
/// Same, with a numeric default rendered as its decimal digits.
QString GetSetting(const QString& application, const QString& section, const QString& key, int defaultValue);

/// Stores the text under the key. The value is on disk when this returns; a write that cannot be made
/// throws Failure instead of being lost silently. On Linux the same failure of the same file is thrown only
/// the first time: after that the user knows that the settings are not saved.
void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& text);

/// Where the store of (application, section) lives: an INI file on Linux, a registry key on Windows.
QString settingsLocation(const QString& application, const QString& section);

} // namespace umbralux
