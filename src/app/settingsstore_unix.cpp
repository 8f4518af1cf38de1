// The per-user settings store on Linux and other Unix desktops: one INI file per application and section,
// $XDG_CONFIG_HOME/<application>/<section>.ini, with every key at the top level. It holds the password in
// plain text, so the file is created and kept readable by its owner only.
#include "settingsstore.h"

#include "failure.h"
#include "settingscache.h"

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

/// The one store of the program, read on every look at a setting.
SettingsCache& cache() {
    static SettingsCache instance;
    return instance;
}

/// Every key of the store with its value as the INI reader gives it.
QVariantHash readAll(QSettings& settings) {
    QVariantHash values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

/// The text of a stored value.
QString textOf(const QVariant& value) {
    // Text written by hand may hold an unquoted comma, which the INI reader turns into a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

/// The values of the store as they are on disk now, without opening it when nothing changed; null when the
/// store is not an ordinary file.
const QVariantHash* storedValues(const QString& application, const QString& section) {
    const QString path =
        cache().path(application, section, [&] { return settingsLocation(application, section); });
    return cache().values(path, [&] { return readAll(*openStore(application, section)); });
}

} // namespace

QString settingsLocation(const QString& application, const QString& section) {
    return openStore(application, section)->fileName();
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue) {
    if (const QVariantHash* stored = storedValues(application, section)) {
        const auto value = stored->constFind(key);
        return value == stored->cend() ? defaultValue : textOf(*value);
    }
    const auto settings = openStore(application, section);
    return settings->contains(key) ? textOf(settings->value(key)) : defaultValue;
}

QString GetSetting(const QString& application, const QString& section, const QString& key, int defaultValue) {
    return GetSetting(application, section, key, QString::number(defaultValue));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& text) {
    // A write of the text already stored would change nothing but the file's time: it is left out, unless
    // the write is also needed to close the file to others.
    if (const QVariantHash* stored = storedValues(application, section); stored && cache().ownerOnly()) {
        const auto value = stored->constFind(key);
        if (value != stored->cend() && value->metaType().id() == QMetaType::QString &&
            value->toString() == text)
            return;
    }
    cache().forget();
    const auto settings = openStore(application, section);
    prepareOwnerOnlyFile(settings->fileName());
    settings->setValue(key, text);
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Failure(
            QStringLiteral("Could not save the setting \"%1\" to %2").arg(key, settings->fileName()));
}

} // namespace umbralux
