// SPDX-License-Identifier: MIT
#include "app/failure.h"
#include "app/settings.h"
#include "app/settingsstore.h"
#include "harness.h"
#include "platform/unix/settingsstore_unix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace umbralux;

namespace {

/// The argument that makes the test a writer: a copy started by twoCopiesSaveAtOnce.
constexpr char kWriterMode[] = "--save-rounds";
/// Rounds of each writer: every round saves a key of its own and the writer's counter.
constexpr int kWriterRounds = 50;
/// How long a writer waits for the other before its first save, and the test for both to end.
constexpr int kWriterStartWaitMs = 10000;
constexpr int kWritersWaitMs = 60000;
/// 8 MB of header lines that never close: read in a fraction of a second when parsing is linear in the file's
/// size; parsing that searched on past each line's end took minutes, far beyond the test's time-out.
constexpr int kUnclosedHeaderLines = 2800000;

/// The writer: once the other has started too, saves "<name><round>" and "<name>" in every round.
int saveRounds(const QString& configHome, const QString& name, const QString& other) {
    IniSettingsStore store(configHome);
    QFile(configHome + "/started-" + name).open(QIODevice::WriteOnly);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(configHome + "/started-" + other) && waited.elapsed() < kWriterStartWaitMs)
        QThread::msleep(1);
    try {
        for (int round = 0; round < kWriterRounds; ++round) {
            const QString text = QString::number(round);
            store.SaveSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection),
                              name + text, text);
            store.SaveSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), name,
                              text);
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(failure.description()));
        return 1;
    }
    return 0;
}

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { m_ini = std::make_unique<IniFixture>(); }
    void cleanup() { m_ini.reset(); }

    void absentSettingGivesTheDefault();
    void roundTrip_data();
    void roundTrip();
    void fileLivesInTheUserConfigFolder();
    void fileIsReadableByItsOwnerOnly();
    void writesByAnotherHandAreSeenAtOnce();
    void anotherProcessesChangeIsSeen_data();
    void anotherProcessesChangeIsSeen();
    void handWrittenFiles_data();
    void handWrittenFiles();
    void identicalSaveLeavesTheFileAlone_data();
    void identicalSaveLeavesTheFileAlone();
    void namesThatAreNoSettingsFile_data();
    void namesThatAreNoSettingsFile();
    void writeKeepsTheOtherBytes();
    void twoCopiesSaveAtOnce();
    void presentKeyWinsOverDefault();
    void readersDefaults();
    void storedPasswordSurvivesAStart_data();
    void storedPasswordSurvivesAStart();

  private:
    /// The real store in a configuration folder of the test's own, and the settings over it.
    struct IniFixture {
        QTemporaryDir dir;
        std::unique_ptr<IniSettingsStore> store = std::make_unique<IniSettingsStore>(dir.path());
        std::unique_ptr<Settings> settings = std::make_unique<Settings>(*store);
        /// Starts again with the store of the user's own configuration folder.
        void useUserConfigHome() {
            store = std::make_unique<IniSettingsStore>();
            settings = std::make_unique<Settings>(*store);
        }
        QString fileName() const {
            return store->location(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection));
        }
        QString folder() const { return dir.path(); }
    };

    QString get(const QString& key, const QString& fallback) {
        return m_ini->store->GetSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection),
                                        key, fallback);
    }
    void save(const QString& key, const QString& text) {
        m_ini->store->SaveSetting(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection), key,
                                  text);
    }
    /// Inode and status-change time: a write through the store changes at least one of them.
    QString fileStamp() const {
        struct stat info {};
        if (stat(QFile::encodeName(m_ini->fileName()).constData(), &info) != 0)
            return QStringLiteral("absent");
        return QStringLiteral("%1 %2.%3").arg(info.st_ino).arg(info.st_ctim.tv_sec).arg(info.st_ctim.tv_nsec);
    }
    std::unique_ptr<IniFixture> m_ini;
};

void TestSettingsStore::absentSettingGivesTheDefault() {
    QCOMPARE(
        m_ini->settings->exitMethodSelected(settings::ExitMethod::EscKey, settings::Reader::OptionsWindow),
        true);
    QCOMPARE(get("Text1", QString()), QString());
    QVERIFY(!QFile::exists(m_ini->fileName())); // reading creates nothing
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
    QTest::newRow("Unicode spaces at the end") << QString::fromUtf8("pw\u3000\u00A0\u2028\u0085\u1680");
}

