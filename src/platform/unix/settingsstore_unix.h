// SPDX-License-Identifier: MIT
#pragma once

#include "app/settingsstore.h"

#include <memory>
#include <optional>

namespace umbralux {

class IniText;

/// The settings store on Linux and other Unix desktops: one INI file per application and section,
/// <config home>/<application>/<section>.ini, with every key at the top level.
class IniSettingsStore final : public SettingsStore {
  public:
    explicit IniSettingsStore(QString configHome = userConfigHome());
    ~IniSettingsStore() override;
    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    /// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path (the XDG base-directory
    /// rules say a relative one is to be ignored), otherwise ~/.config.
    static QString userConfigHome();

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& text) override;
    QString location(const QString& application, const QString& section) const override;

  private:
    struct Snapshot;
    /// The file's current text, or nothing when there is no file to read.
    std::optional<IniText> currentText(const QString& path);
    /// Whether the file holds the key with the text already, and a save could take the lock at once.
    bool holdsAlready(const QString& path, const QString& key, const QString& text);

    QString m_configHome;
    std::unique_ptr<Snapshot> m_last;
};

} // namespace umbralux
