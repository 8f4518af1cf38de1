// SPDX-License-Identifier: MIT
#include "settings.h"

#include "conversions.h"
#include "errorreport.h"
#include "failure.h"
#include "settingsstore.h"

namespace umbralux::settings {

QString exitMethodKey(ExitMethod method) {
    return QStringLiteral("Option%1").arg(static_cast<int>(method));
}

} // namespace umbralux::settings

namespace umbralux {
namespace {

using settings::ExitMethod;
using settings::exitMethodKey;
using settings::Reader;

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

QString Settings::read(const QString& key, const QString& defaultValue) {
    return m_store.GetSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key,
                              defaultValue);
}

QString Settings::read(const QString& key, int defaultValue) {
    return read(key, QString::number(defaultValue));
}

void Settings::write(const QString& key, const QString& text) {
    const QString application = QLatin1String(kSettingsApplication);
    const QString section = QLatin1String(kSettingsSection);
    try {
        m_store.SaveSetting(application, section, key, text);
    } catch (const Failure& failure) {
        const QString where = m_store.location(application, section);
        // Once for each handler: the first failing save of each control's handler is reported under that
        // handler's name, and a handler that saves at every keystroke reports only its first failure.
        const QString what =
            where + QLatin1Char('\n') + failure.description() + QLatin1Char('\n') + ReportingScope::current();
        if (m_reported.contains(what))
            return; // the user has been told: nothing is saved
        m_reported.insert(what);
        throw Failure(QCoreApplication::translate("Settings", "The settings cannot be saved to %1: %2")
                          .arg(where, failure.description()));
    }
}

bool Settings::exitMethodSelected(ExitMethod method, Reader reader) {
    return conversions::toBoolean(read(exitMethodKey(method), exitMethodDefault(method, reader)));
}

void Settings::saveExitMethodSelected(ExitMethod method, bool selected) {
    write(exitMethodKey(method), conversions::fromBoolean(selected));
}

QString Settings::password() {
    return read(QLatin1String(settings::kPasswordKey), QString());
}

void Settings::savePassword(const QString& text) {
    write(QLatin1String(settings::kPasswordKey), text);
}

qint16 Settings::keepAwakeState(Reader reader) {
    return conversions::toInteger16(read(QLatin1String(settings::kKeepAwakeKey), keepAwakeDefault(reader)));
}

void Settings::saveKeepAwakeState(qint16 state) {
    write(QLatin1String(settings::kKeepAwakeKey), conversions::fromInteger(state));
}

qint32 Settings::backgroundColor() {
    return conversions::toInteger32(
        read(QLatin1String(settings::kBackgroundColorKey), kBackgroundColorDefault));
}

void Settings::saveBackgroundColor(qint32 colorReference) {
    write(QLatin1String(settings::kBackgroundColorKey), conversions::fromInteger(colorReference));
}

} // namespace umbralux
