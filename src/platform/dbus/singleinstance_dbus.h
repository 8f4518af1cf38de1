// SPDX-License-Identifier: MIT
#pragma once

#include "app/startrequest.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QObject>

namespace umbralux {

/// One instance per session through the desktop's convention: the program owns its launcher's name on the
/// session bus and serves org.freedesktop.Application there, which also makes the launcher's D-Bus
/// activation and its "Show Screen" action work. A later start calls the running instance and ends.
class DBusSingleInstance final : public QObject, public SingleInstance {
    Q_OBJECT
  public:
    /// The name to own on the bus, the launcher's: also the interface's object path, as /a/b/C for a.b.C.
    DBusSingleInstance(QDBusConnection sessionBus, const QString& name);

    bool claim(StartRequest request, Serve serve) override;
    void serveCommands(const RunCommand& run) override;

    /// The launcher's action that shows the blank screen.
    static constexpr char kShowScreenAction[] = "show-screen";
    /// The launcher's action that shows it with keep-awake on for an hour.
    static constexpr char kShowScreenKeepAwakeAction[] = "show-screen-keep-awake";

  private Q_SLOTS:
    void nameRequested(uint reply);
    void nameRefused(const QDBusError& error);

  private:
    friend class ApplicationAdaptor;
    friend class InstanceAdaptor;
    /// Asks for the name without waiting for the answer.
    void claimBeside();
    ServeResult received(StartRequest request);
    CommandReply runCommand(const QStringList& arguments);
    /// Asks the running instance for the request; false when it could not be reached.
    /// Whether the name's holder is this program run by this user, as the front end checks it.
    bool heldByOurProgram();
    bool handOver(StartRequest request);

    QDBusConnection m_bus;
    QString m_name;
    QString m_path;
    Serve m_serve;
    RunCommand m_runCommand;
};

} // namespace umbralux
