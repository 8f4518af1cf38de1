// SPDX-License-Identifier: MIT
#include "platform/windows/instancehandover_win.h"
#include "platform/windows/singleinstance_win.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

using namespace umbralux;
using namespace std::chrono_literals;
using instancemessage::Reply;

Q_DECLARE_METATYPE(StartRequest)
Q_DECLARE_METATYPE(ServeResult)
Q_DECLARE_METATYPE(Claim)
Q_DECLARE_METATYPE(WindowsSingleInstance::CommandHandOver::Outcome)

namespace {

/// The deadline and retry interval the rows of the claim sequence use.
constexpr std::chrono::milliseconds kDeadline = 500ms;
constexpr std::chrono::milliseconds kRetry = 20ms;
/// How long the instance's own message box stays open when a row has one: well beyond the later start's
/// deadline, so that the start ends as handed over only when it is told at once.
constexpr int kMessageBoxMs = 2000;
/// How long a row waits for the later start to end.
constexpr int kLaterStartLimitMs = 5000;

/// A system that answers each round of the claim from a script, one letter a round (the last one repeats):
/// T the mutex is free; N no window; F only a foreign window; O our window, which answers `answer`. Time
/// passes only while the claim pauses.
struct ScriptedSeat final : InstanceSeat {
    QString script;
    std::optional<std::intptr_t> answer;
    std::chrono::steady_clock::time_point clock{};
    int round = 0;
    int sends = 0;
    std::chrono::milliseconds sendTimeout{};

    QChar letter() const { return script.at(std::min<int>(round, int(script.size()) - 1)); }
    bool take() override { return letter() == 'T'; }
    Found find() override {
        const QChar found = letter();
        ++round;
        return found == 'O' ? Found::Ours : found == 'F' ? Found::Foreign : Found::Nothing;
    }
    std::optional<std::intptr_t> send(const instancemessage::Packet&,
                                      std::chrono::milliseconds timeout) override {
        ++sends;
        sendTimeout = timeout;
        return answer;
    }
    void pause(std::chrono::milliseconds interval) override { clock += interval; }
    std::chrono::steady_clock::time_point now() override { return clock; }
};

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void messages_data();
    void messages();
    void commandMessages_data();
    void commandMessages();
    void claimSequence_data();
    void claimSequence();
    void handOver_data();
    void handOver();
    void commandHandOver_data();
    void commandHandOver();

  private:
    /// Never the program's own name, so that a run cannot reach an Umbralux the user is running.
    const QString m_name =
        QStringLiteral("io.github.quenbrook.Umbralux.test-%1").arg(QCoreApplication::applicationPid());
};

// What travels between two starts: a request of ours comes through whole, anything else is no request, and
// only the instance's own answers confirm.
void TestSingleInstance::messages_data() {
    QTest::addColumn<quintptr>("tag");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("request"); // -1: no request of ours
    const auto code = [](StartRequest request) {
        const std::uint32_t value = instancemessage::encodeRequest(request);
        return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
    };
    const quintptr tag = instancemessage::kRequestTag;
    for (StartRequest request :
         {StartRequest::OptionsWindow, StartRequest::ShowScreen, StartRequest::Nothing})
        QTest::addRow("request %d", int(request)) << tag << code(request) << int(request);
    QTest::newRow("another program's tag") << quintptr(1) << code(StartRequest::ShowScreen) << -1;
    QTest::newRow("three bytes") << tag << code(StartRequest::ShowScreen).left(3) << -1;
    QTest::newRow("eight bytes") << tag << code(StartRequest::ShowScreen).repeated(2) << -1;
    QTest::newRow("no data") << tag << QByteArray() << -1;
    QTest::newRow("unknown code") << tag << QByteArray("\x63\0\0\0", 4) << -1;
}

