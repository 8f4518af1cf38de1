// SPDX-License-Identifier: MIT
#pragma once

#include "app/settingsstore.h"

namespace umbralux {

/// The settings store on Windows: the registry branch that Visual Basic programs have always used,
/// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one string value per key,
/// so that choices saved by earlier versions of the program are found.
class RegistrySettingsStore final : public SettingsStore {
  public:
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& text) override;
    QString location(const QString& application, const QString& section) const override;
};

} // namespace umbralux
