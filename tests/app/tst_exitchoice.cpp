// SPDX-License-Identifier: MIT
#include "app/conversions.h"
#include "app/exitchoice.h"
#include "app/failure.h"

#include <QStringList>
#include <QTest>

using namespace umbralux;
using settings::ExitMethod;

class TestExitChoice : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void methodChosen_data();
    void methodChosen();
    void password_data();
    void password();
};

void TestExitChoice::methodChosen_data() {
    QTest::addColumn<QString>("stored"); // Option1 to Option4; "-" absent, "x" unreadable
    QTest::addColumn<int>("shown");      // 0: no method was shown
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("chosen"); // "yes", "no" or "fails"
    QTest::newRow("healthy store, its method") << "F T F F" << 2 << 2 << "yes";
    QTest::newRow("healthy store, another method") << "F T F F" << 2 << 1 << "no";
    QTest::newRow("nothing stored, nothing shown: ESC") << "- - - -" << 0 << 2 << "yes";
    QTest::newRow("nothing stored, nothing shown: no click") << "- - - -" << 0 << 3 << "no";
    QTest::newRow("all stored False: ESC") << "F F F F" << 0 << 2 << "yes";
    QTest::newRow("write lost, shown click: click") << "- - - -" << 3 << 3 << "yes";
    QTest::newRow("write lost, shown click: ESC as well") << "- - - -" << 3 << 2 << "yes";
    QTest::newRow("stale store, shown click: click") << "T F F F" << 3 << 3 << "yes";
    QTest::newRow("stale store, shown click: stored any key") << "T F F F" << 3 << 1 << "yes";
    QTest::newRow("stale store, shown click: no ESC") << "T F F F" << 3 << 2 << "no";
    QTest::newRow("unreadable asked key, not shown") << "x F F F" << 0 << 1 << "fails";
    QTest::newRow("unreadable asked key, shown") << "x F F F" << 1 << 1 << "yes";
    QTest::newRow("unreadable other key is no choice: ESC") << "F F x F" << 0 << 2 << "yes";
    QTest::newRow("password stored: no ESC") << "F F F T" << 4 << 2 << "no";
}

void TestExitChoice::methodChosen() {
    QFETCH(QString, stored);
    QFETCH(int, shown);
    QFETCH(int, asked);
    QFETCH(QString, chosen);
    const QStringList keys = stored.split(' ');
    const StoredChoice read = [&](ExitMethod method) {
        const QString text = keys.at(static_cast<int>(method) - 1);
        return text != "-" && conversions::toBoolean(text == "T" ? "True" : text == "F" ? "False" : text);
    };
    const ShownExit shownExit{shown ? std::optional(ExitMethod(shown)) : std::nullopt, QString()};
    QString actual;
    try {
        actual = exitMethodChosen(ExitMethod(asked), read, shownExit) ? "yes" : "no";
    } catch (const Failure&) {
        actual = "fails";
    }
    QCOMPARE(actual, chosen);
}

void TestExitChoice::password_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("matches");
    QTest::newRow("the stored password") << "abc"
                                         << "abc" << 4 << true;
    QTest::newRow("the shown password, store lost it") << "pw"
                                                       << "" << 4 << true;
    QTest::newRow("the shown password, store stale") << "pw"
                                                     << "old" << 4 << true;
    QTest::newRow("shown text without the password method") << "pw"
                                                            << "" << 2 << false;
    QTest::newRow("neither") << "ab"
                             << "abc" << 4 << false;
}

void TestExitChoice::password() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(int, shown);
    QFETCH(bool, matches);
    const QString shownPassword = stored == "abc" ? "abc" : "pw";
    QCOMPARE(passwordMatches(typed, stored, ShownExit{ExitMethod(shown), shownPassword}), matches);
}

QTEST_GUILESS_MAIN(TestExitChoice)
#include "tst_exitchoice.moc"
