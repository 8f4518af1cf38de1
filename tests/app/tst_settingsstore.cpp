#include "app/failure.h"
#include "app/settings.h"
#include "app/settingsstore.h"
#include "fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace umbralux;

class TestSettingsStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { m_store = std::make_unique<test::TestStore>(); }
    void cleanup() { m_store.reset(); }

    void absentSettingGivesTheDefault();
    void roundTrip_data();
    void roundTrip();
    void fileLivesInTheUserConfigFolder();
    void fileIsReadableByItsOwnerOnly();
    void writesByAnotherHandAreSeenAtOnce();
    void failedWriteIsAFailure();
    void presentKeyWinsOverDefault();
    void readersDefaults();

  private:
    static QString get(const QString& key, const QString& fallback) {
        return GetSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key,
                          fallback);
    }
    static void save(const QString& key, const QString& text) {
        SaveSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key, text);
    }
    std::unique_ptr<test::TestStore> m_store;
};

void TestSettingsStore::absentSettingGivesTheDefault() {
    QCOMPARE(GetSetting("Quenbrook", "Umbralux Software", "Option2", 1), QStringLiteral("1"));
    QCOMPARE(get("Text1", QString()), QString());
    QVERIFY(!QFile::exists(m_store->fileName())); // reading creates nothing
}

void TestSettingsStore::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString("");
    QTest::newRow("blanks at either end") << QString("  pass word  ");
    QTest::newRow("INI punctuation") << QString(",;#=\"\\%[]");
    QTest::newRow("leading at sign") << QString("@Variant(x)");
    QTest::newRow("line breaks") << QString("a\r\nb\tc");
    QTest::newRow("non-ASCII") << QString::fromUtf8("пароль ÄÖü ✓ 密码 😀");
    QTest::newRow("10 KB") << QString(10 * 1024, QLatin1Char('x'));
}

void TestSettingsStore::roundTrip() {
    QFETCH(QString, text);
    save("Text1", text);
    QCOMPARE(get("Text1", "default"), text);
    save("Background Color", text); // a key with a space in it
    QCOMPARE(get("Background Color", "default"), text);
}

void TestSettingsStore::fileLivesInTheUserConfigFolder() {
    save("Option1", "True");
    const QString expected = QDir(m_store->folder()).filePath("Quenbrook/Umbralux Software.ini");
    QCOMPARE(QFileInfo(m_store->fileName()).absoluteFilePath(), QFileInfo(expected).absoluteFilePath());
    QVERIFY(QFile::exists(expected));
}

void TestSettingsStore::fileIsReadableByItsOwnerOnly() {
    save("Text1", "secret");
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto groupOrOthers =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(m_store->fileName()) & (ownerOnly | groupOrOthers), ownerOnly);

    // A file made readable by others (by hand, by an older version) is closed again at the next write.
    QFile::setPermissions(m_store->fileName(), ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    save("Text1", "secret 2");
    QCOMPARE(QFile::permissions(m_store->fileName()) & (ownerOnly | groupOrOthers), ownerOnly);
    QCOMPARE(get("Text1", QString()), QStringLiteral("secret 2"));
}

void TestSettingsStore::writesByAnotherHandAreSeenAtOnce() {
    save("Option3", "False");
    QCOMPARE(get("Option3", "x"), QStringLiteral("False"));
    // Another process rewrites the file; the next read must see it, not a cached copy.
    QFile file(m_store->fileName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nOption3=True\nText1=from elsewhere\n");
    file.close();
    QCOMPARE(get("Option3", "x"), QStringLiteral("True"));
    QCOMPARE(get("Text1", "x"), QStringLiteral("from elsewhere"));
}

void TestSettingsStore::failedWriteIsAFailure() {
    // A folder where the file should be: no write can succeed, not even as root.
    QVERIFY(QDir().mkpath(m_store->fileName()));
    try {
        save("Option1", "True");
        QFAIL("a write that cannot be made must not pass as done");
    } catch (const Failure& f) {
        QVERIFY(f.description().contains("Option1"));
    }
}

void TestSettingsStore::presentKeyWinsOverDefault() {
    save("Option2", "False");
    QCOMPARE(settings::exitMethodSelected(settings::ExitMethod::EscKey, settings::Reader::OptionsWindow),
             false);
    save("Option2", "tRuE");
    QCOMPARE(settings::exitMethodSelected(settings::ExitMethod::EscKey, settings::Reader::BlankScreen), true);
}

void TestSettingsStore::readersDefaults() {
    using settings::ExitMethod;
    using settings::Reader;
    QCOMPARE(settings::exitMethodSelected(ExitMethod::EscKey, Reader::OptionsWindow), true);
    QCOMPARE(settings::exitMethodSelected(ExitMethod::EscKey, Reader::BlankScreen), false);
    QCOMPARE(settings::exitMethodSelected(ExitMethod::AnyKey, Reader::OptionsWindow), false);
    QCOMPARE(settings::keepAwakeState(Reader::OptionsWindow), qint16(0));
    QCOMPARE(settings::keepAwakeState(Reader::BlankScreen), qint16(1));
    QCOMPARE(settings::backgroundColor(), 0);
    QCOMPARE(settings::password(), QString());
    QVERIFY(m_store->keys().isEmpty());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
