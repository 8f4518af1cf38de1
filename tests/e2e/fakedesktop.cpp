// SPDX-License-Identifier: MIT
// Plays the desktop's services for the keep-awake tests: org.freedesktop.ScreenSaver (or GNOME's session
// manager) on the session bus and org.freedesktop.login1 on the bus given as the system bus. It prints one
// line per call it receives, and "login1 released" when the holder closes its idle descriptor.
//
//   fakedesktop [--gnome] [--no-screensaver] [--no-login1] [--simulate=ok|notsupported|missing]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class ScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public:
    explicit ScreenSaver(QString simulate) : m_simulate(std::move(simulate)) {}

  public Q_SLOTS:
    Q_SCRIPTABLE uint Inhibit(const QString& application, const QString&) {
        say(QStringLiteral("ScreenSaver.Inhibit %1 %2").arg(application).arg(++m_cookie));
        return m_cookie;
    }
    Q_SCRIPTABLE void UnInhibit(uint cookie) { say(QStringLiteral("ScreenSaver.UnInhibit %1").arg(cookie)); }
    Q_SCRIPTABLE void SimulateUserActivity() {
        say(QStringLiteral("ScreenSaver.SimulateUserActivity"));
        if (m_simulate == QLatin1String("notsupported"))
            sendErrorReply(QDBusError::NotSupported, QStringLiteral("This method is not implemented"));
        else if (m_simulate == QLatin1String("missing"))
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method"));
    }
    /// Not the desktop's: answered in turn with the calls before it, so a test can wait for their answers.
    Q_SCRIPTABLE void TestSync() {}

  private:
    QString m_simulate;
    uint m_cookie = 0;
};

class GnomeSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")
  public Q_SLOTS:
    Q_SCRIPTABLE uint Inhibit(const QString& application, uint, const QString&, uint flags) {
        say(QStringLiteral("Gnome.Inhibit %1 flags %2 %3").arg(application).arg(flags).arg(++m_cookie));
        return m_cookie;
    }
    Q_SCRIPTABLE void Uninhibit(uint cookie) { say(QStringLiteral("Gnome.Uninhibit %1").arg(cookie)); }

  private:
    uint m_cookie = 0;
};

class Login1 : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public Q_SLOTS:
    /// Like logind: the holder gets the writing end of a pipe; the hold ends when it is closed.
    Q_SCRIPTABLE QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString&,
                                                 const QString& mode) {
        int ends[2];
        if (pipe(ends) != 0)
            return {};
        QDBusUnixFileDescriptor handed(ends[1]); // a copy of its own
        close(ends[1]);
        auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [notifier, fd = ends[0]] {
            char byte = 0;
            if (read(fd, &byte, 1) <= 0) {
                say(QStringLiteral("login1 released"));
                notifier->setEnabled(false);
                close(fd);
            }
        });
        say(QStringLiteral("login1.Inhibit %1 %2 %3").arg(what, who, mode));
        return handed;
    }
};

bool serve(QDBusConnection bus, const QString& service, const QString& path, QObject* object) {
    return bus.registerObject(path, object, QDBusConnection::ExportScriptableSlots) &&
           bus.registerService(service);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString simulate = QStringLiteral("ok");
    for (const QString& arg : args)
        if (arg.startsWith(QLatin1String("--simulate=")))
            simulate = arg.section(QLatin1Char('='), 1);

    QDBusConnection session = QDBusConnection::sessionBus();
    ScreenSaver screenSaver(simulate);
    GnomeSession gnome;
    Login1 login1;
    bool ok = true;
    if (!args.contains(QLatin1String("--no-screensaver")))
        ok &= serve(session, QStringLiteral("org.freedesktop.ScreenSaver"),
                    QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver);
    if (args.contains(QLatin1String("--gnome")))
        ok &= serve(session, QStringLiteral("org.gnome.SessionManager"),
                    QStringLiteral("/org/gnome/SessionManager"), &gnome);
    if (!args.contains(QLatin1String("--no-login1")))
        ok &= serve(QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1"),
                    QStringLiteral("/org/freedesktop/login1"), &login1);
    if (!ok) {
        std::fprintf(stderr, "fakedesktop: cannot register: %s\n", qPrintable(session.lastError().message()));
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "fakedesktop.moc"