void TestSingleInstance::messages() {
    QFETCH(quintptr, tag);
    QFETCH(QByteArray, data);
    QFETCH(int, request);
    const std::optional<StartRequest> decoded =
        instancemessage::decodeRequest(tag, data.isEmpty() ? nullptr : data.constData(), data.size());
    QCOMPARE(decoded ? int(*decoded) : -1, request);

    // The window procedure's default answers, FALSE and TRUE, confirm nothing.
    QVERIFY(!instancemessage::decodeReply(0));
    QVERIFY(!instancemessage::decodeReply(1));
    for (Reply reply : {Reply::Served, Reply::NeedsPassword, Reply::WaitsForUser})
        QVERIFY(instancemessage::decodeReply(instancemessage::encodeReply(reply)) == reply);
}

// A command line and its reply come through whole, within their limits; anything else is no message of ours.
void TestSingleInstance::commandMessages_data() {
    using namespace instancemessage;
    QTest::addColumn<quintptr>("tag");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("command"); // empty: no command line of ours
    const auto utf16 = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * sizeof(char16_t));
    };
    const QStringList keepAwake{"umbralux.exe", "--show", "--keep-awake-for", "1h", "--monitor", "Écran 2"};
    QTest::newRow("show with options")
        << quintptr(kCommandTag) << encodeCommand(keepAwake)->data << keepAwake;
    const QStringList empty{"C:\\umbralux.exe", "", "--status"};
    QTest::newRow("an empty argument") << quintptr(kCommandTag) << encodeCommand(empty)->data << empty;
    QTest::newRow("a request's tag") << quintptr(kRequestTag) << encodeCommand(keepAwake)->data
                                     << QStringList();
    QTest::newRow("no end") << quintptr(kCommandTag) << utf16("umbralux.exe") << QStringList();
    QTest::newRow("odd size") << quintptr(kCommandTag) << utf16(QStringLiteral("a")).append('\0')
                              << QStringList();
    QTest::newRow("no data") << quintptr(kCommandTag) << QByteArray() << QStringList();
    QTest::newRow("too long") << quintptr(kCommandTag)
                              << utf16(QString(int(kMaxCommandBytes / 2), QLatin1Char('x'))).append(2, '\0')
                              << QStringList();
    QTest::newRow("too many arguments")
        << quintptr(kCommandTag) << QByteArray((kMaxCommandArguments + 1) * 4, '\0') << QStringList();
}

void TestSingleInstance::commandMessages() {
    using namespace instancemessage;
    QFETCH(quintptr, tag);
    QFETCH(QByteArray, data);
    QFETCH(QStringList, command);
    const std::optional<QStringList> decoded =
        decodeCommand(tag, data.isEmpty() ? nullptr : data.constData(), std::size_t(data.size()));
    QCOMPARE(decoded.value_or(QStringList()), command);
    QVERIFY(!encodeCommand({}));
    QVERIFY(!encodeCommand({QStringLiteral("a\0b")})); // would come through as two
    QVERIFY(!encodeCommand(QStringList(kMaxCommandArguments + 1, QStringLiteral("x"))));

    // The reply: its status and text whole, a text beyond the limit cut, a short or foreign message nothing.
    const SingleInstance::CommandReply reply{-7, QStringLiteral("{\n  \"covered\": true\n}\n")};
    const Packet packet = encodeCommandReply(reply);
    const auto back =
        decodeCommandReply(packet.tag, packet.data.constData(), std::size_t(packet.data.size()));
    QVERIFY(back && back->status == reply.status && back->output == reply.output);
    const Packet long_ = encodeCommandReply({0, QString(int(kMaxReplyBytes), QLatin1Char('y'))});
    QVERIFY(std::size_t(long_.data.size()) <= kMaxReplyBytes);
    QVERIFY(decodeCommandReply(long_.tag, long_.data.constData(), std::size_t(long_.data.size())));
    QVERIFY(!decodeCommandReply(packet.tag, packet.data.constData(), 3));
    QVERIFY(!decodeCommandReply(packet.tag, packet.data.constData(), 5));
    QVERIFY(!decodeCommandReply(kCommandTag, packet.data.constData(), std::size_t(packet.data.size())));
}

