// SPDX-License-Identifier: MIT
// Keep-awake against a real X server: what only the server shows (its idle time, its screen saver, the
// messages to xscreensaver, the key events the program receives). Run by keepawake.sh, which starts Xvfb
// and the two private buses on which fakedesktop plays the desktop's services for the curtain test.
// What the D-Bus backends ask and give back is tst_keepawakebackends' business.
#include "app/platform.h"
#include "blank/form2.h"
#include "harness.h"
#include "options/form1.h"
#include "program/backendkeepawake.h"
#include "program/keepawake_unix.h"
#include "program/program.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
// Xlib's event names would hide QEvent's.
#undef KeyPress
#undef KeyRelease

using namespace umbralux;

namespace {

/// Idle time counted as "just reset": well below the time the test lets pass before the tick.
constexpr unsigned long kFreshIdleMs = 500;
/// Idle time the test waits for before a tick, so that a reset is plain to see.
constexpr unsigned long kStaleIdleMs = 1200;
/// The shortest screen saver time-out the X server takes, in seconds.
constexpr int kSaverTimeoutS = 1;
/// How long the saver must stay off while held: well past its time-out.
constexpr int kHeldSaverCheckMs = 2500;
/// Keep-awake tick interval for the curtain test, set through the program's test seam.
constexpr int kShortTickMs = 50;
/// Ticks the any-key curtain has to survive.
constexpr int kCurtainTicks = 10;
/// Upper bound for every wait on the fake services or the X server.
constexpr int kDeadlineMs = 10000;

/// The fake desktop services in a process of their own.
class FakeDesktop {
  public:
    ~FakeDesktop() { stop(); }

    bool start(const QStringList& arguments) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QString::fromLocal8Bit(qgetenv("FAKEDESKTOP")), arguments);
        return m_process.waitForStarted(kDeadlineMs) && waitFor(QStringLiteral("ready"));
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(kDeadlineMs);
        // The names are free again only once the buses have noticed.
        QTRY_VERIFY_WITH_TIMEOUT(!registered(QDBusConnection::sessionBus(), "org.freedesktop.ScreenSaver") &&
                                     !registered(QDBusConnection::sessionBus(), "org.gnome.SessionManager") &&
                                     !registered(QDBusConnection::systemBus(), "org.freedesktop.login1"),
                                 kDeadlineMs);
    }

    /// Every line the services printed so far.
    QStringList lines() {
        m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    qsizetype count(const QString& prefix) {
        qsizetype n = 0;
        for (const QString& line : lines())
            n += line.startsWith(prefix) ? 1 : 0;
        return n;
    }
    bool waitFor(const QString& line, int times = 1) {
        QElapsedTimer clock;
        clock.start();
        while (count(line) < times) {
            if (clock.elapsed() > kDeadlineMs)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

  private:
    static bool registered(const QDBusConnection& bus, const char* name) {
        return bus.interface() && bus.interface()->isServiceRegistered(QLatin1String(name)).value();
    }

    QProcess m_process;
    QString m_output;
};

} // namespace

class TestKeepAwake : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void tickResetsTheIdleTime();
    void saverStaysOffWhileHeld();
    void anyKeyCurtainSurvivesItsOwnTicks();
    void xscreensaverToldWhileHeld_data();
    void xscreensaverToldWhileHeld();

  private:
    int deactivations(Window daemon);
    unsigned long idleMs();
    int saverState();
    Display* m_display = nullptr;
};

void TestKeepAwake::initTestCase() {
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "needs an X server");
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
    QVERIFY2(QDBusConnection::systemBus().isConnected(), "needs a bus in DBUS_SYSTEM_BUS_ADDRESS");
    m_display = XOpenDisplay(nullptr);
    QVERIFY(m_display);
}

void TestKeepAwake::cleanupTestCase() {
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long TestKeepAwake::idleMs() {
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), info);
    const unsigned long idle = info->idle;
    XFree(info);
    return idle;
}

int TestKeepAwake::saverState() {
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), info);
    const int state = info->state;
    XFree(info);
    return state;
}

void TestKeepAwake::tickResetsTheIdleTime() {
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    keepAwake.setHeld(true);
    QTRY_VERIFY_WITH_TIMEOUT(idleMs() >= kStaleIdleMs, kDeadlineMs);
    keepAwake.signalUserActivity();
    keepAwake.endUserActivity();
    keepAwake.keepSystemAwake();
    // The reset went out on the program's own connection; poll until the server has taken it.
    QTRY_VERIFY_WITH_TIMEOUT(idleMs() < kFreshIdleMs, kStaleIdleMs);
    // No desktop service runs: the server's screen saver control is all there is.
    QCOMPARE(keepAwake.describe(), QStringLiteral("Keep-awake uses the X server's screen saver control."));
    keepAwake.setHeld(false);
}

