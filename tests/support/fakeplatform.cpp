#include "fakeplatform.h"

#include "app/settingsstore.h"

#include <QSettings>

namespace umbralux::test {
namespace {

const QString kApplication = QLatin1String(kSettingsApplication);
const QString kSection = QLatin1String(kSettingsSection);

} // namespace

TestStore::TestStore() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

QString TestStore::value(const QString& key) const {
    const QString absent = QStringLiteral("\x01absent\x01");
    const QString text = GetSetting(kApplication, kSection, key, absent);
    return text == absent ? QString() : text;
}

void TestStore::set(const QString& key, const QString& text) {
    SaveSetting(kApplication, kSection, key, text);
}

QStringList TestStore::keys() const {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kApplication, kSection);
    settings.setFallbacksEnabled(false);
    QStringList all = settings.allKeys();
    all.sort();
    return all;
}

QString TestStore::fileName() const {
    return settingsLocation(kApplication, kSection);
}

} // namespace umbralux::test
