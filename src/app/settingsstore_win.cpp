// SPDX-License-Identifier: MIT
// The per-user settings store on Windows: the registry branch that Visual Basic programs have always used,
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one string value per key,
// so that choices saved by earlier versions of the program are found.
#include "settingsstore.h"

#include "failure.h"

#include <QSettings>

namespace umbralux {
namespace {

QString registryPath(const QString& application, const QString& section) {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\%1\\%2")
        .arg(application, section);
}

} // namespace

QString settingsLocation(const QString& application, const QString& section) {
    return registryPath(application, section);
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue) {
    const QSettings settings(registryPath(application, section), QSettings::NativeFormat);
    return settings.contains(key) ? settings.value(key).toString() : defaultValue;
}

QString GetSetting(const QString& application, const QString& section, const QString& key, int defaultValue) {
    return GetSetting(application, section, key, QString::number(defaultValue));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text) {
    QSettings settings(registryPath(application, section), QSettings::NativeFormat);
    settings.setValue(key, text);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw Failure(QStringLiteral("Could not save the setting \"%1\"").arg(key));
}

} // namespace umbralux
