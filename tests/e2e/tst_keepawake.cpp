// SPDX-License-Identifier: MIT
// Keep-awake against a real X server and real D-Bus buses, on which fakedesktop plays the desktop's
// services. Run by keepawake.sh, which starts Xvfb and the two private buses.
#include "app/backendkeepawake.h"
#include "app/platform.h"
#include "blank/form2.h"
#include "harness.h"
#include "options/form1.h"
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
/// A missing service must answer at once; the bus's own time-out would be 25 seconds.
constexpr qint64 kNoTimeOutMs = 3000;

/// Everything the program logs under its keep-awake category.
QStringList g_log;

void recordLog(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (context.category && QLatin1String(context.category) == QLatin1String("umbralux.keepawake"))
        g_log << message;
}

/// Waits until the answers to every call the program has made on the session bus so far have been handled:
/// the fake answers one caller's calls in order, so the answer to its TestSync comes after them.
void answersArrived() {
    QDBusMessage ping =
        QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                       "org.freedesktop.ScreenSaver", "TestSync");
    QDBusConnection::sessionBus().call(ping);
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

qsizetype logged(const QString& part) {
    return g_log.filter(part).size();
}

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
    void init() { g_log.clear(); }
    void cleanupTestCase();

    void holdsAndReleasesEveryInhibitor_data();
    void holdsAndReleasesEveryInhibitor();
    void tickResetsTheIdleTime();
    void saverStaysOffWhileHeld();
    void userActivityGivenUpAfterRefusal_data();
    void userActivityGivenUpAfterRefusal();
    void missingServicesCostNoTimeOut();
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
    qInstallMessageHandler(recordLog);
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

void TestKeepAwake::holdsAndReleasesEveryInhibitor_data() {
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<bool>("releaseAtOnce");
    QTest::addColumn<QString>("taken");
    QTest::addColumn<QString>("givenBack");
    QTest::addColumn<QString>("named");
    QTest::newRow("freedesktop screen saver") << QStringList{} << false << "ScreenSaver.Inhibit Umbralux 1"
                                              << "ScreenSaver.UnInhibit 1"
                                              << "org.freedesktop.ScreenSaver";
    QTest::newRow("freedesktop screen saver, released before it answered")
        << QStringList{} << true << "ScreenSaver.Inhibit Umbralux 1"
        << "ScreenSaver.UnInhibit 1"
        << "org.freedesktop.ScreenSaver";
    QTest::newRow("GNOME session manager")
        << QStringList{"--no-screensaver", "--gnome"} << false << "Gnome.Inhibit Umbralux flags 8 1"
        << "Gnome.Uninhibit 1"
        << "org.gnome.SessionManager";
}

void TestKeepAwake::holdsAndReleasesEveryInhibitor() {
    QFETCH(QStringList, services);
    QFETCH(bool, releaseAtOnce);
    QFETCH(QString, taken);
    QFETCH(QString, givenBack);
    QFETCH(QString, named);
    FakeDesktop fake;
    QVERIFY(fake.start(services));
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};

    keepAwake.setHeld(true);
    if (!releaseAtOnce) {
        QVERIFY(fake.waitFor(taken));
        QVERIFY(fake.waitFor("login1.Inhibit idle Umbralux block"));
        QTRY_VERIFY_WITH_TIMEOUT(keepAwake.describe().contains(named), kDeadlineMs);
        QVERIFY(keepAwake.describe().contains("org.freedesktop.login1"));
        QVERIFY(keepAwake.describe().contains("the X server's screen saver control"));
        QCOMPARE(fake.count("login1 released"), 0); // the descriptor is kept while held
    }
    keepAwake.setHeld(false);

    QVERIFY2(fake.waitFor(givenBack), qPrintable(fake.lines().join('\n')));
    QVERIFY2(fake.waitFor("login1 released"), qPrintable(fake.lines().join('\n')));
    QCOMPARE(fake.count(taken), 1);
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

void TestKeepAwake::userActivityGivenUpAfterRefusal_data() {
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<int>("callsPerPeriod"); // out of three ticks
    QTest::addColumn<int>("logLines");
    QTest::newRow("supported: every tick") << QStringList{} << 3 << 0;
    QTest::newRow("NotSupported (GNOME): once") << QStringList{"--simulate=notsupported"} << 1 << 1;
    QTest::newRow("UnknownMethod: once") << QStringList{"--simulate=missing"} << 1 << 1;
    QTest::newRow("ServiceUnknown: nothing to count") << QStringList{"--no-screensaver"} << 0 << 1;
}

void TestKeepAwake::userActivityGivenUpAfterRefusal() {
    QFETCH(QStringList, services);
    QFETCH(int, callsPerPeriod);
    QFETCH(int, logLines);
    FakeDesktop fake;
    QVERIFY(fake.start(services));
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};

    for (int period = 1; period <= 2; ++period) {
        keepAwake.setHeld(true);
        keepAwake.signalUserActivity();
        // Let the answer to the first tick come back before the next ticks.
        answersArrived();
        keepAwake.signalUserActivity();
        keepAwake.signalUserActivity();
        keepAwake.setHeld(false);
        // The bus keeps one sender's calls in order: the login1 release proves that all ticks were sent...
        QVERIFY(fake.waitFor("login1 released", period));
        // ...and on the session bus, UnInhibit comes after them.
        if (!services.contains("--no-screensaver"))
            QVERIFY(fake.waitFor("ScreenSaver.UnInhibit", period));
        QCOMPARE(fake.count("ScreenSaver.SimulateUserActivity"), callsPerPeriod * period);
    }
    QCOMPARE(logged("SimulateUserActivity"), logLines); // once per run, not once a minute
}

void TestKeepAwake::missingServicesCostNoTimeOut() {
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    QElapsedTimer clock;
    clock.start();
    keepAwake.setHeld(true);
    keepAwake.signalUserActivity();
    QVERIFY(clock.elapsed() < qint64{kFreshIdleMs}); // nothing waits for an answer
    // All four session services and logind answer "not there" without the bus's time-out.
    QTRY_VERIFY_WITH_TIMEOUT(logged("is not available") >= 5, kDeadlineMs);
    QVERIFY2(clock.elapsed() < kNoTimeOutMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(keepAwake.describe(), QStringLiteral("Keep-awake uses the X server's screen saver control."));
    keepAwake.setHeld(false);
    keepAwake.setHeld(true); // a second period logs nothing new
    QTest::qWait(200);
    QCOMPARE(logged("is not available"), 5);
    keepAwake.setHeld(false);
}

void TestKeepAwake::anyKeyCurtainSurvivesItsOwnTicks() {
    FakeDesktop fake;
    QVERIFY(fake.start({}));
    test::FakePlatform fakes;
    for (int i = 1; i <= 4; ++i)
        fakes.store.set(QStringLiteral("Option%1").arg(i), i == 1 ? "True" : "False");
    BackendKeepAwake keepAwake{
        keepAwakeBackends(QDBusConnection::sessionBus(), QDBusConnection::systemBus())};
    Platform services{fakes.settingsStore, fakes.dialogs,      fakes.pageOpener,
                      fakes.random,        fakes.programEnd,   fakes.pointerDisplay,
                      keepAwake,           fakes.colourPicker, fakes.windowHints};
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
