// SPDX-License-Identifier: MIT
#include "fakedesktopservices.h"

#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <QTimer>
#include <QVariantMap>
#include <map>

#include <unistd.h>

namespace umbralux::test {
namespace {

/// How long a late refusal takes: long after the caller's hold() has returned.
constexpr int kLateMs = 200;

const QString kPortalRequestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/umbralux");

/// A service that grants holds unless its mode says otherwise. (A QObject of its own, so that the bus finds
/// its QDBusContext.)
class HoldService : public QObject, protected QDBusContext {
    Q_OBJECT
  public:
    HoldService(QString name, const QStringList& modes, FakeDesktopServices::CallLog log, int& lateAnswers)
        : m_name(std::move(name)), m_modes(modes), m_log(std::move(log)), m_lateAnswers(lateAnswers) {}

  protected:
    bool has(const char* mode) const { return m_modes.contains(QLatin1String(mode)); }
    void log(const QString& line) const { m_log(line); }

    /// Whether the Inhibit call being served is to be granted. When not, it is refused or left without an
    /// answer, as the mode says, and logged.
    bool grants() {
        const bool refuses = has("refuses") || (has("refuses once") && m_refusals == 0);
        if (!refuses && !has("refuses late") && !has("never answers"))
            return true;
        if (has("never answers")) {
            setDelayedReply(true); // and never sent
            log(m_name + QStringLiteral(".Inhibit unanswered"));
            return false;
        }
        ++m_refusals;
        log(m_name + QStringLiteral(".Inhibit refused"));
        const QString why = QStringLiteral("Inhibiting is not allowed");
        if (!has("refuses late")) {
            sendErrorReply(QDBusError::AccessDenied, why);
            return false;
        }
        setDelayedReply(true);
        ++m_lateAnswers;
        QTimer::singleShot(
            kLateMs, this,
            [this, refusal = message().createErrorReply(QDBusError::AccessDenied, why), bus = connection()] {
                bus.send(refusal);
                --m_lateAnswers;
            });
        return false;
    }

    QString m_name;

  private:
    QStringList m_modes;
    FakeDesktopServices::CallLog m_log;
    int& m_lateAnswers;
    int m_refusals = 0;
};

/// org.freedesktop.ScreenSaver or org.freedesktop.PowerManagement.Inhibit.
class CookieService : public HoldService {
    Q_OBJECT
  public:
    using HoldService::HoldService;

  public Q_SLOTS:
    uint Inhibit(const QString& application, const QString&) {
        if (!grants())
            return 0;
        log(QStringLiteral("%1.Inhibit %2 %3").arg(m_name, application).arg(++m_cookie));
        return m_cookie;
    }
    void UnInhibit(uint cookie) { log(QStringLiteral("%1.UnInhibit %2").arg(m_name).arg(cookie)); }
    void SimulateUserActivity() {
        log(m_name + QStringLiteral(".SimulateUserActivity"));
        if (has("NotSupported"))
            sendErrorReply(QDBusError::NotSupported, QStringLiteral("This method is not implemented"));
        else if (has("UnknownMethod"))
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
    }

  private:
    uint m_cookie = 0;
};

/// GNOME's session manager.
class GnomeSession : public HoldService {
    Q_OBJECT
  public:
    using HoldService::HoldService;

  public Q_SLOTS:
    uint Inhibit(const QString& application, uint, const QString&, uint flags) {
        if (!grants())
            return 0;
        log(QStringLiteral("Gnome.Inhibit %1 flags %2 %3").arg(application).arg(flags).arg(++m_cookie));
        return m_cookie;
    }
    void Uninhibit(uint cookie) { log(QStringLiteral("Gnome.Uninhibit %1").arg(cookie)); }

  private:
    uint m_cookie = 0;
};

/// logind's manager.
class Login1 : public HoldService {
    Q_OBJECT
  public:
    using HoldService::HoldService;
    ~Login1() override {
        for (const auto& open : m_open)
            close(open.second);
    }

  public Q_SLOTS:
    /// Like logind: the holder gets the writing end of a pipe, and the hold ends when it is closed.
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString&,
                                    const QString& mode) {
        if (!grants())
            return {};
        int ends[2];
        if (pipe(ends) != 0) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("no pipe"));
            return {};
        }
        QDBusUnixFileDescriptor handed(ends[1]); // a copy of its own
        close(ends[1]);
        auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
        m_open.emplace(notifier, ends[0]);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd = ends[0]] {
            char byte = 0;
            if (read(fd, &byte, 1) > 0)
                return;
            log(QStringLiteral("login1 released"));
            notifier->setEnabled(false);
            m_open.erase(notifier);
            close(fd);
        });
        log(QStringLiteral("login1.Inhibit %1 %2 %3").arg(what, who, mode));
        return handed;
    }

  private:
    std::map<QSocketNotifier*, int> m_open; // the reading ends of the holds not released yet
};

