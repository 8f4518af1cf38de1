// SPDX-License-Identifier: MIT
// Keep-awake's D-Bus backends against fake desktop services on a private bus of the test's own, without a
// display: what each inhibitor asks and gives back, GNOME standing in for the screen saver, the user activity
// signal, what is logged, and the tool tip's sentence; and the end-to-end tests' helper, which plays the same
// services in a process of its own.
#include "program/backendkeepawake.h"
#include "fakedesktopservices.h"
#include "platform/dbus/cookieinhibitor.h"
#include "platform/dbus/fallbackinhibitor.h"
#include "platform/dbus/logindinhibitor.h"
#include "platform/dbus/mutterpower.h"
#include "platform/dbus/portalinhibitor.h"
#include "platform/dbus/useractivity.h"
#include "program/backendkeepawake.h"
#include "program/keepawake_unix.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace umbralux;

namespace {

/// Upper bound for every wait on the bus.
constexpr int kDeadlineMs = 10000;
/// No step may wait for a service; the bus's own time-out would be 25 seconds.
constexpr qint64 kImmediateMs = 500;
/// The longest chain of calls and answers: the screen saver's refusal, GNOME's request, its answer, and one
/// round more for what that answer sends.
constexpr int kSettleRounds = 4;

const QString kSyncService = QStringLiteral("test.umbralux.Sync");

/// A bus without service files, so that no name is ever started on demand.
constexpr char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>\n"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
    "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";

/// The test's own actions and the calls the fake services received, in the order they happened.
QStringList g_events;
/// What the keep-awake category logged, as "info ..." or "warning ...".
QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;

void recordLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && QLatin1String(context.category) == QLatin1String("umbralux.keepawake"))
        g_log << (type == QtWarningMsg ? QStringLiteral("warning ") : QStringLiteral("info ")) + message;
    else
        g_previousHandler(type, context, message);
}

class Sync : public QObject {
    Q_OBJECT
  public Q_SLOTS:
    void Ping() {}
};

/// The services a row asks for, e.g. {"ScreenSaver refuses late", "GNOME", "login1"}, on the fakes'
/// connection for as long as it lives, each call they receive one of the events.
class FakeDesktop : public test::FakeDesktopServices {
  public:
    FakeDesktop(const QDBusConnection& bus, const QStringList& services)
        : FakeDesktopServices(services, bus, bus, [](const QString& call) { g_events << call; }) {}
};

/// The end-to-end tests' helper (FAKEDESKTOP), with the test's bus as its session and its system bus.
class Helper {
  public:
    Helper(const QString& address, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        environment.insert("DBUS_SYSTEM_BUS_ADDRESS", address);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QString::fromLocal8Bit(qgetenv("FAKEDESKTOP")), arguments);
    }
    ~Helper() {
        m_process.kill();
        m_process.waitForFinished(kDeadlineMs);
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    /// Every line it printed so far.
    QStringList lines() {
        m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
        return m_output.split('\n', Qt::SkipEmptyParts);
    }

  private:
    QProcess m_process;
    QString m_output;
};

/// What the private bus answers for a name nobody owns.
QString missing(const QString& name) {
    return QStringLiteral("%1: The name %1 was not provided by any .service files").arg(name);
}

} // namespace

class TestKeepAwakeBackends : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void holdsAndGivesBack_data();
    void holdsAndGivesBack();
    void toolTipSaysWhatWorks_data();
    void toolTipSaysWhatWorks();
    void helperPlaysLogind();
    void helperPlaysMuttersPowerSaveMode();

  private:
    std::unique_ptr<KeepAwake> keepAwake(const QString& backends);
    void run(KeepAwake& keepAwake, const FakeDesktop& fakes, const QString& script);
    void settle(const FakeDesktop& fakes);

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    std::optional<QDBusConnection> m_fakes;
    std::optional<QDBusConnection> m_program;
    Sync m_sync;
};

