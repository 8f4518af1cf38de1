// SPDX-License-Identifier: MIT
// The shortcut's hand-over, both ends real: the front end's own D-Bus client against the program's
// instance on a private bus, and against buses and holders that must not leave the screen open.
#include "busaddress.h"
#include "handover.h"
#include "platform/dbus/requestlog.h"
#include "platform/dbus/singleinstance_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace umbralux;

Q_DECLARE_METATYPE(umbralux::HandOver)

namespace {

constexpr int kDeadlineMs = 10000;
const QString kName = QStringLiteral("io.github.quenbrook.UmbraluxTest");
/// Longer than the hand-over's deadline: an instance that takes this long has not answered.
constexpr unsigned long kHungMs = 2 * kHandOverDeadline.count();
/// However the bus or the holder fails, the hand-over gives up within its deadline; this is only the bound
/// that tells a deadline that holds from none at all.
constexpr qint64 kGivesUpWithinMs = 5000;

enum class Bus { Real, NoListener, Silent, Stopped };

QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;
void recordLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (QLatin1String(context.category) == QLatin1String("umbralux.instance"))
        g_log << message;
    else
        g_previousHandler(type, context, message);
}

} // namespace

class TestHandOver : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void busAddresses_data();
    void busAddresses();
    void handOver_data();
    void handOver();
    void unknownRequestsLoggedSafely();

  private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_socket;
    std::optional<QDBusConnection> m_instanceBus;
    std::unique_ptr<DBusSingleInstance> m_instance;
    int m_answer = 0;
    bool m_hangs = false;
    int m_served = 0;
    QStringList m_arguments;
    int m_silentFd = -1;
};

void TestHandOver::initTestCase() {
    m_socket = m_dir.filePath(QStringLiteral("bus"));
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--address=unix:path=") + m_socket});
    QVERIFY2(m_daemon.waitForStarted(kDeadlineMs), "needs dbus-daemon");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_socket), kDeadlineMs);
    m_instanceBus =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=") + m_socket, QStringLiteral("instance"));
    QVERIFY(m_instanceBus->isConnected());
    m_instance = std::make_unique<DBusSingleInstance>(*m_instanceBus, kName);
    QVERIFY(m_instance->claim(StartRequest::OptionsWindow, [](StartRequest) { return ServeResult::Served; }));
    m_instance->serveCommands([this](const QStringList& arguments) {
        ++m_served;
        m_arguments = arguments;
        if (m_hangs)
            QThread::msleep(kHungMs);
        return SingleInstance::CommandReply{m_answer, QStringLiteral("answer %1\n").arg(m_answer)};
    });

    // A socket that takes connections into its queue and never says a word.
    m_silentFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray silent = m_dir.filePath(QStringLiteral("silent")).toLocal8Bit();
    qstrncpy(address.sun_path, silent.constData(), sizeof address.sun_path);
    QVERIFY(::bind(m_silentFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    QVERIFY(::listen(m_silentFd, 8) == 0);
    g_previousHandler = qInstallMessageHandler(recordLog);
}

void TestHandOver::cleanupTestCase() {
    qInstallMessageHandler(g_previousHandler);
    m_instance.reset();
    m_instanceBus.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("instance"));
    ::close(m_silentFd);
    m_daemon.kill();
    m_daemon.waitForFinished();
}

void TestHandOver::busAddresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("sockets"); // "@" marks the abstract namespace

    QTest::newRow("path") << "unix:path=/run/user/1000/bus" << QStringList{"/run/user/1000/bus"};
    QTest::newRow("abstract, with guid")
        << "unix:abstract=/tmp/dbus-x,guid=0123abcd" << QStringList{"@/tmp/dbus-x"};
    QTest::newRow("escaped") << "unix:path=/tmp/a%20b%2cc" << QStringList{"/tmp/a b,c"};
    QTest::newRow("tcp skipped, next tried") << "tcp:host=localhost,port=1;unix:path=/b" << QStringList{"/b"};
    QTest::newRow("broken escape") << "unix:path=/tmp/a%2" << QStringList{};
    QTest::newRow("two sockets in one") << "unix:path=/a,abstract=/b" << QStringList{};
    QTest::newRow("server-side only") << "unix:tmpdir=/tmp" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestHandOver::busAddresses() {
    QFETCH(QString, address);
    QFETCH(QStringList, sockets);
    QStringList found;
    for (const bus::SocketAddress& socket : bus::unixSockets(address.toStdString()))
        found << (socket.abstract ? QStringLiteral("@") : QString()) + QString::fromStdString(socket.name);
    QCOMPARE(found, sockets);
}