void TestSingleInstance::claimSequence_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("answer"); // -1: no answer at all
    QTest::addColumn<Claim>("claim");
    QTest::addColumn<int>("sends");
    const int served = int(instancemessage::encodeReply(Reply::Served));
    QTest::newRow("first start") << "T" << served << Claim::Instance << 0;
    QTest::newRow("instance answers") << "O" << served << Claim::HandedOver << 1;
    QTest::newRow("an ending instance gives the mutex up") << "NNT" << served << Claim::Instance << 0;
    QTest::newRow("its window never comes") << "N" << served << Claim::Alone << 0;
    QTest::newRow("only a foreign window") << "F" << served << Claim::Alone << 0;
    QTest::newRow("a foreign window, then ours") << "FFO" << served << Claim::HandedOver << 1;
    QTest::newRow("no answer in time") << "O" << -1 << Claim::Alone << 1;
    QTest::newRow("found in the last round") << QString(24, 'N') + 'O' << served << Claim::HandedOver << 1;
}

void TestSingleInstance::claimSequence() {
    QFETCH(QString, script);
    QFETCH(int, answer);
    QFETCH(Claim, claim);
    QFETCH(int, sends);
    ScriptedSeat seat;
    seat.script = script;
    if (answer >= 0)
        seat.answer = answer;
    std::optional<Reply> reply;
    QVERIFY(claimInstance(seat, instancemessage::requestPacket(StartRequest::ShowScreen), kDeadline, kRetry,
                          reply) == claim);
    QCOMPARE(seat.sends, sends);
    QCOMPARE(reply.has_value(), claim == Claim::HandedOver);
    const auto spent = seat.clock - std::chrono::steady_clock::time_point{};
    if (claim == Claim::Alone && sends == 0)
        QVERIFY(spent == kDeadline); // looked until the deadline, and not beyond
    if (sends) {
        QVERIFY(seat.sendTimeout > 0ms);
        QVERIFY(spent + seat.sendTimeout <= kDeadline); // the answer is awaited within the same deadline
    }
}

// Two WindowsSingleInstance for real, the instance on this (GUI) thread and a later start on another one.
void TestSingleInstance::handOver_data() {
    QTest::addColumn<StartRequest>("request");
    QTest::addColumn<ServeResult>("result");
    QTest::addColumn<bool>("messageBox");   // the instance keeps a box of its own open while it serves
    QTest::addColumn<bool>("instanceEnds"); // the instance ends before the later start
    QTest::addColumn<bool>("laterRuns");
    QTest::newRow("options window") << StartRequest::OptionsWindow << ServeResult::Served << false << false
                                    << false;
    QTest::newRow("blank screen") << StartRequest::ShowScreen << ServeResult::Served << false << false
                                  << false;
    QTest::newRow("password reminder")
        << StartRequest::ShowScreen << ServeResult::NeedsPassword << false << false << false;
    QTest::newRow("reminder box open")
        << StartRequest::ShowScreen << ServeResult::NeedsPassword << true << false << false;
    QTest::newRow("after the instance ended")
        << StartRequest::ShowScreen << ServeResult::Served << false << true << true;
}