void TestSettingsStore::roundTrip() {
    QFETCH(QString, text);
    save("Text1", text);
    QCOMPARE(get("Text1", "default"), text);
    save("Background Color", text); // a key with a space in it
    QCOMPARE(get("Background Color", "default"), text);
    // Files written by QSettings (earlier versions) and by the store read the same either way.
    {
        QSettings qt(m_ini->fileName(), QSettings::IniFormat);
        QCOMPARE(qt.value("Background Color").toString(), text);
        qt.setValue("Text1", text + "!");
    }
    QCOMPARE(get("Text1", "default"), text + "!");
}

void TestSettingsStore::fileLivesInTheUserConfigFolder() {
    save("Option1", "True");
    const QString expected = QDir(m_ini->folder()).filePath("Quenbrook/Umbralux Software.ini");
    QCOMPARE(QFileInfo(m_ini->fileName()).absoluteFilePath(), QFileInfo(expected).absoluteFilePath());
    QVERIFY(QFile::exists(expected));
}

void TestSettingsStore::fileIsReadableByItsOwnerOnly() {
    save("Text1", "secret");
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto groupOrOthers =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(m_ini->fileName()) & (ownerOnly | groupOrOthers), ownerOnly);

    // A file made readable by others (by hand, by an older version) is closed again at the next write.
    QFile::setPermissions(m_ini->fileName(), ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    save("Text1", "secret 2");
    QCOMPARE(QFile::permissions(m_ini->fileName()) & (ownerOnly | groupOrOthers), ownerOnly);
    QCOMPARE(get("Text1", QString()), QStringLiteral("secret 2"));
}

void TestSettingsStore::writesByAnotherHandAreSeenAtOnce() {
    save("Option3", "False");
    QCOMPARE(get("Option3", "x"), QStringLiteral("False"));
    // Another process rewrites the file; the next read must see it, not a cached copy.
    QFile file(m_ini->fileName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nOption3=True\nText1=from elsewhere\n");
    file.close();
    QCOMPARE(get("Option3", "x"), QStringLiteral("True"));
    QCOMPARE(get("Text1", "x"), QStringLiteral("from elsewhere"));
}

void TestSettingsStore::anotherProcessesChangeIsSeen_data() {
    QTest::addColumn<bool>("replace");
    // Each changes the file without changing its size, a second after the last write (a change within the
    // same millisecond and of the same size is seen only when it also replaced the file).
    QTest::newRow("replaced by a new file") << true;
    QTest::newRow("edited in place") << false;
}

void TestSettingsStore::anotherProcessesChangeIsSeen() {
    QFETCH(bool, replace);
    save("Option3", "False");
    save("Text1", "abc");
    QCOMPARE(get("Text1", "x"), QStringLiteral("abc")); // remembered from here on
    const QString path = m_ini->fileName();
    const QDateTime later = QFileInfo(path).lastModified().addSecs(1);
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QByteArray content = original.readAll();
    original.close();
    content.replace("Text1=abc", "Text1=xyz");
    QFile file(replace ? path + ".new" : path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(content) == content.size() && file.flush());
    QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
    file.close();
    if (replace)
        QVERIFY(std::rename(QFile::encodeName(file.fileName()), QFile::encodeName(path)) == 0);
    QCOMPARE(get("Text1", "x"), QStringLiteral("xyz"));
    save("Text1", "abc"); // no longer what is stored, so it is written
    QCOMPARE(get("Text1", "x"), QStringLiteral("abc"));
}

void TestSettingsStore::handWrittenFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text1"); // what "Text1" reads as; QSettings reads the same unless noted
    QTest::addColumn<bool>("asQSettings");
    QTest::newRow("ideographic space at the end")
        << QByteArray("Text1=pw\xE3\x80\x80\n") << QString::fromUtf8("pw\u3000") << true;
    QTest::newRow("no-break space at either end")
        << QByteArray("Text1=\xC2\xA0pw\xC2\xA0\n") << QString::fromUtf8("\u00A0pw\u00A0") << true;
    QTest::newRow("spaces and tabs dropped") << QByteArray("Text1 = \tpw \t\n") << "pw" << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFText1=pw\n") << "pw" << true;
    QTest::newRow("blanks after a byte-order mark are part of the first key")
        << QByteArray("\xEF\xBB\xBF Text1=pw\n") << "absent" << true;
    QTest::newRow("[general] in lower case")
        << QByteArray("[x]\nText1=a\n[general]\nText1=pw\n") << "pw" << true;
    QTest::newRow("[General; without its bracket")
        << QByteArray("[x]\n[General;\nText1=pw\n") << "pw" << true;
    QTest::newRow("[%General] is another section")
        << QByteArray("Text1=pw\n[%General]\nText1=x\n") << "pw" << true;
    QTest::newRow("@String as QSettings writes a NUL")
        << QByteArray("Text1=@String(a\\0b)\n") << QString("a") + QChar(0) + "b" << true;
    QTest::newRow("\\x without digits stands for nothing") << QByteArray("Text1=a\\xg\n") << "ag" << true;
    QTest::newRow("character split by a quote")
        << QByteArray("Text1=\xC3\"\xA9\"\n") << QString::fromUtf8("é") << true;
    QTest::newRow("cut character at the end, which QSettings drops")
        << QByteArray("Text1=pw\xC3\n") << QString::fromUtf8("pw\uFFFD") << false;
    QTest::newRow("quote left open over later lines")
        << QByteArray("Text1=\"pw\nOption1=True\n") << "pw\nOption1=True\n"
        << true;
    QTest::newRow("list left open at the end, a list to QSettings")
        << QByteArray("Text1=a,\"b") << "a,b" << false;
    QTest::newRow("backslash and carriage return before a line break")
        << QByteArray("Text1=pw\\\r\r") << "pw" << true;
    QTest::newRow("backslash and carriage return at the end, after quotes")
        << QByteArray("Text1=\"p w\"\\\r") << "p w" << true;
    QTest::newRow("header lines that never close")
        << QByteArray("Text1=pw\n").append(QByteArray("[x\n").repeated(kUnclosedHeaderLines)) << "pw" << true;
}

