// SPDX-License-Identifier: MIT
#include "settingsstore_win.h"

#include "app/failure.h"

#include <QSettings>

namespace umbralux {

QString RegistrySettingsStore::location(const QString& application, const QString& section) const {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\%1\\%2")
        .arg(application, section);
}

QString RegistrySettingsStore::GetSetting(const QString& application, const QString& section,
                                          const QString& key, const QString& defaultValue) {
    const QSettings settings(location(application, section), QSettings::NativeFormat);
    return settings.contains(key) ? settings.value(key).toString() : defaultValue;
}

void RegistrySettingsStore::SaveSetting(const QString& application, const QString& section,
                                        const QString& key, const QString& text) {
    QSettings settings(location(application, section), QSettings::NativeFormat);
    settings.setValue(key, text);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure(QStringLiteral("the registry refused the value \"%1\"").arg(key));
}

} // namespace umbralux
