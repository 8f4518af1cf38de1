// SPDX-License-Identifier: MIT
#pragma once

#include "app/formhost.h"
#include "app/settings.h"
#include "app/startrequest.h"
#include "commandline.h"

#include <QDateTime>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

class QWidget;

namespace umbralux {

class Dialogs;
class Form1;
class Form2;
class MonitorsOff;
class MousePointer;
struct Platform;

/// The running program: its platform services and its two windows, each a single instance that the first
/// reference creates and loads (its load step runs inside the referring step), that hiding keeps, and that
/// closing discards, so that the next reference loads it afresh from its design. The only place that knows
/// both windows: each of them sees the other through the small interface its steps need.
class Program final : public QObject, public FormHost {
    Q_OBJECT
  public:
    Program(Platform& platform, QString programFolder);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Platform& platform() override { return m_platform; }
    Settings& settings() override { return m_settings; }
    Dialogs& dialogs();
    /// The pointer hiding of the blank screen, with its flag; it outlives the window's reloads.
    MousePointer& mousePointer() { return *m_mousePointer; }
    const QString& programFolder() const override { return m_programFolder; }

    /// The options window, loaded if it is not.
    Form1& form1();
    /// The blank screen window, loaded (hidden) if it is not.
    Form2& form2();
    /// The windows if they are loaded, without loading them.
    Form1* loadedForm1() const;
    Form2* loadedForm2() const;

    /// Starts the program as the command line asks: with the options window, with the blank screen at once,
    /// or (started by the desktop for a request over the bus) with whatever arrives, the options window if
    /// nothing does.
    void start(StartRequest request = StartRequest::OptionsWindow, const ShowOptions& options = {});
    /// Serves a request of this start or of a later one: the options window, raised if it is open, or the
    /// blank screen as "Show Screen" shows it. While the blank screen is up neither changes anything: no
    /// start of the program is a way around the exit method. The blank screen shown without the options
    /// window open before ends the program when it is dismissed, since the user never asked for the window.
    /// Says whether the blank screen a ShowScreen asked for is up, or the password reminder came instead.
    ServeResult request(StartRequest request, const ShowOptions& options = {});
    /// Carries out a later start's whole command line, as that start would, and says what it is to print
    /// and end with: --show and its options, --status, --list-monitors, or a usage error.
    SingleInstance::CommandReply runCommand(const QStringList& arguments);
    /// The state --status prints: covered or not and since when, the exit method, the monitors covered,
    /// keep-awake wanted and for how long, and what each of its means says.
    QString statusJson();
    /// One line per monitor: its name, geometry, scale, and "primary" for the primary one.
    static QString monitorList();
    /// Why a --monitor choice cannot be covered (a name no monitor has, with the names there are); empty
    /// when every name is there.
    static QString unknownMonitors(const QStringList& names);
    /// Ends the program at a request from outside (a signal), wherever it stands, as closing the options
    /// window would: the pointer comes back, nothing is stored, and the windows, with keep-awake's holds,
    /// are released as the program ends with status 0.
    void end();
    /// What must come back even when the program dies of a failure: the pointer and the monitors.
    void restoreBeforeFailureExit();

    BlankScreenWindow& blankScreen() override;
    OptionsWindow& optionsWindow() override;
    void showOptionsWindow() override;
    bool ShowingBlankScreen() const override { return m_showingBlankScreen; }
    void setShowingBlankScreen(bool showing) override;
    void formUnloaded(QWidget* form) override;
    /// Raises the blank screen's activate and deactivate events when the program's active window changes
    /// between its windows.
    void formActivated(QWidget* form) override;
    void formHidden(QWidget* form) override;

  private:
    /// For --status: null when the showing did not ask for the monitors off, else whether they are off
    /// now and, when nothing could power them off, why.
    QJsonValue monitorsOffState() const;
    /// While the blank screen waits for the key that dismisses it: has the input context set itself up
    /// (once), and builds the next options window from its design, with its native window, so that the key
    /// finds only the window's load and paint left to do.
    void prepareForDismissal();

    Platform& m_platform;
    Settings m_settings;
    QString m_programFolder;
    std::unique_ptr<MousePointer> m_mousePointer;
    QPointer<Form1> m_form1;
    /// Built from the design but not loaded: the options window the next reference to it loads.
    QPointer<Form1> m_nextForm1;
    QPointer<Form2> m_form2;
    QPointer<QWidget> m_activeForm;
    bool m_showingBlankScreen = false;
    /// The blank screen was shown by a request while no options window was open.
    bool m_endAfterDismissal = false;
    bool m_keyboardPrepared = false;
    /// When the blank screen last came up, while it is up.
    QDateTime m_coveredSince;
    /// The keep-awake limit of the showing that is up, if its command line gave one.
    std::optional<std::chrono::seconds> m_keepAwakeLimit;
    QDateTime m_keepAwakeUntil;
    /// The monitors the showing that is up covers, when its command line chose them.
    QStringList m_coveredMonitors;
    /// The monitors powered off while the showing that is up lasts, when its command line asked for it.
    std::unique_ptr<MonitorsOff> m_monitorsOff;
};

} // namespace umbralux
