// SPDX-License-Identifier: MIT
#include "singleinstance_dbus.h"

#include "launcher/ownprogram.h"
#include "requestlog.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QLoggingCategory>
#include <QVariantMap>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "umbralux.instance", QtWarningMsg)

namespace umbralux {
namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");

/// How long a later plain start waits for the running instance to take its request. It answers at once
/// unless it hangs, and then this start runs on its own rather than not at all.
constexpr int kHandOverTimeoutMs = 5000;

/// What Run answers in a process that holds no name and serves nobody.
constexpr int kNotServingStatus = 1;

} // namespace

/// org.freedesktop.Application on the instance's object: activation raises the options window, the
/// launcher's action shows the blank screen.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
  public:
    explicit ApplicationAdaptor(DBusSingleInstance* instance)
        : QDBusAbstractAdaptor(instance), m_instance(instance) {}

  public Q_SLOTS:
    void Activate(const QVariantMap&) { m_instance->received(StartRequest::OptionsWindow); }
    void Open(const QStringList&, const QVariantMap&) { m_instance->received(StartRequest::OptionsWindow); }
    void ActivateAction(const QString& action, const QVariantList&, const QVariantMap&) {
        if (action == QLatin1String(DBusSingleInstance::kShowScreenAction)) {
            m_instance->received(StartRequest::ShowScreen);
        } else if (action == QLatin1String(DBusSingleInstance::kShowScreenKeepAwakeAction)) {
            // As its launcher line says, "umbralux --show --keep-awake-for 1h".
            m_instance->runCommand({QStringLiteral("umbralux"), QStringLiteral("--show"),
                                    QStringLiteral("--keep-awake-for"), QStringLiteral("1h")});
        } else if (m_unknownActions.allow()) {
            // The name comes from any program on the bus: one safe line now and then, however many come.
            QString line = QStringLiteral("unknown action ") + quotedForLog(action);
            if (m_unknownActions.heldBack())
                line += QStringLiteral(" (and %1 more unknown requests since the last such line)")
                            .arg(m_unknownActions.heldBack());
            qCWarning(lcInstance).noquote() << line;
        }
    }

  private:
    DBusSingleInstance* m_instance;
    LogThrottle m_unknownActions;
};

/// The program's own interface beside it: a later start's command line, answered only once it has been
/// carried out, so that the start that sent it knows whether the screen is covered (launcher/handover.h).
class InstanceAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.quenbrook.Umbralux.Instance")
  public:
    explicit InstanceAdaptor(DBusSingleInstance* instance)
        : QDBusAbstractAdaptor(instance), m_instance(instance) {}

  public Q_SLOTS:
    /// Carries out a later start's whole command line (its program name first) as that start would, and
    /// answers the status it is to end with and what it is to print. A --show is answered once the blank
    /// screen is up, or with the password reminder's status when that came instead.
    int Run(const QStringList& arguments, QString& output) {
        const SingleInstance::CommandReply reply = m_instance->runCommand(arguments);
        output = reply.output;
        return reply.status;
    }

  private:
    DBusSingleInstance* m_instance;
};

DBusSingleInstance::DBusSingleInstance(QDBusConnection sessionBus, const QString& name)
    : m_bus(std::move(sessionBus)), m_name(name),
      m_path(QLatin1Char('/') + QString(name).replace(QLatin1Char('.'), QLatin1Char('/'))) {
    new ApplicationAdaptor(this);
    new InstanceAdaptor(this);
}

bool DBusSingleInstance::claim(StartRequest request, Serve serve) {
    if (!m_bus.isConnected() || !m_bus.interface())
        return true; // no session bus: a start of its own, as on any desktop without one
    m_serve = std::move(serve);
    // The object is there before the name: a start that finds the name taken can call it at once.
    if (!m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors))
        return true;
    if (request == StartRequest::ShowScreen) {
        claimBeside();
        return true;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_name, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return true;
    m_bus.unregisterObject(m_path);
    m_serve = nullptr;
    if (handOver(request))
        return false;
    qCWarning(lcInstance).noquote() << "no instance took the request; this one starts on its own";
    return true;
}

void DBusSingleInstance::claimBeside() {
    // The front end has asked the bus already and found no instance that confirmed: this start covers the
    // screen first and asks for the name meanwhile. Should another instance hold it after all, this one
    // still covers, on its own, and serves nobody.
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << m_name << uint(QDBusConnectionInterface::DontQueueService);
    m_bus.callWithCallback(request, this, SLOT(nameRequested(uint)), SLOT(nameRefused(QDBusError)));
}

void DBusSingleInstance::nameRequested(uint reply) {
    // RequestName's answers: the primary owner now, or already.
    constexpr uint kPrimaryOwner = 1;
    constexpr uint kAlreadyOwner = 4;
    if (reply != kPrimaryOwner && reply != kAlreadyOwner)
        nameRefused(QDBusError());
}

void DBusSingleInstance::nameRefused(const QDBusError& error) {
    m_bus.unregisterObject(m_path);
    m_serve = nullptr;
    qCInfo(lcInstance).noquote() << "another process holds" << m_name
                                 << "so this blank screen runs on its own" << error.message();
}

void DBusSingleInstance::serveCommands(const RunCommand& run) {
    m_runCommand = run;
}

SingleInstance::CommandReply DBusSingleInstance::runCommand(const QStringList& arguments) {
    if (!m_serve || !m_runCommand)
        return {kNotServingStatus,
                QCoreApplication::translate("SingleInstance", "this instance serves no requests\n")};
    return m_runCommand(arguments);
}

ServeResult DBusSingleInstance::received(StartRequest request) {
    return m_serve ? m_serve(request) : ServeResult::Served;
}

bool DBusSingleInstance::heldByOurProgram() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionCredentials"));
    call << m_name;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QVariantMap credentials = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    bool known = false;
    const uint uid = credentials.value(QStringLiteral("UnixUserID")).toUInt(&known);
    if (!known || uid != ::getuid())
        return false;
    const uint pid = credentials.value(QStringLiteral("ProcessID")).toUInt(&known);
    return known && runsProgram(pid, "/proc/self/exe");
}

bool DBusSingleInstance::handOver(StartRequest request) {
    if (request == StartRequest::Nothing)
        return true; // the desktop's own start, and an instance is there to take its request
    if (!heldByOurProgram()) {
        qCWarning(lcInstance).noquote() << m_name << "is held by another program or another user's; this one"
                                        << "starts on its own";
        return false;
    }
    const bool show = request == StartRequest::ShowScreen;
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_name, m_path, kInterface, show ? QStringLiteral("ActivateAction") : QStringLiteral("Activate"));
    if (show)
        call << QString::fromLatin1(kShowScreenAction) << QVariantList();
    call << QVariantMap();
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace umbralux

#include "singleinstance_dbus.moc"