void TestSingleInstance::handOver() {
    QFETCH(StartRequest, request);
    QFETCH(ServeResult, result);
    QFETCH(bool, messageBox);
    QFETCH(bool, instanceEnds);
    QFETCH(bool, laterRuns);
    auto instance = std::make_unique<WindowsSingleInstance>(m_name);
    std::optional<StartRequest> served;
    std::atomic<bool> laterEnded{false};
    QVERIFY(instance->claim(StartRequest::OptionsWindow, [&](StartRequest received) {
        served = received;
        if (messageBox) { // as QMessageBox::exec() waits for the user
            QEventLoop box;
            QTimer::singleShot(kMessageBoxMs, &box, &QEventLoop::quit);
            box.exec();
        }
        return result;
    }));
    if (instanceEnds)
        instance.reset();

    bool laterClaim = false;
    std::thread later([&] {
        WindowsSingleInstance start(m_name);
        laterClaim = start.claim(request, {});
        laterEnded = true;
    });
    const struct Join {
        std::thread& thread;
        ~Join() { thread.join(); }
    } join{later};
    QTRY_VERIFY_WITH_TIMEOUT(laterEnded, kLaterStartLimitMs); // serving on this thread meanwhile
    QCOMPARE(laterClaim, laterRuns);
    QVERIFY(served == (laterRuns ? std::nullopt : std::optional(request)));
}

// A later start's whole command line, handed to a real instance on this thread from another one.
void TestSingleInstance::commandHandOver_data() {
    using Outcome = WindowsSingleInstance::CommandHandOver::Outcome;
    QTest::addColumn<bool>("instance");   // an instance runs
    QTest::addColumn<bool>("serves");     // it serves command lines
    QTest::addColumn<bool>("messageBox"); // it keeps a box of its own open while it carries one out
    QTest::addColumn<int>("status");      // what it answers
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("output"); // what the later start ends with
    QTest::newRow("answered") << true << true << false << 0 << Outcome::Answered << "args: 3\n";
    QTest::newRow("an error status") << true << true << false << 2 << Outcome::Answered << "args: 3\n";
    QTest::newRow("a box open") << true << true << true << 0 << Outcome::Answered << "";
    QTest::newRow("no instance") << false << false << false << 0 << Outcome::NoInstance << "";
    QTest::newRow("no command lines served") << true << false << false << 0 << Outcome::NoAnswer << "";
}

void TestSingleInstance::commandHandOver() {
    using CommandReply = SingleInstance::CommandReply;
    using Outcome = WindowsSingleInstance::CommandHandOver::Outcome;
    QFETCH(bool, instance);
    QFETCH(bool, serves);
    QFETCH(bool, messageBox);
    QFETCH(int, status);
    QFETCH(Outcome, outcome);
    QFETCH(QString, output);
    std::optional<QStringList> received;
    WindowsSingleInstance running(m_name);
    if (instance) {
        QVERIFY(running.claim(StartRequest::OptionsWindow, [](StartRequest) { return ServeResult::Served; }));
        if (serves)
            running.serveCommands([&](const QStringList& arguments) {
                received = arguments;
                if (messageBox) {
                    QEventLoop box;
                    QTimer::singleShot(kMessageBoxMs, &box, &QEventLoop::quit);
                    box.exec();
                }
                return CommandReply{status, QStringLiteral("args: %1\n").arg(arguments.size())};
            });
    }
    const QStringList arguments{"umbralux.exe", "--show", "--keep-awake-for=5s"};
    std::optional<WindowsSingleInstance::CommandHandOver> handOver;
    std::atomic<bool> laterEnded{false};
    std::thread later([&] {
        handOver = WindowsSingleInstance(m_name).handOverCommand(arguments);
        laterEnded = true;
    });
    const struct Join {
        std::thread& thread;
        ~Join() { thread.join(); }
    } join{later};
    QTRY_VERIFY_WITH_TIMEOUT(laterEnded, kLaterStartLimitMs);
    QVERIFY(handOver->outcome == outcome);
    QCOMPARE(handOver->reply.status, outcome == Outcome::Answered && !messageBox ? status : 0);
    QCOMPARE(handOver->reply.output, output);
    QCOMPARE(received.has_value(), serves);
    if (received)
        QCOMPARE(*received, arguments);
    if (!instance) // it only asked: the session is still free for the program's own start
        QVERIFY(WindowsSingleInstance(m_name).claim(StartRequest::OptionsWindow, {}));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance_win.moc"
