// SPDX-License-Identifier: MIT
#include "settings.h"

#include "conversions.h"
#include "settingsstore.h"

namespace umbralux::settings {
namespace {

QString read(const QString& key, const QString& defaultValue) {
    return GetSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key,
                      defaultValue);
}

QString read(const QString& key, int defaultValue) {
    return GetSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key,
                      defaultValue);
}

void write(const QString& key, const QString& text) {
    SaveSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key, text);
}

/// Defaults of the exit-method keys: the options window shows the ESC key when nothing is stored, the blank
/// screen takes a missing key as not chosen.
int exitMethodDefault(ExitMethod method, Reader reader) {
    return reader == Reader::OptionsWindow && method == ExitMethod::EscKey ? 1 : 0;
}

/// Defaults of "Check4": unchecked for the options window, checked for the blank screen, whose load runs
/// first on a first start and so turns keep-awake on.
int keepAwakeDefault(Reader reader) {
    return reader == Reader::BlankScreen ? 1 : 0;
}

constexpr int kBackgroundColorDefault = 0;

} // namespace

QString exitMethodKey(ExitMethod method) {
    return QStringLiteral("Option%1").arg(static_cast<int>(method));
}

bool exitMethodSelected(ExitMethod method, Reader reader) {
    return conversions::toBoolean(read(exitMethodKey(method), exitMethodDefault(method, reader)));
}

void saveExitMethodSelected(ExitMethod method, bool selected) {
    write(exitMethodKey(method), conversions::fromBoolean(selected));
}

QString password() {
    return read(QLatin1String(kPasswordKey), QString());
}

void savePassword(const QString& text) {
    write(QLatin1String(kPasswordKey), text);
}

qint16 keepAwakeState(Reader reader) {
    return conversions::toInteger16(read(QLatin1String(kKeepAwakeKey), keepAwakeDefault(reader)));
}

void saveKeepAwakeState(qint16 state) {
    write(QLatin1String(kKeepAwakeKey), conversions::fromInteger(state));
}

qint32 backgroundColor() {
    return conversions::toInteger32(read(QLatin1String(kBackgroundColorKey), kBackgroundColorDefault));
}

void saveBackgroundColor(qint32 colorReference) {
    write(QLatin1String(kBackgroundColorKey), conversions::fromInteger(colorReference));
}

} // namespace umbralux::settings
