// SPDX-License-Identifier: MIT
#include "app/failure.h"
#include "options/apptitle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace umbralux;

class TestAppTitle : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void cut_data();
    void cut();
    void programTitle();
    void fileExists_data();
    void fileExists();
};

void TestAppTitle::cut_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title"); // empty: the cut fails
    QTest::newRow("product name") << "Umbralux Software"
                                  << "Umbralux";
    QTest::newRow("always one cut, however short") << "A B"
                                                   << "A";
    QTest::newRow("exactly 40 after the first cut is kept") << QString(40, 'a') + " tail" << QString(40, 'a');
    QTest::newRow("41 after the first cut loses another word")
        << QString(35, 'a') + " bbbbb tail" << QString(35, 'a');
    QTest::newRow("several cuts") << "one two three four five six seven eight nine ten eleven twelve"
                                  << "one two three four five six seven eight";
    QTest::newRow("no space fails") << "Umbralux"
                                    << "";
    QTest::newRow("long word without space after one cut fails") << QString(45, 'x') + " y"
                                                                 << "";
}

void TestAppTitle::cut() {
    QFETCH(QString, name);
    QFETCH(QString, title);
    try {
        const QString result = cutTitle(name);
        QVERIFY2(!title.isEmpty(), qPrintable("expected a failure, got " + result));
        QCOMPARE(result, title);
        QVERIFY(result.size() <= kTitleLimit);
    } catch (const Failure& f) {
        QVERIFY2(title.isEmpty(), qPrintable(f.description()));
        QCOMPARE(f.description(), QStringLiteral("Invalid procedure call or argument"));
    }
}

void TestAppTitle::programTitle() {
    SetAppTitle();
    SetAppTitle(); // starts again from the product name every time
    QCOMPARE(appTitle(), QStringLiteral("Umbralux"));
}

void TestAppTitle::fileExists_data() {
    QTest::addColumn<QString>("relativePath"); // "<none>" stands for the empty path
    QTest::addColumn<bool>("exists");
    QTest::newRow("present file") << "HAND-M.CUR" << true;
    QTest::newRow("missing file") << "missing.cur" << false;
    QTest::newRow("missing folder on the way") << "no/such/folder/HAND-M.CUR" << false;
    QTest::newRow("empty path") << "<none>" << false;
    QTest::newRow("path with a NUL") << QString("bad") + QChar(0) + "name" << false;
}

void TestAppTitle::fileExists() {
    QFETCH(QString, relativePath);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    QFile file(dir.filePath("HAND-M.CUR"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString path = relativePath == "<none>" ? QString() : dir.filePath(relativePath);
    QCOMPARE(FileExists(path), exists);
}

QTEST_GUILESS_MAIN(TestAppTitle)
#include "tst_apptitle.moc"
