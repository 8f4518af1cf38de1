// SPDX-License-Identifier: MIT
#include "app/conversions.h"
#include "app/failure.h"
#include "program/duration.h"

#include <QTest>

using namespace umbralux;

class TestConversions : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void boolean_data();
    void boolean();
    void integers_data();
    void integers();
    void writtenForms();
    void durations_data();
    void durations();
};

// An empty "expected failure" means the text converts; otherwise it is the failure's description.
void TestConversions::boolean_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("failure");
    QTest::newRow("True as written") << "True" << true << "";
    QTest::newRow("False as written") << "False" << false << "";
    QTest::newRow("any letter case") << "tRUE" << true << "";
    QTest::newRow("FALSE") << "FALSE" << false << "";
    QTest::newRow("numeric default 1") << "1" << true << "";
    QTest::newRow("numeric default 0") << "0" << false << "";
    QTest::newRow("any other number is true") << "-7" << true << "";
    QTest::newRow("blanks around") << " True " << true << "";
    QTest::newRow("not a boolean") << "abc" << false << "Type mismatch";
    QTest::newRow("empty text") << "" << false << "Type mismatch";
    QTest::newRow("Yes is no boolean") << "Yes" << false << "Type mismatch";
}

void TestConversions::boolean() {
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QFETCH(QString, failure);
    try {
        const bool value = conversions::toBoolean(text);
        QVERIFY2(failure.isEmpty(), "conversion should have failed");
        QCOMPARE(value, expected);
    } catch (const Failure& f) {
        QCOMPARE(f.description(), failure);
    }
}

void TestConversions::integers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bits");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<QString>("failure");
    QTest::newRow("16: zero") << "0" << 16 << qint64(0) << "";
    QTest::newRow("16: top") << "32767" << 16 << qint64(32767) << "";
    QTest::newRow("16: bottom") << "-32768" << 16 << qint64(-32768) << "";
    QTest::newRow("16: one past the top") << "32768" << 16 << qint64(0) << "Overflow";
    QTest::newRow("16: letters") << "abc" << 16 << qint64(0) << "Type mismatch";
    QTest::newRow("16: empty") << "" << 16 << qint64(0) << "Type mismatch";
    QTest::newRow("32: white") << "16777215" << 32 << qint64(16777215) << "";
    QTest::newRow("32: negative stays negative") << "-5" << 32 << qint64(-5) << "";
    QTest::newRow("32: top") << "2147483647" << 32 << qint64(2147483647) << "";
    QTest::newRow("32: one past the top") << "2147483648" << 32 << qint64(0) << "Overflow";
    QTest::newRow("32: far past any integer") << "99999999999999999999999" << 32 << qint64(0) << "Overflow";
    QTest::newRow("32: fraction") << "1.5" << 32 << qint64(0) << "Type mismatch";
}

void TestConversions::integers() {
    QFETCH(QString, text);
    QFETCH(int, bits);
    QFETCH(qint64, expected);
    QFETCH(QString, failure);
    try {
        const qint64 value =
            bits == 16 ? qint64(conversions::toInteger16(text)) : qint64(conversions::toInteger32(text));
        QVERIFY2(failure.isEmpty(), "conversion should have failed");
        QCOMPARE(value, expected);
    } catch (const Failure& f) {
        QCOMPARE(f.description(), failure);
    }
}

void TestConversions::writtenForms() {
    QCOMPARE(conversions::fromBoolean(true), QStringLiteral("True"));
    QCOMPARE(conversions::fromBoolean(false), QStringLiteral("False"));
    QCOMPARE(conversions::fromInteger(-1234567), QStringLiteral("-1234567"));
    QCOMPARE(conversions::fromInteger(16777215), QStringLiteral("16777215"));
}

// A command line's durations: 0 seconds marks a text that is no duration.
void TestConversions::durations_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("seconds") << "90s" << qint64(90);
    QTest::newRow("minutes") << "45m" << qint64(45 * 60);
    QTest::newRow("hours and minutes") << "1h30m" << qint64(5400);
    QTest::newRow("all three") << "1h0m15s" << qint64(3615);
    QTest::newRow("a week exactly") << "168h" << qint64(604800);
    QTest::newRow("past a week") << "604801s" << qint64(0);
    QTest::newRow("nothing at all") << "0s" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("no unit") << "90" << qint64(0);
    QTest::newRow("minutes before hours") << "30m1h" << qint64(0);
    QTest::newRow("a unit twice") << "1h1h" << qint64(0);
    QTest::newRow("negative") << "-5m" << qint64(0);
    QTest::newRow("a digit run that would overflow") << "99999999999999999999s" << qint64(0);
    QTest::newRow("spaces") << "1h 30m" << qint64(0);
}

void TestConversions::durations() {
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    const auto duration = parseDuration(text);
    QCOMPARE(duration ? duration->count() : 0, seconds);
    if (duration) // and it is written back in the form it was read in, units that are 0 left out
        QCOMPARE(parseDuration(formatDuration(*duration)), duration);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