void TestKeepAwake::saverStaysOffWhileHeld() {
    XSetScreenSaver(m_display, kSaverTimeoutS, 0, DontPreferBlanking, AllowExposures);
    XResetScreenSaver(m_display);
    XSync(m_display, False);
    {
        BackendKeepAwake keepAwake{
            keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
        keepAwake.setHeld(true);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kHeldSaverCheckMs) {
            QCOMPARE(saverState(), ScreenSaverOff);
            QTest::qWait(100);
        }
        QVERIFY(idleMs() >= kSaverTimeoutS * 1000); // the saver was due
        keepAwake.setHeld(false);
        QTRY_COMPARE_WITH_TIMEOUT(saverState(), ScreenSaverOn, kDeadlineMs);
    }
    XSetScreenSaver(m_display, 0, 0, DefaultBlanking, DefaultExposures);
    XResetScreenSaver(m_display);
    XSync(m_display, False);
}

void TestKeepAwake::anyKeyCurtainSurvivesItsOwnTicks() {
    FakeDesktop fake;
    QVERIFY(fake.start({}));
    test::FakePlatform fakes;
    for (int i = 1; i <= 4; ++i)
        fakes.store.set(QStringLiteral("Option%1").arg(i), i == 1 ? "True" : "False");
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    Platform services{fakes.settingsStore, fakes.dialogs,        fakes.pageOpener,  fakes.random,
                      fakes.programEnd,    fakes.pointerDisplay, keepAwake,         fakes.colourPicker,
                      fakes.windowHints,   fakes.monitorPower,   fakes.inputContext};
    {
        Program program(services, fakes.store.folder());
        program.start();
        Form2& form2 = *program.loadedForm2();
        test::probe(form2).Timer2().setInterval(kShortTickMs);
        QVERIFY(test::probe(form2).Timer2().enabled());
        int ticks = 0;
        connect(&test::probe(form2).Timer2(), &FormTimer::Timer, this, [&ticks] { ++ticks; });

        // Every key event that reaches any of the program's objects.
        int keys = 0;
        struct KeyCounter : QObject {
            int& count;
            explicit KeyCounter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
                    ++count;
                return false;
            }
        } counter(keys);
        qApp->installEventFilter(&counter);

        program.form1().findChild<QPushButton*>("PushButton1")->click();
        QTRY_VERIFY_WITH_TIMEOUT(form2.isVisible() && form2.isActiveWindow(), kDeadlineMs);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= kCurtainTicks, kDeadlineMs);
        QVERIFY(fake.waitFor("ScreenSaver.SimulateUserActivity", kCurtainTicks));
        QVERIFY(form2.isVisible());
        QCOMPARE(keys, 0);
        QVERIFY(fakes.dialogs.reports.isEmpty());

        // The curtain does hear a real key, so it could have heard one of its own.
        QCOMPARE(QProcess::execute("xdotool", {"key", "a"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!form2.isVisible(), kDeadlineMs);
        QVERIFY(keys > 0);
        qApp->removeEventFilter(&counter);
    }
    QVERIFY(fake.waitFor("login1 released")); // ending the program gives the holds back
}

/// Drains the test's connection and counts the deactivate messages the daemon's window received.
int TestKeepAwake::deactivations(Window daemon) {
    const Atom screensaver = XInternAtom(m_display, "SCREENSAVER", False);
    const auto deactivate = static_cast<long>(XInternAtom(m_display, "DEACTIVATE", False));
    XSync(m_display, False);
    int count = 0;
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        count += event.type == ClientMessage && event.xclient.window == daemon &&
                 event.xclient.message_type == screensaver && event.xclient.format == 32 &&
                 event.xclient.data.l[0] == deactivate;
    }
    return count;
}

void TestKeepAwake::xscreensaverToldWhileHeld_data() {
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("told");
    QTest::newRow("holding tells it at once") << 0 << 1;
    QTest::newRow("and so does each tick") << 3 << 4;
}

void TestKeepAwake::xscreensaverToldWhileHeld() {
    QFETCH(int, ticks);
    QFETCH(int, told);
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    QVERIFY(!keepAwake.describe().contains("xscreensaver"));

    // The daemon as its clients find it: a window of its own on the root window with its version.
    const Window daemon = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    const char version[] = "6.06";
    XChangeProperty(m_display, daemon, XInternAtom(m_display, "_SCREENSAVER_VERSION", False), XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(version), sizeof version - 1);
    XSync(m_display, False);
    const auto gone = qScopeGuard([&] {
        XDestroyWindow(m_display, daemon);
        XSync(m_display, False);
    });
    QVERIFY(keepAwake.describe().contains("xscreensaver's deactivate command"));

    keepAwake.setHeld(true);
    for (int tick = 0; tick < ticks; ++tick)
        keepAwake.signalUserActivity();
    int received = 0;
    QTRY_COMPARE_WITH_TIMEOUT(received += deactivations(daemon), told, kDeadlineMs);
    QTest::qWait(100);
    QCOMPARE(deactivations(daemon), 0); // no more than that
    keepAwake.setHeld(false);
}

QTEST_MAIN(TestKeepAwake)
#include "tst_keepawake.moc"
