// SPDX-License-Identifier: MIT
#include "program.h"

#include "app/dialogs.h"
#include "app/exitchoice.h"
#include "app/platform.h"
#include "app/programend.h"
#include "app/windowhints.h"
#include "blank/form2.h"
#include "blank/mousepointer.h"
#include "options/form1.h"
#include "platform/qt/inputcontext_qt.h"

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

void Program::start(StartRequest request) {
    if (request == StartRequest::Nothing) {
        QTimer::singleShot(kServiceRequestWaitMs, this, [this] {
            if (!m_form1 && !(m_form2 && m_form2->isVisible()))
                this->request(StartRequest::OptionsWindow);
        });
        return;
    }
    this->request(request);
}

ServeResult Program::request(StartRequest request) {
    if (m_form2 && m_form2->isVisible())
        return ServeResult::Served;
    switch (request) {
    case StartRequest::OptionsWindow:
        showForm1();
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
            showForm1();
            QTimer::singleShot(0, &options, [&options] { options.PushButton1_Click(); });
            return ServeResult::NeedsPassword;
        }
        m_endAfterDismissal = !optionsOpen;
        options.PushButton1_Click();
        if (!m_showingBlankScreen) {
            m_endAfterDismissal = false; // refused after all: the options window stays
            return ServeResult::NeedsPassword;
        }
        break;
    }
    case StartRequest::Nothing:
        break;
    }
    return ServeResult::Served;
}

void Program::showForm1() {
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
    if (m_mousePointer->PointerHidden())
        m_mousePointer->ShowMousePointer();
    m_platform.programEnd.endProgram(0);
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
            m_keyboardPrepared = prepareInputContext();
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
