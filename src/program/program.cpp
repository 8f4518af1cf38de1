// SPDX-License-Identifier: MIT
#include "program.h"

#include "app/controls.h"
#include "app/dialogs.h"
#include "app/exitchoice.h"
#include "app/inputcontext.h"
#include "app/keepawake.h"
#include "app/keepawakesummary.h"
#include "app/monitorpower.h"
#include "app/platform.h"
#include "app/programend.h"
#include "app/windowhints.h"
#include "blank/form2.h"
#include "blank/mousepointer.h"
#include "duration.h"
#include "monitorsoff.h"
#include "options/form1.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QTimer>

namespace umbralux {
namespace {

/// How long a start by the desktop waits for the request it was started for before it opens the options
/// window, so that the user is never left with nothing.
constexpr int kServiceRequestWaitMs = 10000;
/// How long after the blank screen comes up the program gets ready for the key that dismisses it: long
/// enough for the screen to be painted first, far shorter than anyone takes to press a key.
constexpr int kDismissalPreparationDelayMs = 100;

} // namespace

Program::Program(Platform& platform, QString programFolder)
    : m_platform(platform), m_settings(platform.settingsStore), m_programFolder(std::move(programFolder)),
      m_mousePointer(std::make_unique<MousePointer>(platform.pointerDisplay)) {}

Program::~Program() {
    m_monitorsOff.reset();
    // Ending the program closes the windows without their closing steps.
    delete m_form1.data();
    delete m_nextForm1.data();
    delete m_form2.data();
}

Dialogs& Program::dialogs() {
    return m_platform.dialogs;
}

Form1* Program::loadedForm1() const {
    return m_form1;
}

Form2* Program::loadedForm2() const {
    return m_form2;
}

Form1& Program::form1() {
    if (!m_form1) {
        m_form1 = m_nextForm1 ? m_nextForm1.data() : new Form1(*this);
        m_nextForm1 = nullptr;
        m_form1->Form_Load();
    }
    return *m_form1;
}

Form2& Program::form2() {
    if (!m_form2) {
        m_form2 = new Form2(*this, *m_mousePointer);
        m_form2->Form_Load();
    }
    return *m_form2;
}

BlankScreenWindow& Program::blankScreen() {
    return form2();
}

OptionsWindow& Program::optionsWindow() {
    return form1();
}

void Program::start(StartRequest request, const ShowOptions& options) {
    if (request == StartRequest::Nothing) {
        QTimer::singleShot(kServiceRequestWaitMs, this, [this] {
            if (!m_form1 && !(m_form2 && m_form2->isVisible()))
                this->request(StartRequest::OptionsWindow);
        });
        return;
    }
    this->request(request, options);
}

ServeResult Program::request(StartRequest request, const ShowOptions& show) {
    if (m_form2 && m_form2->isVisible())
        return ServeResult::Served; // nothing changes while the blank screen is up, its options neither
    switch (request) {
    case StartRequest::OptionsWindow:
        showOptionsWindow();
        m_platform.windowHints.activate(m_form1);
        break;
    case StartRequest::ShowScreen: {
        const bool optionsOpen = m_form1 && m_form1->isVisible();
        Form1& options = form1();
        // "Show Screen" refuses the password method without a password that can be typed, with a reminder
        // that needs the options window behind it. The reminder is a message box that waits for the user,
        // so it comes after the request is answered: a start waiting for the answer learns it at once.
        if (m_settings.exitMethodSelected(settings::ExitMethod::Password, settings::Reader::OptionsWindow) &&
            !typable(m_settings.password())) {
            showOptionsWindow();
            QTimer::singleShot(0, &options, [&options] { options.PushButton1_Click(); });
            return ServeResult::NeedsPassword;
        }
        m_endAfterDismissal = !optionsOpen;
        form2().coverOnly(show.monitors);
        options.PushButton1_Click();
        if (!m_showingBlankScreen) {
            m_endAfterDismissal = false; // refused after all: the options window stays
            return ServeResult::NeedsPassword;
        }
        m_coveredMonitors = show.monitors;
        if (show.keepAwakeFor && m_form2) {
            m_form2->keepAwakeFor(*show.keepAwakeFor);
            m_keepAwakeLimit = show.keepAwakeFor;
            m_keepAwakeUntil = QDateTime::currentDateTimeUtc().addSecs(show.keepAwakeFor->count());
        }
        if (show.monitorsOff)
            m_monitorsOff = std::make_unique<MonitorsOff>(m_platform.monitorPower);
        break;
    }
    case StartRequest::Nothing:
        break;
    }
    return ServeResult::Served;
}

void Program::setShowingBlankScreen(bool showing) {
    m_showingBlankScreen = showing;
    m_coveredSince = showing ? QDateTime::currentDateTimeUtc() : QDateTime();
    if (!showing) {
        m_keepAwakeLimit.reset();
        m_coveredMonitors.clear();
        m_monitorsOff.reset();
    }
}

SingleInstance::CommandReply Program::runCommand(const QStringList& arguments) {
    const CommandLine command = readCommandLine(arguments);
    if (command.exitStatus)
        return {*command.exitStatus, command.output};
    if (command.status)
        return {0, statusJson()};
    if (command.listMonitors)
        return {0, monitorList()};
    if (const QString unknown = unknownMonitors(command.show.monitors); !unknown.isEmpty())
        return {kUsageErrorStatus, unknown};
    if (request(command.request, command.show) == ServeResult::NeedsPassword)
        return {1, tr("%1: the screen is not covered: the password method has no password yet, "
                      "and the options window says so.\n")
                       .arg(QCoreApplication::applicationName())};
    return {0, {}};
}

QString Program::monitorList() {
    QString lines;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        lines += QStringLiteral("%1 %2x%3+%4+%5 scale %6%7\n")
                     .arg(screen->name())
                     .arg(area.width())
                     .arg(area.height())
                     .arg(area.x())
                     .arg(area.y())
                     .arg(screen->devicePixelRatio())
                     .arg(screen == primary ? QStringLiteral(" primary") : QString());
    }
    return lines;
}

