// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace umbralux::test {

/// The desktop's D-Bus services as the program finds them on a desktop, played for the tests: by the unit
/// tests on a private bus of their own, and by the fakedesktop helper for the end-to-end tests. Every call
/// the services receive is one line of the call log, e.g. "ScreenSaver.Inhibit Umbralux 1".
///
/// Each service is named by one or more entries, "NAME" or "NAME MODE":
/// - ScreenSaver, PowerManagement (org.freedesktop.*) and GNOME (its session manager) hand out cookies
///   counted from 1;
/// - login1 hands the holder the writing end of a pipe, as logind does, and logs "login1 released" when it
///   is closed;
/// - portal is the desktop portal's Inhibit, whose request logs its Close;
/// - DisplayConfig is Mutter's display configuration, whose property PowerSaveMode (0 on, 3 off) logs each
///   write.
/// The modes of the services that hold: "refuses" (AccessDenied at once), "refuses once" (the first time
/// only), "refuses late" (AccessDenied long after the call) or "never answers"; and of the screen saver's
/// SimulateUserActivity: "NotSupported" or "UnknownMethod", the errors GNOME and an older desktop answer.
class FakeDesktopServices {
  public:
    using CallLog = std::function<void(const QString& line)>;

    /// Serves what `entries` name, login1 on `system` and the others on `session`, for as long as it lives.
    FakeDesktopServices(const QStringList& entries, QDBusConnection session, QDBusConnection system,
                        CallLog log);
    ~FakeDesktopServices();
    FakeDesktopServices(const FakeDesktopServices&) = delete;
    FakeDesktopServices& operator=(const FakeDesktopServices&) = delete;

    /// Why a service could not be served: an unknown entry, or a name or path the bus would not give.
    /// Empty when all of them are.
    QString failure() const { return m_failure; }
    /// Refusals that are still to come.
    int lateAnswers() const { return m_lateAnswers; }

  private:
    struct Served {
        QDBusConnection bus;
        QString name;
        QString path;
    };
    void serve(QDBusConnection bus, const QString& name, const QString& path, const QString& interface,
               QObject* object);
    QObject* keep(std::unique_ptr<QObject> service);

    CallLog m_log;
    std::vector<std::unique_ptr<QObject>> m_services;
    std::vector<Served> m_served;
    QString m_failure;
    int m_lateAnswers = 0;
};

} // namespace umbralux::test
