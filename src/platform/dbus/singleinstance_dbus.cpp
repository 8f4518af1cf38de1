// SPDX-License-Identifier: MIT
#include "singleinstance_dbus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QLoggingCategory>
#include <QVariantMap>

Q_LOGGING_CATEGORY(lcInstance, "umbralux.instance", QtWarningMsg)

namespace umbralux {
namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");

/// How long a later start waits for the running instance to take its request. It answers at once unless
/// it hangs, and then this start runs on its own rather than not at all.
constexpr int kHandOverTimeoutMs = 5000;

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
        if (action == QLatin1String(DBusSingleInstance::kShowScreenAction))
            m_instance->received(StartRequest::ShowScreen);
        else
            qCWarning(lcInstance).noquote() << "unknown action" << action;
    }

  private:
    DBusSingleInstance* m_instance;
};

DBusSingleInstance::DBusSingleInstance(QDBusConnection sessionBus, const QString& name)
    : m_bus(std::move(sessionBus)), m_name(name),
      m_path(QLatin1Char('/') + QString(name).replace(QLatin1Char('.'), QLatin1Char('/'))) {
    new ApplicationAdaptor(this);
}

bool DBusSingleInstance::claim(StartRequest request, Serve serve) {
    if (!m_bus.isConnected() || !m_bus.interface())
        return true; // no session bus: a start of its own, as on any desktop without one
    m_serve = std::move(serve);
    // The object is there before the name: a start that finds the name taken can call it at once.
    if (!m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors))
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_name, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return true;
    m_bus.unregisterObject(m_path);
    m_serve = nullptr;
    if (handOver(request))
        return false;
    qCWarning(lcInstance).noquote() << "the running instance does not answer; this one starts on its own";
    return true;
}

ServeResult DBusSingleInstance::received(StartRequest request) {
    return m_serve ? m_serve(request) : ServeResult::Served;
}

bool DBusSingleInstance::handOver(StartRequest request) {
    if (request == StartRequest::Nothing)
        return true; // the desktop's own start, and an instance is there to take its request
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