QString Program::unknownMonitors(const QStringList& names) {
    QStringList known;
    for (const QScreen* screen : QGuiApplication::screens())
        known << screen->name();
    for (const QString& name : names) {
        if (!known.contains(name))
            return tr("%1: no monitor is named '%2'; the monitors are: %3. Nothing was covered.\n")
                .arg(QCoreApplication::applicationName(), name, known.join(QStringLiteral(", ")));
    }
    return {};
}

QJsonValue Program::monitorsOffState() const {
    if (!m_monitorsOff)
        return QJsonValue(); // not asked for
    QJsonObject state{{QStringLiteral("off"), m_monitorsOff->off()}};
    if (!m_monitorsOff->refusal().isEmpty())
        state.insert(QStringLiteral("reason"), m_monitorsOff->refusal());
    return state;
}

QString Program::statusJson() {
    using settings::ExitMethod;
    using settings::Reader;
    // The method the blank screen goes by, named for scripts (never the password itself).
    QString method = QStringLiteral("esc-key");
    const std::pair<ExitMethod, const char*> methods[] = {{ExitMethod::AnyKey, "any-key"},
                                                          {ExitMethod::EscKey, "esc-key"},
                                                          {ExitMethod::MouseClick, "mouse-click"},
                                                          {ExitMethod::Password, "password"}};
    for (const auto& [candidate, name] : methods) {
        if (m_settings.exitMethodSelected(candidate, Reader::BlankScreen))
            method = QLatin1String(name);
    }
    QJsonArray monitors;
    if (m_showingBlankScreen) {
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (m_coveredMonitors.isEmpty() || m_coveredMonitors.contains(screen->name()))
                monitors.append(screen->name());
        }
    }
    const bool boxTicked = m_settings.keepAwakeState(Reader::BlankScreen) == controls::kChecked;
    QJsonObject keepAwake{{QStringLiteral("wanted"), boxTicked || m_keepAwakeLimit.has_value()},
                          {QStringLiteral("holding"), m_form2 && m_form2->keepingAwake()}};
    keepAwake.insert(QStringLiteral("for"),
                     m_keepAwakeLimit ? QJsonValue(formatDuration(*m_keepAwakeLimit)) : QJsonValue());
    keepAwake.insert(QStringLiteral("until"),
                     m_keepAwakeLimit ? QJsonValue(m_keepAwakeUntil.toString(Qt::ISODate)) : QJsonValue());
    KeepAwakeSummary summary;
    m_platform.keepAwake.report(summary);
    QJsonArray means;
    for (const QString& used : summary.used())
        means.append(
            QJsonObject{{QStringLiteral("means"), used}, {QStringLiteral("state"), QStringLiteral("holds")}});
    for (const QString& undecided : summary.undecided())
        means.append(QJsonObject{{QStringLiteral("means"), undecided},
                                 {QStringLiteral("state"), QStringLiteral("not answered yet")}});
    for (const QString& reason : summary.reasons())
        means.append(QJsonObject{{QStringLiteral("means"), reason.section(QStringLiteral(": "), 0, 0)},
                                 {QStringLiteral("state"), QStringLiteral("unavailable")},
                                 {QStringLiteral("reason"), reason}});
    keepAwake.insert(QStringLiteral("means"), means);
    const QJsonObject state{
        {QStringLiteral("covered"), m_showingBlankScreen},
        {QStringLiteral("coveredSince"),
         m_showingBlankScreen ? QJsonValue(m_coveredSince.toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("exitMethod"), method},
        {QStringLiteral("monitors"), monitors},
        {QStringLiteral("keepAwake"), keepAwake},
        {QStringLiteral("monitorsOff"), monitorsOffState()}};
    return QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Indented));
}

