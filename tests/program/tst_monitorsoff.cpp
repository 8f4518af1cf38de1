// SPDX-License-Identifier: MIT
// The monitors of a showing with --monitors-off: when they go off and come on again, whatever the user does
// and however the showing ends.
#include "harness.h"
#include "program/monitorsoff.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace umbralux;
using namespace std::chrono_literals;

class TestMonitorsOff : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void timeline_data();
    void timeline();
    void endsOfTheShowing_data();
    void endsOfTheShowing();
};

namespace {

constexpr MonitorsOff::Timing kShortTiming{50ms, 150ms};
/// Long enough for either interval of kShortTiming to pass.
constexpr int kBeyondMs = 250;

} // namespace

void TestMonitorsOff::timeline_data() {
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("steps"); // wait, key, click, end
    QTest::addColumn<QStringList>("log");

    QTest::newRow("off a moment after the showing starts")
        << QString() << QStringList{"wait"} << QStringList{"off"};
    QTest::newRow("input wakes them, and they go off again")
        << QString() << QStringList{"wait", "key", "wait"} << QStringList{"off", "on", "off"};
    QTest::newRow("a click wakes them too")
        << QString() << QStringList{"wait", "click"} << QStringList{"off", "on"};
    QTest::newRow("input before they are off only puts it off")
        << QString() << QStringList{"key", "wait"} << QStringList{"off"};
    QTest::newRow("the end of the showing brings them back")
        << QString() << QStringList{"wait", "end"} << QStringList{"off", "on"};
    QTest::newRow("an end before they went off: nothing to bring back")
        << QString() << QStringList{"end"} << QStringList{};
    QTest::newRow("no way to power them off: asked once, never again")
        << QStringLiteral("DPMS: the X server has no DPMS extension")
        << QStringList{"wait", "key", "wait", "end"} << QStringList{"off"};
}

void TestMonitorsOff::timeline() {
    QFETCH(QString, refusal);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, log);
    test::RecordingMonitorPower& power = m_h->platform.monitorPower;
    power.refusal = refusal;
    QWidget window;
    window.show();
    auto off = std::make_unique<MonitorsOff>(power, kShortTiming);
    for (const QString& step : steps) {
        if (step == "wait")
            QTest::qWait(kBeyondMs);
        else if (step == "key")
            QTest::keyClick(&window, Qt::Key_A);
        else if (step == "click")
            QTest::mouseClick(&window, Qt::LeftButton);
        else if (step == "end")
            off.reset();
    }
    QCOMPARE(power.log, log);
    if (off)
        QCOMPARE(off->refusal(), refusal);
}

// Every way out of a showing whose command line asked for the monitors off brings them back.
void TestMonitorsOff::endsOfTheShowing_data() {
    QTest::addColumn<QString>("end");
    QTest::newRow("the exit method") << "dismissal";
    QTest::newRow("an end request (a signal)") << "end request";
    QTest::newRow("a failure that ends the program") << "failure";
}

void TestMonitorsOff::endsOfTheShowing() {
    QFETCH(QString, end);
    Program& program = m_h->program;
    QCOMPARE(program.runCommand({"umbralux", "--show", "--monitors-off"}).status, 0);
    QTest::qWait(int(MonitorsOff::kPowerOffDelay.count()) + 200);
    const QJsonObject state = QJsonDocument::fromJson(program.statusJson().toUtf8()).object();
    QCOMPARE(state.value("monitorsOff").toObject().value("off").toBool(), true);
    QCOMPARE(m_h->platform.monitorPower.log, QStringList{"off"});
    if (end == "dismissal")
        QTest::keyClick(program.loadedForm2(), Qt::Key_Escape);
    else if (end == "end request")
        program.end();
    else
        program.restoreBeforeFailureExit();
    test::settle();
    QCOMPARE(m_h->platform.monitorPower.log, (QStringList{"off", "on"}));
}

QTEST_MAIN(TestMonitorsOff)
#include "tst_monitorsoff.moc"
