// SPDX-License-Identifier: MIT
#include "fakeplatform.h"

namespace umbralux::test {

QString TestStore::GetSetting(const QString&, const QString&, const QString& key,
                              const QString& defaultValue) {
    return m_values.value(key, defaultValue);
}

void TestStore::SaveSetting(const QString&, const QString&, const QString& key, const QString& text) {
    if (failure)
        throw Failure(*failure);
    m_values.insert(key, text);
}

QString TestStore::location(const QString& application, const QString& section) const {
    return QStringLiteral("the test's store for %1/%2").arg(application, section);
}

} // namespace umbralux::test