void TestSettingsStore::handWrittenFiles() {
    QFETCH(QByteArray, file);
    QFETCH(QString, text1);
    QFETCH(bool, asQSettings);
    QVERIFY(QDir().mkpath(QFileInfo(m_ini->fileName()).absolutePath()));
    QFile out(m_ini->fileName());
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    QCOMPARE(get("Text1", "absent"), text1);
    const QVariant asRead = QSettings(m_ini->fileName(), QSettings::IniFormat).value("Text1", "absent");
    QCOMPARE(asRead.toString() == text1, asQSettings);
    // A key saved later is a key of its own, never swallowed by a damaged entry, and the other stays.
    save("Check4", "1");
    save("Option1", "False");
    QCOMPARE(get("Check4", "absent"), QStringLiteral("1"));
    QCOMPARE(get("Text1", "absent"), text1);
    QSettings qt(m_ini->fileName(), QSettings::IniFormat);
    QCOMPARE(qt.value("Check4").toString(), QStringLiteral("1"));
    QCOMPARE(qt.value("Option1").toString(), QStringLiteral("False"));
    QCOMPARE(qt.value("Text1", "absent"), asRead); // to QSettings as well
}

void TestSettingsStore::identicalSaveLeavesTheFileAlone_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("written");
    QTest::newRow("same text") << "True"
                               << "True" << false;
    QTest::newRow("same empty text") << ""
                                     << "" << false;
    QTest::newRow("other letter case") << "true"
                                       << "True" << true;
    QTest::newRow("absent key, empty text") << QString() << "" << true;
    // Written as it stands, U+FEFF would read as a byte-order mark and be dropped (QSettings writes it so).
    QTest::newRow("absent key, zero-width no-break space first")
        << QString() << QChar(0xFEFF) + QString("pw") << true;
    QTest::newRow("hand-written list, read as the same text") << "a,b"
                                                              << "a,b" << false;
}

