// SPDX-License-Identifier: MIT
#include "platform/windows/settingsstore_win.h"

#include <QCoreApplication>
#include <QTest>
#include <windows.h>

using namespace umbralux;

class TestRegistryStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, applicationKey().c_str()); }

    void roundTrip_data();
    void roundTrip();

  private:
    /// Never the program's own application name, so that a run leaves the user's settings alone.
    const QString m_application = QStringLiteral("Umbralux test %1").arg(QCoreApplication::applicationPid());
    const QString m_section = QStringLiteral("Section");

    std::wstring applicationKey() const {
        return (QStringLiteral("Software\\VB and VBA Program Settings\\") + m_application).toStdWString();
    }
    /// The value as any other program reading the registry sees it, or "(absent)".
    QString rawValue(const QString& key) const {
        const std::wstring path =
            (QString::fromStdWString(applicationKey()) + '\\' + m_section).toStdWString();
        std::wstring text(65536, L'\0');
        DWORD bytes = DWORD(text.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key.toStdWString().c_str(), RRF_RT_REG_SZ, nullptr,
                         text.data(), &bytes) != ERROR_SUCCESS)
            return QStringLiteral("(absent)");
        return QString::fromWCharArray(text.c_str());
    }
};

void TestRegistryStore::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("boolean") << "True";
    QTest::newRow("empty") << "";
    QTest::newRow("colour reference") << "16777215";
    QTest::newRow("leading @, as QSettings would escape it") << "@secret";
    QTest::newRow("looks like a QSettings variant") << "@Variant(\\0\\0\\0\\x7f)";
    QTest::newRow("not ASCII") << QStringLiteral("pässwörd ✓");
    QTest::newRow("40,000 characters") << QString(40000, 'p');
}

void TestRegistryStore::roundTrip() {
    QFETCH(QString, text);
    RegistrySettingsStore store;
    QCOMPARE(store.GetSetting(m_application, m_section, "Text1", "default"), QStringLiteral("default"));
    store.SaveSetting(m_application, m_section, "Text1", text);
    QCOMPARE(store.GetSetting(m_application, m_section, "Text1", "default"), text);
    QCOMPARE(rawValue("Text1"), text); // one REG_SZ value, as earlier versions wrote it
    QCOMPARE(store.GetSetting(m_application, m_section, "Text2", "default"), QStringLiteral("default"));
    QCOMPARE(store.location(m_application, m_section),
             "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\" + m_application + "\\Section");
}

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "tst_registrystore.moc"