void Program::showOptionsWindow() {
    if (m_endAfterDismissal) {
        m_endAfterDismissal = false;
        end();
        return;
    }
    form1().Show();
    // The options window never comes back without the pointer. The blank screen's deactivation shows it on
    // the usual way back, but while a report box of the options window's load is open (a store that cannot
    // be written), the blank screen's timer still ticks and hides it again, and under a bare X server no
    // activation follows the box to show it.
    if (m_mousePointer->PointerHidden())
        m_mousePointer->ShowMousePointer();
}

void Program::end() {
    m_monitorsOff.reset();
    if (m_mousePointer->PointerHidden())
        m_mousePointer->ShowMousePointer();
    m_platform.programEnd.endProgram(0);
}

void Program::restoreBeforeFailureExit() {
    m_mousePointer->ShowMousePointer();
    if (m_monitorsOff && m_monitorsOff->off())
        m_platform.monitorPower.powerOn();
}

void Program::formUnloaded(QWidget* form) {
    formHidden(form);
    if (form == m_form1)
        m_form1 = nullptr;
    if (form == m_form2)
        m_form2 = nullptr;
    form->deleteLater();
}

void Program::formActivated(QWidget* form) {
    if (form == m_activeForm)
        return;
    QWidget* previous = m_activeForm;
    m_activeForm = form;
    if (previous && previous == m_form2)
        m_form2->Form_Deactivate();
    if (form == m_form2) {
        m_form2->Form_Activate();
        prepareForDismissal();
    }
}

void Program::prepareForDismissal() {
    QTimer::singleShot(kDismissalPreparationDelayMs, this, [this] {
        if (!m_form2 || !m_form2->isActiveWindow())
            return;
        if (!m_keyboardPrepared)
            m_keyboardPrepared = m_platform.inputContext.prepare();
        if (!m_form1 && !m_nextForm1) {
            m_nextForm1 = new Form1(*this);
            m_nextForm1->winId();
        }
    });
}

void Program::formHidden(QWidget* form) {
    if (form != m_activeForm)
        return;
    m_activeForm = nullptr;
    if (form == m_form2)
        m_form2->Form_Deactivate();
}

} // namespace umbralux
