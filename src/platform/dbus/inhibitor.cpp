// SPDX-License-Identifier: MIT
#include "inhibitor.h"

#include "app/keepawake.h"
#include "app/keepawakesummary.h"

#include <QCoreApplication>
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

std::optional<uint> Inhibitor::cookieOf(const QDBusMessage& reply) {
    if (reply.arguments().size() != 1 || !reply.arguments().constFirst().canConvert<uint>())
        return std::nullopt;
    return reply.arguments().constFirst().toUInt();
}

void Inhibitor::hold() {
    switch (m_state) {
    case State::Asking:
    case State::Holding:
        return;
    case State::Withdrawing: // the answer is still on its way: keep it after all
        setState(State::Asking);
        return;
    case State::Untried:
    case State::Released:
    case State::Failed:
        break;
    }
    if (!m_bus.isConnected()) {
        fail(QCoreApplication::translate("KeepAwake", "no connection to the bus"), true);
        return;
    }
    m_failure.clear();
    setState(State::Asking);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(request()), &m_watchers);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &m_watchers,
                     [this](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         answered(call->reply());
                     });
}

void Inhibitor::release() {
    switch (m_state) {
    case State::Holding:
        giveBack();
        setState(State::Released);
        break;
    case State::Asking:
        setState(State::Withdrawing);
        break;
    case State::Untried:
    case State::Withdrawing:
    case State::Released:
    case State::Failed:
        break;
    }
}

void Inhibitor::report(KeepAwakeSummary& summary) const {
    switch (m_state) {
    case State::Untried:
    case State::Asking:
    case State::Withdrawing:
        summary.mayUse(m_name);
        break;
    case State::Holding:
    case State::Released:
        summary.uses(m_name);
        break;
    case State::Failed:
        summary.cannotUse(m_name + QStringLiteral(": ") + m_failure);
        break;
    }
}

void Inhibitor::answered(const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ErrorMessage) {
        fail(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage(),
             meansMissing(reply.errorName()));
        return;
    }
    if (!keep(reply)) {
        fail(QCoreApplication::translate("KeepAwake", "unexpected answer"), false);
        return;
    }
    qCInfo(lcKeepAwake).noquote() << "holding" << m_name;
    if (m_state == State::Withdrawing) { // released while the request was on its way
        giveBack();
        setState(State::Released);
        return;
    }
    setState(State::Holding);
}

void Inhibitor::fail(const QString& why, bool missing) {
    m_failure = why;
    if (!m_reported) {
        // Once per run: a service that is not there stays away, and the log must not fill up with it.
        m_reported = true;
        if (missing)
            qCInfo(lcKeepAwake).noquote() << m_name << "is not available:" << why;
        else
            qCWarning(lcKeepAwake).noquote() << m_name << "refused:" << why;
    }
    setState(State::Failed);
}

void Inhibitor::setState(State state) {
    if (state == m_state)
        return;
    m_state = state;
    if (m_onStateChanged)
        m_onStateChanged();
}

} // namespace umbralux