void TestKeepAwakeBackends::initTestCase() {
    QLoggingCategory::setFilterRules(QStringLiteral("umbralux.keepawake.info=true"));
    g_previousHandler = qInstallMessageHandler(recordLog);

    QFile config(m_dir.filePath("bus.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly) && config.write(kBusConfig) > 0);
    config.close();
    m_daemon.start("dbus-daemon", {"--config-file=" + config.fileName(), "--nofork", "--print-address"});
    QVERIFY2(m_daemon.waitForStarted(kDeadlineMs), "needs dbus-daemon");
    QTRY_VERIFY_WITH_TIMEOUT(m_daemon.canReadLine(), kDeadlineMs);
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    m_fakes = QDBusConnection::connectToBus(m_address, "fakes");
    m_program = QDBusConnection::connectToBus(m_address, "program");
    QVERIFY(m_fakes->isConnected() && m_program->isConnected());
    QVERIFY(m_fakes->registerObject("/", kSyncService, &m_sync, QDBusConnection::ExportAllSlots));
    QVERIFY(m_fakes->registerService(kSyncService));
}

void TestKeepAwakeBackends::init() {
    g_events.clear();
    g_log.clear();
}

void TestKeepAwakeBackends::cleanupTestCase() {
    m_fakes.reset();
    m_program.reset();
    QDBusConnection::disconnectFromBus("fakes");
    QDBusConnection::disconnectFromBus("program");
    m_daemon.kill();
    m_daemon.waitForFinished(kDeadlineMs);
}

/// Keep-awake over one kind of backend, or over all of them as the program assembles them ("desktop").
std::unique_ptr<KeepAwake> TestKeepAwakeBackends::keepAwake(const QString& backends) {
    const QDBusConnection& bus = *m_program;
    std::vector<std::unique_ptr<KeepAwakeBackend>> list;
    if (backends == "desktop")
        list = keepAwakeBackends(bus, bus);
    else if (backends == "screen saver")
        list.push_back(CookieInhibitor::screenSaver(bus));
    else if (backends == "power management")
        list.push_back(CookieInhibitor::powerManagement(bus));
    else if (backends == "logind")
        list.push_back(std::make_unique<LogindInhibitor>(bus));
    else if (backends == "portal")
        list.push_back(std::make_unique<PortalInhibitor>(bus));
    else if (backends == "screen saver or GNOME")
        list.push_back(std::make_unique<FallbackInhibitor>(CookieInhibitor::screenSaver(bus),
                                                           CookieInhibitor::gnomeSession(bus)));
    else if (backends == "user activity")
        list.push_back(std::make_unique<UserActivity>(bus));
    return std::make_unique<BackendKeepAwake>(std::move(list));
}

/// Waits until every answer to what the program sent so far has been handled, and to what those answers
/// made it send: the fakes answer one caller's calls in order, so the answer to a ping comes after them, and
/// each round takes one link of the chain further.
void TestKeepAwakeBackends::settle(const FakeDesktop& fakes) {
    for (int round = 0; round < kSettleRounds; ++round) {
        QTRY_COMPARE_WITH_TIMEOUT(fakes.lateAnswers(), 0, kDeadlineMs);
        QDBusPendingCallWatcher ping(
            m_program->asyncCall(QDBusMessage::createMethodCall(kSyncService, "/", kSyncService, "Ping")));
        QSignalSpy answered(&ping, &QDBusPendingCallWatcher::finished);
        QVERIFY(answered.wait(kDeadlineMs));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

/// Runs a script of "hold", "release", "tick" (its three steps) and "wait" (for the answers).
void TestKeepAwakeBackends::run(KeepAwake& keepAwake, const FakeDesktop& fakes, const QString& script) {
    for (const QString& action : script.split(' ', Qt::SkipEmptyParts)) {
        QElapsedTimer clock;
        clock.start();
        if (action == "wait") {
            settle(fakes);
            continue;
        }
        g_events << action;
        if (action == "hold" || action == "release") {
            keepAwake.setHeld(action == "hold");
        } else {
            keepAwake.signalUserActivity();
            keepAwake.endUserActivity();
            keepAwake.keepSystemAwake();
        }
        QVERIFY2(clock.elapsed() < kImmediateMs, qPrintable(action + " waited for an answer"));
    }
}

void TestKeepAwakeBackends::holdsAndGivesBack_data() {
    QTest::addColumn<QString>("backends");
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("complaints"); // what is logged about services that do not work

    const QStringList ssHeld{"hold", "ScreenSaver.Inhibit Umbralux 1", "release", "ScreenSaver.UnInhibit 1"};
    QTest::newRow("screen saver: held, given back") << "screen saver" << QStringList{"ScreenSaver"}
                                                    << "hold wait release wait" << ssHeld << QStringList{};
    QTest::newRow("screen saver: released before it answered")
        << "screen saver" << QStringList{"ScreenSaver"} << "hold release wait"
        << QStringList{"hold", "release", "ScreenSaver.Inhibit Umbralux 1", "ScreenSaver.UnInhibit 1"}
        << QStringList{};
    QTest::newRow("screen saver: held again before it answered")
        << "screen saver" << QStringList{"ScreenSaver"} << "hold release hold wait release wait"
        << QStringList{"hold",    "release",
                       "hold",    "ScreenSaver.Inhibit Umbralux 1",
                       "release", "ScreenSaver.UnInhibit 1"}
        << QStringList{};
    QTest::newRow("screen saver: asked once per period")
        << "screen saver" << QStringList{"ScreenSaver"}
        << "hold hold wait release wait hold wait release wait"
        << QStringList{"hold",
                       "hold",
                       "ScreenSaver.Inhibit Umbralux 1",
                       "release",
                       "ScreenSaver.UnInhibit 1",
                       "hold",
                       "ScreenSaver.Inhibit Umbralux 2",
                       "release",
                       "ScreenSaver.UnInhibit 2"}
        << QStringList{};
    QTest::newRow("screen saver refuses: a warning, once; asked again next time")
        << "screen saver" << QStringList{"ScreenSaver refuses"} << "hold wait release hold wait release"
        << QStringList{"hold", "ScreenSaver.Inhibit refused", "release",
                       "hold", "ScreenSaver.Inhibit refused", "release"}
        << QStringList{"warning org.freedesktop.ScreenSaver refused: Inhibiting is not allowed"};
    QTest::newRow("screen saver never answers: nothing waits for it")
        << "screen saver" << QStringList{"ScreenSaver never answers"} << "hold wait release wait"
        << QStringList{"hold", "ScreenSaver.Inhibit unanswered", "release"} << QStringList{};
    QTest::newRow("screen saver missing: no time-out, no warning, said once")
        << "screen saver" << QStringList{} << "hold wait release hold wait release"
        << QStringList{"hold", "release", "hold", "release"}
        << QStringList{"info org.freedesktop.ScreenSaver is not available"};
    QTest::newRow("power management")
        << "power management" << QStringList{"PowerManagement"} << "hold wait release wait"
        << QStringList{"hold", "PowerManagement.Inhibit Umbralux 1", "release", "PowerManagement.UnInhibit 1"}
        << QStringList{};
    QTest::newRow("logind: the descriptor kept while held")
        << "logind" << QStringList{"login1"} << "hold wait wait release wait"
        << QStringList{"hold", "login1.Inhibit idle Umbralux block", "release", "login1 released"}
        << QStringList{};
    QTest::newRow("logind: released before it answered")
        << "logind" << QStringList{"login1"} << "hold release wait"
        << QStringList{"hold", "release", "login1.Inhibit idle Umbralux block", "login1 released"}
        << QStringList{};
    QTest::newRow("portal: the request closed at release")
        << "portal" << QStringList{"portal"} << "hold wait release wait"
        << QStringList{"hold", "Portal.Inhibit flags 8", "release", "Portal.Request.Close"} << QStringList{};

    const QStringList standsIn{"hold", "ScreenSaver.Inhibit refused", "Gnome.Inhibit Umbralux flags 8 1",
                               "release", "Gnome.Uninhibit 1"};
    QTest::newRow("GNOME stands in for a missing screen saver")
        << "screen saver or GNOME" << QStringList{"GNOME"} << "hold wait release wait"
        << QStringList{"hold", "Gnome.Inhibit Umbralux flags 8 1", "release", "Gnome.Uninhibit 1"}
        << QStringList{"info org.freedesktop.ScreenSaver is not available"};
    QTest::newRow("GNOME takes over when the screen saver refuses late")
        << "screen saver or GNOME" << QStringList{"ScreenSaver refuses late", "GNOME"}
        << "hold wait release wait" << standsIn << QStringList{"warning org.freedesktop.ScreenSaver refused"};
    QTest::newRow("GNOME not asked for a refusal that comes after release")
        << "screen saver or GNOME" << QStringList{"ScreenSaver refuses late", "GNOME"} << "hold release wait"
        << QStringList{"hold", "release", "ScreenSaver.Inhibit refused"}
        << QStringList{"warning org.freedesktop.ScreenSaver refused"};
    QTest::newRow("GNOME not asked while the screen saver holds")
        << "screen saver or GNOME" << QStringList{"ScreenSaver", "GNOME"} << "hold wait release wait"
        << ssHeld << QStringList{};
    QTest::newRow("the screen saver tried again at the next hold")
        << "screen saver or GNOME" << QStringList{"ScreenSaver refuses once", "GNOME"}
        << "hold wait release wait hold wait release wait" << standsIn + ssHeld
        << QStringList{"warning org.freedesktop.ScreenSaver refused"};

    QTest::newRow("user activity: every tick while supported")
        << "user activity" << QStringList{"ScreenSaver"} << "hold tick wait tick tick wait release"
        << QStringList{"hold",
                       "tick",
                       "ScreenSaver.SimulateUserActivity",
                       "tick",
                       "tick",
                       "ScreenSaver.SimulateUserActivity",
                       "ScreenSaver.SimulateUserActivity",
                       "release"}
        << QStringList{};
    const QStringList givenUp{"hold", "tick", "ScreenSaver.SimulateUserActivity", "tick", "tick",   "release",
                              "hold", "tick", "ScreenSaver.SimulateUserActivity", "tick", "release"};
    const QString twoPeriods = "hold tick wait tick tick wait release hold tick wait tick wait release";
    QTest::newRow("user activity: NotSupported (GNOME) gives up until the next hold")
        << "user activity" << QStringList{"ScreenSaver NotSupported"} << twoPeriods << givenUp
        << QStringList{"info SimulateUserActivity is not available"};
    QTest::newRow("user activity: UnknownMethod gives up until the next hold")
        << "user activity" << QStringList{"ScreenSaver UnknownMethod"} << twoPeriods << givenUp
        << QStringList{"info SimulateUserActivity is not available"};
    QTest::newRow("user activity: the service missing")
        << "user activity" << QStringList{} << twoPeriods
        << QStringList{"hold", "tick", "tick", "tick", "release", "hold", "tick", "tick", "release"}
        << QStringList{"info SimulateUserActivity is not available"};

    QTest::newRow("the desktop offering nothing: each said once, none a warning")
        << "desktop" << QStringList{} << "hold tick wait release hold tick wait release"
        << QStringList{"hold", "tick", "release", "hold", "tick", "release"}
        << QStringList{"info SimulateUserActivity is not available",
                       "info org.freedesktop.PowerManagement is not available",
                       "info org.freedesktop.ScreenSaver is not available",
                       "info org.freedesktop.login1 is not available",
                       "info org.gnome.SessionManager is not available"};
}

void TestKeepAwakeBackends::holdsAndGivesBack() {
    QFETCH(QString, backends);
    QFETCH(QStringList, services);
    QFETCH(QString, script);
    QFETCH(QStringList, events);
    QFETCH(QStringList, complaints);
    FakeDesktop fakes(*m_fakes, services);
    QVERIFY2(fakes.failure().isEmpty(), qPrintable(fakes.failure()));
    std::unique_ptr<KeepAwake> keepAwake = this->keepAwake(backends);

    run(*keepAwake, fakes, script);

    QCOMPARE(g_events, events);
    QStringList logged = g_log.filter(QRegularExpression("is not available|refused"));
    logged.sort();
    QCOMPARE(logged.size(), complaints.size());
    for (int i = 0; i < logged.size(); ++i)
        QVERIFY2(logged[i].startsWith(complaints[i]), qPrintable(logged[i]));
    keepAwake.reset();
    settle(fakes); // nothing of this row reaches the next one's services
}

void TestKeepAwakeBackends::toolTipSaysWhatWorks_data() {
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<bool>("sandboxed");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("toolTip");

    const QString undecided = "Keep-awake will use whichever of these the desktop offers: "
                              "org.freedesktop.ScreenSaver, org.gnome.SessionManager, "
                              "org.freedesktop.PowerManagement, org.freedesktop.login1.";
    QTest::newRow("before the first hold") << QStringList{} << false << "" << undecided;
    QTest::newRow("while the answers are on their way") << QStringList{} << false << "hold" << undecided;
    const QString used = "Keep-awake uses org.freedesktop.ScreenSaver, org.freedesktop.login1.";
    QTest::newRow("what holds") << QStringList{"ScreenSaver", "login1"} << false << "hold wait" << used;
    QTest::newRow("what held, after release")
        << QStringList{"ScreenSaver", "login1"} << false << "hold wait release wait" << used;
    QTest::newRow("GNOME in place of the screen saver")
        << QStringList{"GNOME", "PowerManagement"} << false << "hold wait"
        << "Keep-awake uses org.gnome.SessionManager, org.freedesktop.PowerManagement.";
    QTest::newRow("nothing offered: every reason")
        << QStringList{} << false << "hold wait"
        << "Keep-awake is not available on this desktop: no X server; " +
               missing("org.freedesktop.ScreenSaver") + "; " + missing("org.gnome.SessionManager") + "; " +
               missing("org.freedesktop.PowerManagement") + "; " + missing("org.freedesktop.login1") + ".";
    QTest::newRow("sandboxed: the portal")
        << QStringList{"portal", "login1"} << true << "hold wait"
        << "Keep-awake uses org.freedesktop.portal.Inhibit, org.freedesktop.login1.";
}

void TestKeepAwakeBackends::toolTipSaysWhatWorks() {
    QFETCH(QStringList, services);
    QFETCH(bool, sandboxed);
    QFETCH(QString, script);
    QFETCH(QString, toolTip);
    FakeDesktop fakes(*m_fakes, services);
    QVERIFY2(fakes.failure().isEmpty(), qPrintable(fakes.failure()));
    if (sandboxed)
        qputenv("FLATPAK_ID", "org.umbralux.Umbralux");
    std::unique_ptr<KeepAwake> keepAwake = this->keepAwake("desktop");
    qunsetenv("FLATPAK_ID");

    run(*keepAwake, fakes, script);

    QCOMPARE(keepAwake->describe(), toolTip);
    keepAwake.reset();
    settle(fakes);
}

// The helper's logind as the real backend finds it: the descriptor handed out, and its closing noticed.
void TestKeepAwakeBackends::helperPlaysLogind() {
    Helper helper(m_address, {"--no-screensaver"});
    QTRY_COMPARE_WITH_TIMEOUT(helper.lines(), QStringList{"ready"}, kDeadlineMs);
    LogindInhibitor logind(*m_program);

    logind.hold();
    QTRY_COMPARE_WITH_TIMEOUT(logind.state(), Inhibitor::State::Holding, kDeadlineMs);
    logind.release();

    QTRY_COMPARE_WITH_TIMEOUT(helper.lines(),
                              (QStringList{"ready", "login1.Inhibit idle Umbralux block", "login1 released"}),
                              kDeadlineMs);
}

// Mutter's display configuration in the helper: the monitors' power written and read back.
// GNOME's power-save mode as --monitors-off sets it, against the built helper: off, then on; and the reason
// given where GNOME's display configuration is not on the bus.
void TestKeepAwakeBackends::helperPlaysMuttersPowerSaveMode() {
    MutterMonitorPower power(*m_program);
    QVERIFY(power.powerOff().contains("not on the session bus"));
    Helper helper(m_address, {"--no-screensaver", "--no-login1", "--serve=DisplayConfig"});
    QTRY_COMPARE_WITH_TIMEOUT(helper.lines(), QStringList{"ready"}, kDeadlineMs);
    QCOMPARE(power.powerOff(), QString());
    power.powerOn();
    QTRY_COMPARE_WITH_TIMEOUT(
        helper.lines(),
        (QStringList{"ready", "DisplayConfig.PowerSaveMode 3", "DisplayConfig.PowerSaveMode 0"}),
        kDeadlineMs);
}

QTEST_MAIN(TestKeepAwakeBackends)
#include "tst_keepawakebackends.moc"
