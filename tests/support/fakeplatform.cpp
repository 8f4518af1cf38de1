// SPDX-License-Identifier: MIT
#include "fakeplatform.h"

#include "app/settingsstore.h"

#include "app/initext.h"

#include <QFile>

namespace umbralux::test {
namespace {

const QString kApplication = QLatin1String(kSettingsApplication);
const QString kSection = QLatin1String(kSettingsSection);

} // namespace

TestStore::TestStore() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
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
    QFile file(fileName());
    QStringList all = file.open(QIODevice::ReadOnly) ? IniText(file.readAll()).keys() : QStringList();
    all.sort();
    return all;
}

QString TestStore::fileName() const {
    return settingsLocation(kApplication, kSection);
}

} // namespace umbralux::test
