// SPDX-License-Identifier: MIT
// Keep-awake where nothing works: no X server (offscreen) and buses that cannot be reached. The user must
// be told so in the check box's tool tip, and nothing may wait for an answer.
#include "harness.h"
#include "program/backendkeepawake.h"
#include "program/keepawake_unix.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QTest>

using namespace umbralux;

namespace {

/// Holding must not wait for any service; far below the bus's 25-second time-out.
constexpr qint64 kImmediateMs = 1000;

} // namespace

class TestKeepAwake : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() {
        // Set by CTest; a developer's own buses must not leak into this test.
        QVERIFY(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").contains("nowhere"));
    }
    void saysWhyNothingWorks();
    void checkBoxToolTipFollowsTheServices();
};

void TestKeepAwake::saysWhyNothingWorks() {
    // As the program assembles it, on the buses CTest points nowhere.
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    QVERIFY(keepAwake.describe().startsWith("Keep-awake will use whichever of these the desktop offers: "));
    QElapsedTimer clock;
    clock.start();
    keepAwake.setHeld(true);
    keepAwake.signalUserActivity();
    keepAwake.keepSystemAwake();
    QVERIFY(clock.elapsed() < kImmediateMs);
    QCOMPARE(keepAwake.describe(),
             QStringLiteral("Keep-awake is not available on this desktop: no X server; "
                            "org.freedesktop.ScreenSaver: no connection to the bus; "
                            "org.gnome.SessionManager: no connection to the bus; "
                            "org.freedesktop.PowerManagement: no connection to the bus; "
                            "org.freedesktop.login1: no connection to the bus."));
    keepAwake.setHeld(false);
}

void TestKeepAwake::checkBoxToolTipFollowsTheServices() {
    test::Harness h;
    // As the program assembles it, on the buses CTest points nowhere.
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    Platform services{h.platform.settingsStore,
                      h.platform.dialogs,
                      h.platform.pageOpener,
                      h.platform.random,
                      h.platform.programEnd,
                      h.platform.pointerDisplay,
                      keepAwake,
                      h.platform.colourPicker,
                      h.platform.windowHints,
                      h.platform.monitorPower,
                      h.platform.inputContext};
    Program program(services, h.store.folder());
    QCheckBox* check4 = test::control<QCheckBox>(&program.form1(),
                                                 "Check4"); // loads the blank screen, which starts keep-awake
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), check4->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(check4, &help);
    QCOMPARE(check4->toolTip(), keepAwake.describe());
    QVERIFY(check4->toolTip().startsWith("Keep-awake is not available on this desktop: no X server;"));
    QCOMPARE(check4->text(), QStringLiteral("Prevent computer from sleeping or starting screensaver"));
}

QTEST_MAIN(TestKeepAwake)
#include "tst_keepawake_unavailable.moc"
