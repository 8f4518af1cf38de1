// SPDX-License-Identifier: MIT
#pragma once

#include "app/keepawakebackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace umbralux {

/// How the program names itself and its reason to the services that hold off sleep.
inline constexpr char kInhibitingApplication[] = "Umbralux";
inline constexpr char kInhibitReason[] = "Keep-awake is on";

/// One desktop service that can hold off the screen saver or idle sleep while the program asks it to: it is
/// asked once when keep-awake starts and told once when it stops. Every call goes out asynchronously; the
/// answer arrives later on the event loop, so neither holding nor releasing ever waits for a service.
class Inhibitor : public KeepAwakeBackend {
  public:
    enum class State {
        Untried,     ///< Never asked.
        Asking,      ///< Asked, no answer yet.
        Withdrawing, ///< Asked, and released since: what arrives is given back at once.
        Holding,     ///< Holds.
        Released,    ///< Held, and gave it back.
        Failed,      ///< Refused or is not there; see failure().
    };

    ~Inhibitor() override;
    Inhibitor(const Inhibitor&) = delete;
    Inhibitor& operator=(const Inhibitor&) = delete;

    /// Asks the service for a hold; does nothing while one is held or asked for.
    void hold() override;
    /// Gives the hold back, at once or as soon as the service has granted it.
    void release() override;
    /// The hold lasts by itself: nothing to do at a tick.
    void tick(Tick) override {}
    /// Uses the service once it held, may use it until it answered, cannot when it failed.
    void report(KeepAwakeSummary& summary) const override;

    /// The service's name as users see it in the tool tip and the log.
    QString name() const { return m_name; }
    State state() const { return m_state; }
    /// Why the service could not be used at the last hold; empty unless state() is Failed.
    QString failure() const { return m_failure; }
    /// Called whenever state() changes.
    void setOnStateChanged(std::function<void()> callback) { m_onStateChanged = std::move(callback); }

  protected:
    Inhibitor(QString name, QDBusConnection bus);

    /// The request for a hold.
    virtual QDBusMessage request() const = 0;
    /// Keeps what the reply grants (a cookie, a handle, a descriptor); false when the reply makes no sense.
    virtual bool keep(const QDBusMessage& reply) = 0;
    /// Gives back what keep() kept.
    virtual void giveBack() = 0;

    QDBusConnection& bus() { return m_bus; }
    /// The cookie of a reply that hands out one number, as the freedesktop.org and GNOME inhibitors do.
    static std::optional<uint> cookieOf(const QDBusMessage& reply);

  private:
    void answered(const QDBusMessage& reply);
    void fail(const QString& why, bool missing);
    void setState(State state);

    QString m_name;
    QDBusConnection m_bus;
    QObject m_watchers; // parent of the pending calls: they end with the inhibitor
    State m_state = State::Untried;
    QString m_failure;
    bool m_reported = false; // a failure was logged: once per run is enough
    std::function<void()> m_onStateChanged;
};

} // namespace umbralux
