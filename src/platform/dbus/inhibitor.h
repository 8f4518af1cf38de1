// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <functional>

namespace umbralux {

/// How the program names itself and its reason to the services that hold off sleep.
inline constexpr char kInhibitingApplication[] = "Umbralux";
inline constexpr char kInhibitReason[] = "Keep-awake is on";

/// One desktop service that can hold off the screen saver or idle sleep while the program asks it to: it is
/// asked once when keep-awake starts and told once when it stops. Every call goes out asynchronously; the
/// answer arrives later on the event loop, so neither holding nor releasing ever waits for a service.
class Inhibitor {
  public:
    enum class Status {
        Untried, ///< Never asked.
        Pending, ///< Asked, no answer yet.
        Works,   ///< Took a hold at least once.
        Fails,   ///< Refused or is not there; see failure().
    };

    virtual ~Inhibitor();
    Inhibitor(const Inhibitor&) = delete;
    Inhibitor& operator=(const Inhibitor&) = delete;

    /// Asks the service for a hold; does nothing while one is held or asked for.
    void hold();
    /// Gives the hold back, at once or as soon as the service has granted it.
    void release();

    /// The service's name as users see it in the tool tip and the log.
    QString name() const { return m_name; }
    Status status() const { return m_status; }
    /// Why the service could not be used; empty unless status() is Fails.
    QString failure() const { return m_failure; }
    /// True when the last failure says that nobody provides the service on this bus.
    bool missing() const { return m_missing; }
    /// Called whenever status() changes.
    void setOnStatusChanged(std::function<void()> callback) { m_onStatusChanged = std::move(callback); }

  protected:
    Inhibitor(QString name, QDBusConnection bus);

    /// The request for a hold.
    virtual QDBusMessage request() const = 0;
    /// Keeps what the reply grants (a cookie, a handle, a descriptor); false when the reply makes no sense.
    virtual bool keep(const QDBusMessage& reply) = 0;
    /// Gives back what keep() kept.
    virtual void giveBack() = 0;

    QDBusConnection& bus() { return m_bus; }

  private:
    void answered(const QDBusMessage& reply);
    void fail(const QString& why, bool missing);
    void setStatus(Status status);

    QString m_name;
    QDBusConnection m_bus;
    QObject m_watchers; // parent of the pending calls: they end with the inhibitor
    Status m_status = Status::Untried;
    QString m_failure;
    bool m_missing = false;
    bool m_reported = false;
    bool m_wanted = false;
    bool m_asking = false;
    bool m_holding = false;
    std::function<void()> m_onStatusChanged;
};

} // namespace umbralux
