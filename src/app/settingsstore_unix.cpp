// The per-user settings store on Linux and other Unix desktops: one INI file per application and section,
// $XDG_CONFIG_HOME/<application>/<section>.ini, with every key at the top level. It holds the password in
// plain text, so the file is created and kept readable by its owner only.
#include "settingsstore.h"

#include "failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace umbralux {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kGroupOrOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                    QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                    QFileDevice::WriteOther | QFileDevice::ExeOther;

std::unique_ptr<QSettings> openStore(const QString& application, const QString& section) {
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application, section);
    settings->setFallbacksEnabled(false);
    return settings;
}

/// Creates the file with owner-only permissions before its first write, so the password is never readable
/// by others, not even for a moment; QSettings keeps the permissions of the file it replaces.
void prepareOwnerOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw Failure(QStringLiteral("Path not found: %1").arg(info.absolutePath()));
    if (!info.exists()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly, kOwnerOnly))
            throw Failure(QStringLiteral("Permission denied: %1").arg(path));
    } else if (QFile::permissions(path) & kGroupOrOthers) {
        QFile::setPermissions(path, kOwnerOnly);
    }
}

} // namespace

QString settingsLocation(const QString& application, const QString& section) {
    return openStore(application, section)->fileName();
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue) {
    const auto settings = openStore(application, section);
    if (!settings->contains(key))
        return defaultValue;
    const QVariant value = settings->value(key);
    // Text written by hand may hold an unquoted comma, which the INI reader turns into a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString GetSetting(const QString& application, const QString& section, const QString& key, int defaultValue) {
    return GetSetting(application, section, key, QString::number(defaultValue));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text) {
    const auto settings = openStore(application, section);
    prepareOwnerOnlyFile(settings->fileName());
    settings->setValue(key, text);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Failure(
            QStringLiteral("Could not save the setting \"%1\" to %2").arg(key, settings->fileName()));
}

} // namespace umbralux