void TestSettingsStore::identicalSaveLeavesTheFileAlone() {
    QFETCH(QString, stored);
    QFETCH(QString, saved);
    QFETCH(bool, written);
    save("Option1", "False");
    if (!stored.isNull()) {
        QFile file(m_ini->fileName());
        QVERIFY(file.open(QIODevice::Append));
        file.write("Text1=" + stored.toUtf8() + "\n");
    }
    QCOMPARE(get("Option1", "x"), QStringLiteral("False"));
    const QString before = fileStamp();
    save("Text1", saved);
    QCOMPARE(fileStamp() != before, written);
    QCOMPARE(get("Text1", "x"), saved);
    QCOMPARE(get("Text1", QString()), saved);
}

void TestSettingsStore::namesThatAreNoSettingsFile_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("saved"); // otherwise reported once, and left exactly as it was
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("FIFO") << "fifo" << false;
    QTest::newRow("link to nowhere") << "dangling" << false;
    QTest::newRow("link to a regular file") << "link" << true;
    QTest::newRow("link to another user's file") << "foreign" << false;
    QTest::newRow("relative XDG_CONFIG_HOME") << "relative" << true;
}

void TestSettingsStore::namesThatAreNoSettingsFile() {
    QFETCH(QString, what);
    QFETCH(bool, saved);
    if (what == "foreign" && ::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    const QByteArray home = qgetenv("HOME");
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", home); });
    const QString path = m_ini->fileName();
    const QByteArray name = QFile::encodeName(path);
    const QString elsewhere = m_ini->folder() + "/dotfiles.ini";
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (what == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (what == "fifo")
        QCOMPARE(mkfifo(name, 0644), 0);
    else if (what == "dangling")
        QCOMPARE(symlink(QFile::encodeName(elsewhere), name), 0);
    if (what == "link" || what == "foreign") {
        QFile target(elsewhere);
        QVERIFY(target.open(QIODevice::WriteOnly));
        target.write("[General]\nText1=kept\n");
        target.close();
        QCOMPARE(chmod(QFile::encodeName(elsewhere), 0644), 0);
        QCOMPARE(symlink(QFile::encodeName(elsewhere), name), 0);
        if (what == "foreign")
            QCOMPARE(chown(QFile::encodeName(elsewhere), ::geteuid() + 1, ::getegid()), 0);
    }
    if (what == "relative") {
        qputenv("XDG_CONFIG_HOME", "relative/config");
        qputenv("HOME", QFile::encodeName(m_ini->folder()));
        m_ini->useUserConfigHome();
        QCOMPARE(m_ini->fileName(), m_ini->folder() + "/.config/Quenbrook/Umbralux Software.ini");
    }
    struct stat before {};
    lstat(name, &before);

    int failures = 0;
    for (const bool value : {true, false}) {
        try {
            m_ini->settings->saveExitMethodSelected(settings::ExitMethod::AnyKey, value);
        } catch (const Failure&) {
            ++failures;
        }
    }
    if (saved) {
        QCOMPARE(failures, 0);
        QCOMPARE(get("Option1", "none"), QStringLiteral("False"));
        QCOMPARE(get("Text1", "none"), what == "link" ? QStringLiteral("kept") : QStringLiteral("none"));
    } else {
        QCOMPARE(failures, 1);
        QCOMPARE(get("Option1", "none"), QStringLiteral("none")); // and a FIFO does not hang the read
        struct stat after {};
        QCOMPARE(lstat(name, &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
    QCOMPARE(QFileInfo(path).isSymLink(), what == "link" || what == "dangling" || what == "foreign");
    QVERIFY(!QFileInfo::exists(elsewhere) || what == "link" || what == "foreign");
    if (what == "foreign") {
        struct stat foreign {};
        QCOMPARE(stat(QFile::encodeName(elsewhere), &foreign), 0);
        QCOMPARE(foreign.st_uid, ::geteuid() + 1); // still its owner's, with its mode and text
        QCOMPARE(foreign.st_mode & 0777, 0644u);
        QCOMPARE(get("Text1", "none"), QStringLiteral("kept"));
    }
    struct stat target {};
    if (what == "link" && stat(QFile::encodeName(elsewhere), &target) == 0)
        QCOMPARE(target.st_mode & 0777, 0600u); // the user's own file, closed to others
    QVERIFY(!QFileInfo::exists("relative"));
}

void TestSettingsStore::writeKeepsTheOtherBytes() {
    // Hand edits, comments and a password that is not UTF-8 survive a write of another key byte for byte.
    const QByteArray original = "; mine\n[General]\nText1=\xff\xfe"
                                "abc ; note\nOption1 = True\n\n[Other]\nx=1\n";
    QVERIFY(QDir().mkpath(QFileInfo(m_ini->fileName()).absolutePath()));
    QFile file(m_ini->fileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    save("Option1", "False");
    save("Option2", "True");
    save("Text1", get("Text1", QString())); // what the password box gives back unchanged
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("; mine\n[General]\nText1=\xff\xfe"
                                        "abc ; note\nOption1=False\nOption2=True\n\n[Other]\nx=1\n"));
}

void TestSettingsStore::twoCopiesSaveAtOnce() {
    // Two processes, each with a store of its own, save different keys into the same file at the same time.
    const QStringList names = {"Writer A", "Writer B"};
    QProcess writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i].start(QCoreApplication::applicationFilePath(),
                         {kWriterMode, m_ini->folder(), names.at(i), names.at(1 - i)});
    for (QProcess& writer : writers) {
        QVERIFY(writer.waitForFinished(kWritersWaitMs));
        QVERIFY2(writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0,
                 writer.readAllStandardError().constData());
    }
    // No save lost: every key holds what its writer saved last.
    for (const QString& name : names) {
        for (int round = 0; round < kWriterRounds; ++round)
            QCOMPARE(get(name + QString::number(round), "lost"), QString::number(round));
        QCOMPARE(get(name, "lost"), QString::number(kWriterRounds - 1));
    }
}

void TestSettingsStore::presentKeyWinsOverDefault() {
    save("Option2", "False");
    QCOMPARE(
        m_ini->settings->exitMethodSelected(settings::ExitMethod::EscKey, settings::Reader::OptionsWindow),
        false);
    save("Option2", "tRuE");
    QCOMPARE(m_ini->settings->exitMethodSelected(settings::ExitMethod::EscKey, settings::Reader::BlankScreen),
             true);
}

void TestSettingsStore::readersDefaults() {
    using settings::ExitMethod;
    using settings::Reader;
    QCOMPARE(m_ini->settings->exitMethodSelected(ExitMethod::EscKey, Reader::OptionsWindow), true);
    QCOMPARE(m_ini->settings->exitMethodSelected(ExitMethod::EscKey, Reader::BlankScreen), false);
    QCOMPARE(m_ini->settings->exitMethodSelected(ExitMethod::AnyKey, Reader::OptionsWindow), false);
    QCOMPARE(m_ini->settings->keepAwakeState(Reader::OptionsWindow), qint16(0));
    QCOMPARE(m_ini->settings->keepAwakeState(Reader::BlankScreen), qint16(1));
    QCOMPARE(m_ini->settings->backgroundColor(), 0);
    QCOMPARE(m_ini->settings->password(), QString());
    QVERIFY(!QFile::exists(m_ini->fileName()));
}

void TestSettingsStore::storedPasswordSurvivesAStart_data() {
    QTest::addColumn<QByteArray>("stored"); // the file's bytes after "Text1="
    QTest::newRow("40,000 characters") << QByteArray(40000, 'p');
    QTest::newRow("not UTF-8") << QByteArray("\xff\xfe"
                                             "abc\xc3");
}

void TestSettingsStore::storedPasswordSurvivesAStart() {
    QFETCH(QByteArray, stored);
    const QTemporaryDir configHome;
    IniSettingsStore ini(configHome.path());
    test::FakePlatform platform(&ini);
    Program program(platform.services, configHome.path());
    const QString path = ini.location(QLatin1String(kSettingsApplication), QLatin1String(kSettingsSection));
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nText1=" + stored + "\n");
    file.close();
    Form1& form1 = program.form1(); // the load re-saves every option, the password included
    QCOMPARE(test::control<QLineEdit>(&form1, "Text1")->text().size(), QString::fromUtf8(stored).size());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QVERIFY2(after.contains("\nText1=" + stored + "\n"), after.left(200).constData());
}

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], kWriterMode) == 0)
        return saveRounds(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          QString::fromLocal8Bit(argv[4]));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestSettingsStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settingsstore.moc"
