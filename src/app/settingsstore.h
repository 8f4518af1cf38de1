// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace umbralux {

/// The application name and section that address every setting of the program.
inline constexpr char kSettingsApplication[] = "Quenbrook";
inline constexpr char kSettingsSection[] = "Umbralux Software";

/// The platform's per-user store of settings: texts addressed by application, section and key. An INI file
/// on Unix, the registry on Windows, a map in tests.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    /// The stored text of a setting, or the default when the setting does not exist. Every call reads the
    /// store afresh, so a write by another process is seen at once.
    virtual QString GetSetting(const QString& application, const QString& section, const QString& key,
                               const QString& defaultValue) = 0;
    /// Stores the text under the key; the value is kept when this returns. A write that cannot be made
    /// throws Failure with its cause instead of being lost silently.
    virtual void SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& text) = 0;
    /// Where the settings of (application, section) are kept, as the user would look for them.
    virtual QString location(const QString& application, const QString& section) const = 0;
};

} // namespace umbralux
