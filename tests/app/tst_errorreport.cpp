// SPDX-License-Identifier: MIT
#include "app/errorreport.h"
#include "fakeplatform.h"

#include <QTest>

using namespace umbralux;

namespace {

/// Throws like a failing statement.
[[noreturn]] void fail(const char* description) {
    throw Failure(QString::fromUtf8(description));
}

/// A reporting procedure in the shape of the program's handlers: a test guarding two steps, then two more.
QStringList runProcedure(ErrorReportSink& sink, const QList<int>& failingLines, bool condition) {
    QStringList ran;
    Procedure p{sink, procedureLocation("Form1", "Form_Load")};
    const auto line = [&](int n) {
        if (failingLines.contains(n))
            fail("Boom");
        ran << QString::number(n);
    };
    if (p.test(100, [&] {
            line(100);
            return condition;
        })) {
        p.step(102, [&] { line(102); });
    } else {
        p.step(104, [&] { line(104); });
    }
    p.step(106, [&] { line(106); });
    p.step(108, [&] { line(108); });
    return ran;
}

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void messageText_data();
    void messageText();
    void resumeRule_data();
    void resumeRule();
    void failureInACalledProcedureIsReportedAtTheCallingStep();
    void unreportedHandlerFailureIsShownNotThrown();
};

void TestErrorReport::messageText_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank screen load at 104")
        << "Invalid property value"
        << "Form2"
        << "Form_Load" << 104
        << "Invalid property value\r\nin Umbrasys2021/08/31.Form2.Form_Load at line 104\r\rPlease email "
           "screenshot "
           "of this message to support@quenbrook.example";
    QTest::newRow("empty description starts with the line break")
        << ""
        << "Form1"
        << "PushButton1_Click" << 124
        << "\r\nin Umbrasys2021/08/31.Form1.PushButton1_Click at line 124\r\rPlease email screenshot of this "
           "message "
           "to support@quenbrook.example";
}

void TestErrorReport::messageText() {
    QFETCH(QString, description);
    QFETCH(QString, window);
    QFETCH(QString, procedure);
    QFETCH(int, line);
    QFETCH(QString, expected);
    const QString location =
        procedureLocation(window.toLatin1().constData(), procedure.toLatin1().constData());
    QCOMPARE(errorReportMessage(description, location, line), expected);
}

void TestErrorReport::resumeRule_data() {
    QTest::addColumn<QList<int>>("failing");
    QTest::addColumn<bool>("condition");
    QTest::addColumn<QStringList>("ran");
    QTest::addColumn<QList<int>>("reportedLines");
    QTest::newRow("no failure, test holds")
        << QList<int>{} << true << QStringList{"100", "102", "106", "108"} << QList<int>{};
    QTest::newRow("no failure, test fails")
        << QList<int>{} << false << QStringList{"100", "104", "106", "108"} << QList<int>{};
    QTest::newRow("failing test runs the guarded step, skips the else")
        << QList<int>{100} << false << QStringList{"102", "106", "108"} << QList<int>{100};
    QTest::newRow("last step of a branch goes on after the conditional")
        << QList<int>{102} << true << QStringList{"100", "106", "108"} << QList<int>{102};
    QTest::newRow("two failures, two reports in order")
        << QList<int>{104, 108} << false << QStringList{"100", "106"} << QList<int>{104, 108};
    QTest::newRow("failing last step ends the procedure")
        << QList<int>{108} << true << QStringList{"100", "102", "106"} << QList<int>{108};
}

void TestErrorReport::resumeRule() {
    QFETCH(QList<int>, failing);
    QFETCH(bool, condition);
    QFETCH(QStringList, ran);
    QFETCH(QList<int>, reportedLines);
    test::RecordingDialogs dialogs;
    QCOMPARE(runProcedure(dialogs, failing, condition), ran);
    QCOMPARE(dialogs.reports.size(), reportedLines.size());
    for (int i = 0; i < reportedLines.size(); ++i) {
        QVERIFY2(dialogs.reports.at(i).contains(
                     QStringLiteral("Form1.Form_Load at line %1\r\r").arg(reportedLines.at(i))),
                 qPrintable(dialogs.reports.at(i)));
        QVERIFY(dialogs.reports.at(i).startsWith("Boom\r\n"));
    }
}

void TestErrorReport::failureInACalledProcedureIsReportedAtTheCallingStep() {
    test::RecordingDialogs dialogs;
    QStringList ran;
    const auto helper = [&] {
        ran << "helper start";
        fail("Type mismatch");
        // NOLINTNEXTLINE: never reached
        ran << "helper end";
    };
    Procedure p{dialogs, procedureLocation("Form2", "Form_Activate")};
    p.step(100, [&] { ran << "100"; });
    p.step(102, [&] { helper(); });
    p.step(104, [&] { ran << "104"; });
    QCOMPARE(ran, (QStringList{"100", "helper start", "104"}));
    QCOMPARE(dialogs.reports.size(), 1);
    QVERIFY(dialogs.reports.first().startsWith(
        "Type mismatch\r\nin Umbrasys2021/08/31.Form2.Form_Activate at line 102\r\r"));
}

void TestErrorReport::unreportedHandlerFailureIsShownNotThrown() {
    test::RecordingDialogs dialogs;
    bool after = false;
    runUnreportedHandler(dialogs, "Form1", "Text1_Change", [] { fail("Could not save the setting"); });
    after = true;
    QVERIFY(after);
    QCOMPARE(dialogs.reports.size(), 1);
    QVERIFY(dialogs.reports.first().startsWith(
        "Could not save the setting\r\nin Umbrasys2021/08/31.Form1.Text1_Change "));
    QVERIFY(dialogs.reports.first().endsWith(
        "Please email screenshot of this message to support@quenbrook.example"));
}

QTEST_GUILESS_MAIN(TestErrorReport)
#include "tst_errorreport.moc"
