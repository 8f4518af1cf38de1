// SPDX-License-Identifier: MIT
#include "inhibitor.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QLoggingCategory>

namespace umbralux {
namespace {

/// Answers that mean nobody on the bus offers the service, rather than that it refused.
bool meansMissing(const QString& errorName) {
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownObject");
}

} // namespace

Inhibitor::Inhibitor(QString name, QDBusConnection bus) : m_name(std::move(name)), m_bus(std::move(bus)) {}

Inhibitor::~Inhibitor() = default;

void Inhibitor::hold() {
    m_wanted = true;
    if (m_asking || m_holding)
        return;
    if (!m_bus.isConnected()) {
        fail(QStringLiteral("no connection to the bus"), true);
        return;
    }
    m_asking = true;
    if (m_status == Status::Untried)
        setStatus(Status::Pending);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(request()), &m_watchers);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_watchers,
                     [this](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         answered(call->reply());
                     });
}

void Inhibitor::release() {
    m_wanted = false;
    if (m_holding) {
        m_holding = false;
        giveBack();
    }
    // A hold still being asked for is given back when it arrives (answered()).
}

void Inhibitor::answered(const QDBusMessage& reply) {
    m_asking = false;
    if (reply.type() == QDBusMessage::ErrorMessage) {
        fail(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage(),
             meansMissing(reply.errorName()));
        return;
    }
    if (!keep(reply)) {
        fail(QStringLiteral("unexpected answer"), false);
        return;
    }
    if (m_status != Status::Works)
        qCInfo(lcKeepAwake).noquote() << "holding" << m_name;
    setStatus(Status::Works);
    m_holding = true;
    if (!m_wanted) // released while the request was on its way
        release();
}

void Inhibitor::fail(const QString& why, bool missing) {
    m_failure = why;
    m_missing = missing;
    if (!m_reported) {
        // Once per run: a service that is not there stays away, and the log must not fill up with it.
        m_reported = true;
        if (missing)
            qCInfo(lcKeepAwake).noquote() << m_name << "is not available:" << why;
        else
            qCWarning(lcKeepAwake).noquote() << m_name << "refused:" << why;
    }
    setStatus(Status::Fails);
}

void Inhibitor::setStatus(Status status) {
    if (status == m_status)
        return;
    m_status = status;
    if (m_onStatusChanged)
        m_onStatusChanged();
}

} // namespace umbralux
