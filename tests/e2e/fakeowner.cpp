// SPDX-License-Identifier: MIT
// Holds the program's name on the session bus before the program does, as another program could: it
// answers every call on the program's object as though it had done what was asked ("answer"), or takes
// every call and never answers ("mute"). It prints "ready" once it holds the name.
//
//   fakeowner answer|mute
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

const QString kName = QStringLiteral("io.github.quenbrook.Umbralux");
const QString kPath = QStringLiteral("/io/github/quenbrook/Umbralux");

class Owner final : public QDBusVirtualObject {
  public:
    explicit Owner(bool answers) : m_answers(answers) {}

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (!m_answers) {
            message.setDelayedReply(true); // taken, and never answered
            return true;
        }
        QDBusMessage reply = message.createReply();
        if (message.member() == QLatin1String("ShowScreen"))
            reply << uint(0); // "covered"
        connection.send(reply);
        return true;
    }

  private:
    bool m_answers;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const bool answers = arguments.value(1) == QLatin1String("answer");
    if (!answers && arguments.value(1) != QLatin1String("mute")) {
        std::fprintf(stderr, "usage: fakeowner answer|mute\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    Owner owner(answers);
    if (!bus.registerVirtualObject(kPath, &owner) || !bus.registerService(kName)) {
        std::fprintf(stderr, "fakeowner: cannot hold %s\n", qPrintable(kName));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
