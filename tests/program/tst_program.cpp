// SPDX-License-Identifier: MIT
// What a start of the program gets, by itself or handed over from a later start: the options window or the
// blank screen at once, and where the dismissal of that blank screen leads.
#include "harness.h"

#include <QLineEdit>
#include <QTest>

using namespace umbralux;

namespace {

/// Well beyond the moment the program gets ready for the key that dismisses the blank screen.
constexpr int kBeyondPreparationMs = 300;
/// Upper bound for the blank screen to come up and be active.
constexpr int kDeadlineMs = 5000;

} // namespace

class TestProgram : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void requests_data();
    void requests();
    void returnLoadsWhatIsStoredThen();
    void inputContextPreparedWhileCovered_data();
    void inputContextPreparedWhileCovered();
};

void TestProgram::requests_data() {
    QTest::addColumn<QString>("before");   // what is up when the request arrives: nothing, options, curtain
    QTest::addColumn<QString>("password"); // stored with the password method; a null string keeps ESC
    QTest::addColumn<StartRequest>("request");
    QTest::addColumn<QString>("after");  // what is up then
    QTest::addColumn<QString>("escape"); // what ESC leads to: options, end, or nothing (no curtain)
    QTest::addColumn<int>("reminders");

    const auto show = StartRequest::ShowScreen;
    const auto options = StartRequest::OptionsWindow;
    QTest::newRow("--show alone: ESC ends the program") << "nothing" << QString() << show << "curtain"
                                                        << "end" << 0;
    QTest::newRow("--show over the options window: ESC brings it back")
        << "options" << QString() << show << "curtain"
        << "options" << 0;
    QTest::newRow("--show, password method without a password: the reminder") << "nothing"
                                                                              << "" << show << "options"
                                                                              << "nothing" << 1;
    QTest::newRow("--show, a stored password with a line break: the reminder") << "nothing"
                                                                               << "pw\n"
                                                                               << show << "options"
                                                                               << "nothing" << 1;
    QTest::newRow("--show, a stored password with a tab: the reminder") << "nothing"
                                                                        << "p\tw" << show << "options"
                                                                        << "nothing" << 1;
    QTest::newRow("--show, a stored password with a line separator: the reminder")
        << "nothing" << QStringLiteral("pw\u2028") << show << "options"
        << "nothing" << 1;
    QTest::newRow("--show, a password of a blank: the curtain") << "nothing"
                                                                << " " << show << "curtain"
                                                                << "curtain" << 0;
    QTest::newRow("--show, password method with one") << "nothing"
                                                      << "pw" << show << "curtain"
                                                      << "curtain" << 0;
    QTest::newRow("--show again: nothing changes") << "curtain" << QString() << show << "curtain"
                                                   << "options" << 0;
    QTest::newRow("a plain start over the curtain: no way around it")
        << "curtain" << QString() << options << "curtain"
        << "options" << 0;
    QTest::newRow("a plain start: the options window") << "nothing" << QString() << options << "options"
                                                       << "nothing" << 0;
}

void TestProgram::requests() {
    QFETCH(QString, before);
    QFETCH(QString, password);
    QFETCH(StartRequest, request);
    QFETCH(QString, after);
    QFETCH(QString, escape);
    QFETCH(int, reminders);
    if (!password.isNull()) {
        for (int i = 1; i <= 4; ++i)
            m_h->store.set(QStringLiteral("Option%1").arg(i), i == 4 ? "True" : "False");
        m_h->store.set("Text1", password);
    }
    Program& program = m_h->program;
    if (before != "nothing")
        program.start();
    if (before == "curtain")
        program.loadedForm1()->PushButton1_Click();
    test::settle();

    program.request(request);
    test::settle();
    const auto up = [&] {
        if (program.loadedForm2() && program.loadedForm2()->isVisible())
            return QStringLiteral("curtain");
        return program.loadedForm1() && program.loadedForm1()->isVisible() ? QStringLiteral("options")
                                                                           : QStringLiteral("nothing");
    };
    QCOMPARE(up(), after);
    QCOMPARE(m_h->platform.dialogs.messages.size(), reminders);

    if (after != "curtain")
        return;
    QTest::keyClick(program.loadedForm2(), Qt::Key_Escape);
    test::settle();
    const std::vector<int> ended = m_h->platform.programEnd.statuses;
    QCOMPARE(ended.empty() ? up() : QStringLiteral("end"), escape);
}

// The options window that comes back is built while the blank screen waits, but loaded only at the return:
// what another program stored in the meantime is what it shows.
void TestProgram::returnLoadsWhatIsStoredThen() {
    Program& program = m_h->program;
    program.start();
    program.loadedForm1()->PushButton1_Click();
    QVERIFY(program.loadedForm2() && program.loadedForm2()->isVisible());
    QTest::qWait(kBeyondPreparationMs); // beyond the moment the next options window is built
    QVERIFY(!program.loadedForm1());
    m_h->store.set("Text1", "changed meanwhile");
    m_h->store.set("Check4", "1");
    QTest::keyClick(program.loadedForm2(), Qt::Key_Escape);
    test::settle();
    Form1* options = program.loadedForm1();
    QVERIFY(options && options->isVisible());
    QCOMPARE(options->findChild<QLineEdit*>(QStringLiteral("Text1"))->text(),
             QStringLiteral("changed meanwhile"));
    QCOMPARE(options->Check4Value(), 1);
}

void TestProgram::inputContextPreparedWhileCovered_data() {
    QTest::addColumn<bool>("prepared"); // what the input context says of each preparation
    QTest::addColumn<int>("afterFirst");
    QTest::addColumn<int>("afterSecond"); // after the blank screen came up a second time
    QTest::newRow("done at the first showing, not again") << true << 1 << 1;
    QTest::newRow("not done: tried again at the next showing") << false << 1 << 2;
}

// The input context is got ready while the blank screen is up and active, and not while the options window
// is: there the first key may not wait for it.
void TestProgram::inputContextPreparedWhileCovered() {
    QFETCH(bool, prepared);
    QFETCH(int, afterFirst);
    QFETCH(int, afterSecond);
    test::RecordingInputContext& inputContext = m_h->platform.inputContext;
    inputContext.prepared = prepared;
    Program& program = m_h->program;
    program.start();
    QTest::qWait(kBeyondPreparationMs);
    QCOMPARE(inputContext.preparations, 0); // the options window alone: not yet

    program.loadedForm1()->PushButton1_Click();
    QTRY_VERIFY_WITH_TIMEOUT(program.loadedForm2()->isActiveWindow(), kDeadlineMs);
    QTRY_COMPARE_WITH_TIMEOUT(inputContext.preparations, afterFirst, kDeadlineMs);
    QTest::keyClick(program.loadedForm2(), Qt::Key_Escape);
    test::settle();
    QTest::qWait(kBeyondPreparationMs);
    QCOMPARE(inputContext.preparations, afterFirst); // the options window is back: nothing more

    program.loadedForm1()->PushButton1_Click();
    QTRY_VERIFY_WITH_TIMEOUT(program.loadedForm2()->isActiveWindow(), kDeadlineMs);
    QTest::qWait(kBeyondPreparationMs);
    QCOMPARE(inputContext.preparations, afterSecond);
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