void TestHandOver::handOver_data() {
    QTest::addColumn<Bus>("bus");
    QTest::addColumn<bool>("ourProgram"); // whether the holder runs the program file the front end trusts
    QTest::addColumn<int>("answer");      // the status our instance answers
    QTest::addColumn<bool>("hangs");
    QTest::addColumn<HandOver>("outcome");

    QTest::newRow("our instance covers") << Bus::Real << true << 0 << false << HandOver::Answered;
    QTest::newRow("our instance shows the reminder") << Bus::Real << true << 1 << false << HandOver::Answered;
    QTest::newRow("another program holds the name") << Bus::Real << false << 0 << false << HandOver::NotOurs;
    QTest::newRow("our instance hangs") << Bus::Real << true << 0 << true << HandOver::NoAnswer;
    QTest::newRow("nothing listens") << Bus::NoListener << true << 0 << false << HandOver::NoBus;
    QTest::newRow("a socket that never speaks") << Bus::Silent << true << 0 << false << HandOver::BusSilent;
    QTest::newRow("a stopped bus") << Bus::Stopped << true << 0 << false << HandOver::BusSilent;
}

void TestHandOver::handOver() {
    QFETCH(Bus, bus);
    QFETCH(bool, ourProgram);
    QFETCH(int, answer);
    QFETCH(bool, hangs);
    QFETCH(HandOver, outcome);
    m_answer = answer;
    m_hangs = hangs;
    m_served = 0;
    m_arguments.clear();

    const QString socket = bus == Bus::Silent       ? m_dir.filePath(QStringLiteral("silent"))
                           : bus == Bus::NoListener ? m_dir.filePath(QStringLiteral("nobody"))
                                                    : m_socket;
    const HandOverTarget target{{bus::SocketAddress{socket.toStdString(), false}},
                                kName.toStdString(),
                                "/io/github/quenbrook/UmbraluxTest",
                                ourProgram ? "/proc/self/exe" : "/bin/sh"};
    const std::vector<std::string> arguments{"umbralux", "--show", "--keep-awake-for", "1h30m"};
    if (bus == Bus::Stopped)
        ::kill(pid_t(m_daemon.processId()), SIGSTOP);
    QElapsedTimer took;
    took.start();
    // The front end blocks; the instance answers from this thread's event loop meanwhile.
    auto result =
        std::async(std::launch::async, [target, arguments] { return umbralux::handOver(target, arguments); });
    QTRY_VERIFY_WITH_TIMEOUT(result.wait_for(std::chrono::seconds(0)) == std::future_status::ready,
                             kDeadlineMs);
    const qint64 elapsed = took.elapsed();
    if (bus == Bus::Stopped)
        ::kill(pid_t(m_daemon.processId()), SIGCONT);
    const HandOverReply reply = result.get();
    QCOMPARE(reply.outcome, outcome);
    QVERIFY2(elapsed < kGivesUpWithinMs, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
    QCOMPARE(m_served, ourProgram && bus == Bus::Real ? 1 : 0); // an impostor's check never reaches the call
    if (outcome == HandOver::Answered) {
        QCOMPARE(reply.status, answer);
        QCOMPARE(QString::fromStdString(reply.output), QStringLiteral("answer %1\n").arg(answer));
        QCOMPARE(m_arguments, QStringList({"umbralux", "--show", "--keep-awake-for", "1h30m"}));
    } else {
        QVERIFY(!reply.detail.empty());
    }
    if (hangs)
        QTest::qWait(int(kHungMs)); // the hung call's reply goes nowhere; the next row starts clean
}

void TestHandOver::unknownRequestsLoggedSafely() {
    g_log.clear();
    const QString forged =
        QStringLiteral("x\n\x1b[31mpassword accepted\"\\") + QString(100000, QLatin1Char('y'));
    for (int i = 0; i < 3; ++i) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kName, QStringLiteral("/io/github/quenbrook/UmbraluxTest"),
            QStringLiteral("org.freedesktop.Application"), QStringLiteral("ActivateAction"));
        call << forged << QVariantList() << QVariantMap();
        QVERIFY(m_instanceBus->call(call, QDBus::BlockWithGui, kDeadlineMs).type() ==
                QDBusMessage::ReplyMessage);
    }
    // One line for the flood, quoted, escaped and cut; nothing in it can start another line or colour it.
    QCOMPARE(g_log.size(), 1);
    const QString line = g_log.constFirst();
    QVERIFY2(
        line.startsWith(QStringLiteral("unknown action \"x\\u000a\\u001b[31mpassword accepted\\\"\\\\yyy")),
        qPrintable(line));
    QVERIFY(line.contains(QStringLiteral("(%1 characters)").arg(forged.size())));
    QVERIFY(line.size() < 2 * kLoggedTextMaxChars);
    QVERIFY(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\x1b')));
}

QTEST_GUILESS_MAIN(TestHandOver)
#include "tst_handover.moc"
