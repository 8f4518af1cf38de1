// SPDX-License-Identifier: MIT
#include "app/formtimer.h"

#include <QSignalSpy>
#include <QTest>

using namespace umbralux;

namespace {
/// Long enough for a due tick to arrive on a busy machine.
constexpr int kTickArrivesMs = 3000;
} // namespace

class TestFormTimer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void newInterval_data();
    void newInterval();
};

void TestFormTimer::newInterval_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("waitMs"); // before the new interval is set
    QTest::addColumn<int>("newInterval");
    QTest::addColumn<int>("quietMs"); // no tick may come this long after the change
    QTest::addColumn<bool>("ticks");  // a tick comes after that
    QTest::newRow("a shorter interval reaches the running timer") << true << 600000 << 0 << 20 << 0 << true;
    QTest::newRow("a longer interval counts afresh") << true << 300 << 200 << 900 << 450 << true;
    QTest::newRow("interval 0 stops it") << true << 20 << 0 << 0 << 300 << false;
    QTest::newRow("a disabled timer stays still") << false << 600000 << 0 << 20 << 300 << false;
}

void TestFormTimer::newInterval() {
    QFETCH(bool, enabled);
    QFETCH(int, interval);
    QFETCH(int, waitMs);
    QFETCH(int, newInterval);
    QFETCH(int, quietMs);
    QFETCH(bool, ticks);
    FormTimer timer(enabled, interval);
    QSignalSpy spy(&timer, &FormTimer::Timer);
    QTest::qWait(waitMs);
    QCOMPARE(spy.count(), 0);
    timer.setInterval(newInterval);
    QTest::qWait(quietMs);
    QCOMPARE(spy.count(), 0); // not yet
    QCOMPARE(spy.wait(ticks ? kTickArrivesMs : 100), ticks);
}

QTEST_MAIN(TestFormTimer)
#include "tst_formtimer.moc"