/// The portal's Inhibit interface, and the request it answers with.
class Portal : public QObject {
    Q_OBJECT
  public:
    explicit Portal(FakeDesktopServices::CallLog log) : m_log(std::move(log)) {}

  public Q_SLOTS:
    QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap&) {
        m_log(QStringLiteral("Portal.Inhibit flags %1").arg(flags));
        return QDBusObjectPath(kPortalRequestPath);
    }
    void Close() { m_log(QStringLiteral("Portal.Request.Close")); }

  private:
    FakeDesktopServices::CallLog m_log;
};

/// Mutter's display configuration: only the monitors' power.
class DisplayConfig : public QObject {
    Q_OBJECT
    // Where the bus looks for the interface of Get and Set.
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.DisplayConfig")
    Q_PROPERTY(int PowerSaveMode READ powerSaveMode WRITE setPowerSaveMode)
  public:
    explicit DisplayConfig(FakeDesktopServices::CallLog log) : m_log(std::move(log)) {}
    int powerSaveMode() const { return m_mode; }
    void setPowerSaveMode(int mode) {
        m_mode = mode;
        m_log(QStringLiteral("DisplayConfig.PowerSaveMode %1").arg(mode));
    }

  private:
    FakeDesktopServices::CallLog m_log;
    int m_mode = 0; // on
};

/// The modes of the entries for `name`: "" for a plain "NAME", "refuses late" for "NAME refuses late".
QStringList modesOf(const QStringList& entries, const QString& name) {
    QStringList modes;
    for (const QString& entry : entries)
        if (entry.section(QLatin1Char(' '), 0, 0) == name)
            modes << entry.section(QLatin1Char(' '), 1);
    return modes;
}

} // namespace

FakeDesktopServices::FakeDesktopServices(const QStringList& entries, QDBusConnection session,
                                         QDBusConnection system, CallLog log)
    : m_log(std::move(log)) {
    const QStringList known{"ScreenSaver", "PowerManagement", "GNOME", "login1", "portal", "DisplayConfig"};
    for (const QString& entry : entries)
        if (!known.contains(entry.section(QLatin1Char(' '), 0, 0)))
            m_failure = QStringLiteral("no such fake service: ") + entry;
    const auto wanted = [&](const QString& name) { return modesOf(entries, name); };

    if (const QStringList modes = wanted("ScreenSaver"); !modes.isEmpty())
        serve(session, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
              "org.freedesktop.ScreenSaver",
              keep(std::make_unique<CookieService>("ScreenSaver", modes, m_log, m_lateAnswers)));
    if (const QStringList modes = wanted("PowerManagement"); !modes.isEmpty())
        serve(session, "org.freedesktop.PowerManagement", "/org/freedesktop/PowerManagement/Inhibit",
              "org.freedesktop.PowerManagement.Inhibit",
              keep(std::make_unique<CookieService>("PowerManagement", modes, m_log, m_lateAnswers)));
    if (const QStringList modes = wanted("GNOME"); !modes.isEmpty())
        serve(session, "org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
              keep(std::make_unique<GnomeSession>("Gnome", modes, m_log, m_lateAnswers)));
    if (const QStringList modes = wanted("login1"); !modes.isEmpty())
        serve(system, "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
              keep(std::make_unique<Login1>("login1", modes, m_log, m_lateAnswers)));
    if (!wanted("portal").isEmpty()) {
        QObject* portal = keep(std::make_unique<Portal>(m_log));
        serve(session, {}, kPortalRequestPath, "org.freedesktop.portal.Request", portal);
        serve(session, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
              "org.freedesktop.portal.Inhibit", portal);
    }
    if (!wanted("DisplayConfig").isEmpty())
        serve(session, "org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
              "org.gnome.Mutter.DisplayConfig", keep(std::make_unique<DisplayConfig>(m_log)));
}

FakeDesktopServices::~FakeDesktopServices() {
    for (Served& served : m_served) {
        if (!served.name.isEmpty())
            served.bus.unregisterService(served.name);
        served.bus.unregisterObject(served.path);
    }
}

QObject* FakeDesktopServices::keep(std::unique_ptr<QObject> service) {
    m_services.push_back(std::move(service));
    return m_services.back().get();
}

/// Puts `object` at `path` with `interface`, and takes the name `name` unless it is empty.
void FakeDesktopServices::serve(QDBusConnection bus, const QString& name, const QString& path,
                                const QString& interface, QObject* object) {
    if (!bus.registerObject(path, interface, object,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)) {
        m_failure = QStringLiteral("cannot serve %1: %2").arg(path, bus.lastError().message());
        return;
    }
    m_served.push_back({bus, {}, path});
    if (name.isEmpty())
        return;
    if (!bus.registerService(name)) {
        m_failure = QStringLiteral("cannot own %1: %2").arg(name, bus.lastError().message());
        return;
    }
    m_served.back().name = name;
}

} // namespace umbralux::test

#include "fakedesktopservices.moc"
