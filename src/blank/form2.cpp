// SPDX-License-Identifier: MIT
#include "form2.h"

#include "app/appicon.h"
#include "app/colorref.h"
#include "app/controls.h"
#include "app/dialogs.h"
#include "app/errorreport.h"
#include "app/keepawake.h"
#include "app/platform.h"
#include "app/settings.h"
#include "app/windowhints.h"
#include "keycodes.h"
#include "mousepointer.h"
#include "othermonitors.h"
#include "ui_form2.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScreen>

namespace umbralux {
namespace {

using settings::ExitMethod;
using settings::Reader;

QString location(const char* procedure) {
    return procedureLocation("Form2", procedure);
}

/// Lets the platform run every pending window event and timer tick, as the steps that call it ask. A round
/// that is already running is not nested: a tick or close request handled inside it would start another
/// round inside the first, and the pending events would then run out of order. The outer round runs them.
void processPendingEvents() {
    static bool processing = false;
    if (processing)
        return;
    const QScopedValueRollback<bool> guard(processing, true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

Form2::Form2(FormHost& host, MousePointer& mousePointer)
    : m_host(host), m_mousePointer(mousePointer), m_ui(std::make_unique<Ui::Form2>()),
      m_otherMonitors(std::make_unique<OtherMonitors>(*this, host.platform().windowHints)) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    controls::setBackColor(this, colorFromReference(kBlack));
    controls::setBackColor(m_ui->Label1, colorFromReference(kBlack));
    controls::setForeColor(m_ui->Label1, colorFromReference(kWhite));

    connect(&Timer1, &FormTimer::Timer, this, &Form2::Timer1_Timer);
    connect(&Timer2, &FormTimer::Timer, this, &Form2::Timer2_Timer);
    connect(&Timer3, &FormTimer::Timer, this, &Form2::Timer3_Timer);
    // A chosen monitor unplugged takes its window with it; with the last of them the showing ends.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] {
        if (m_onlyMonitors.isEmpty() || !isVisible())
            return;
        QScreen* own = QGuiApplication::screenAt(geometry().center());
        if (own && m_onlyMonitors.contains(own->name()))
            return;
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (m_onlyMonitors.contains(screen->name())) {
                coverScreen(); // onto the next chosen monitor
                m_otherMonitors->cover();
                return;
            }
        }
        runEvent("ChosenMonitorsGone", [&] {
            hide();
            m_host.showOptionsWindow();
        });
    });
    m_keepAwakeLimit.setSingleShot(true);
    connect(&m_keepAwakeLimit, &QTimer::timeout, this, [this] { setKeepAwake(false); });
}

Form2::~Form2() {
    // Unloading stops the keep-awake timer and with it whatever it holds.
    setKeepAwake(false);
}

QLabel* Form2::Label1() const {
    return m_ui->Label1;
}

void Form2::setHint(const QString& text) {
    m_ui->Label1->setText(text);
}

void Form2::setHintForeColor(const QColor& color) {
    controls::setForeColor(m_ui->Label1, color);
}

Dialogs& Form2::dialogs() {
    return m_host.platform().dialogs;
}

void Form2::setKeepAwake(bool on) {
    if (on == Timer2.enabled())
        return;
    Timer2.setEnabled(on);
    m_host.platform().keepAwake.setHeld(on);
}

void Form2::keepAwakeFor(std::chrono::seconds limit) {
    setKeepAwake(true);
    m_keepAwakeLimit.start(std::chrono::duration_cast<std::chrono::milliseconds>(limit));
}

template <typename Handler> void Form2::runEvent(const char* name, Handler&& handler) {
    runUnreportedHandler(dialogs(), "Form2", name, std::forward<Handler>(handler));
}

void Form2::Form_Load() {
    Procedure p{dialogs(), location("Form_Load")};
    p.step(100, [&] { Form_Resize(); });
    p.step(102, [&] { setWindowIcon(applicationIcon()); });
    p.step(104, [&] { m_ui->Label1->setVisible(true); });
    p.step(106, [&] { controls::setForeColor(m_ui->Label1, colorFromReference(kWhite)); });
    p.step(108, [&] {
        m_host.optionsWindow().setCheck4Value(m_host.settings().keepAwakeState(Reader::BlankScreen));
    });
    if (p.test(110, [&] { return m_host.optionsWindow().Check4Value() == controls::kChecked; }))
        p.step(112, [&] { setKeepAwake(true); });
    else
        p.step(114, [&] { setKeepAwake(false); });
}

void Form2::Form_Activate() {
    Procedure p{dialogs(), location("Form_Activate")};
    p.step(100, [&] { ShownSeconds = 0; });
    p.step(102, [&] { ReLoadStyle(); });
    p.step(104, [&] { Timer1.setEnabled(true); });
    p.step(106, [&] { Timer1.setInterval(kTimer1IntervalMs); });
}

void Form2::ReLoadStyle() {
    m_ui->Label1->setVisible(true);
    controls::setBackColor(this, colorFromReference(m_host.settings().backgroundColor()));
    controls::setBackColor(m_ui->Label1, controls::backColor(this));
    const QColor hintBack = controls::backColor(m_ui->Label1);
    if (hintBack == controls::foreColor(m_ui->Label1)) {
        const QColor white = colorFromReference(kWhite);
        controls::setForeColor(m_ui->Label1, hintBack == white ? colorFromReference(kBlack) : white);
    }
    TypedText.clear();
    m_otherMonitors->setColour(controls::backColor(this));
}

void Form2::Form_Resize() {
    m_ui->Label1->resize(frameGeometry().width(), m_ui->Label1->height());
}

void Form2::Form_Deactivate() {
    m_mousePointer.ShowMousePointer();
}

void Form2::Timer1_Timer() {
    Procedure p{dialogs(), location("Timer1_Timer")};
    p.step(100, [&] { ++ShownSeconds; });
    if (p.test(102, [&] { return ShownSeconds > 0; })) {
        if (p.test(104, [&] { return !m_mousePointer.PointerHidden(); }))
            p.step(106, [&] { m_mousePointer.HideMousePointer(); });
    }
    if (p.test(108, [&] { return ShownSeconds > kHintSeconds; }))
        p.step(110, [&] { m_ui->Label1->setVisible(false); });
    // A key press or click waiting since the tick began is handled before the tick ends.
    p.step(112, [&] { processPendingEvents(); });
}

void Form2::Timer2_Timer() {
    KeepAwake& keepAwake = m_host.platform().keepAwake;
    Procedure p{dialogs(), location("Timer2_Timer")};
    p.step(100, [&] { keepAwake.signalUserActivity(); });
    p.step(102, [&] { keepAwake.endUserActivity(); });
    // Lets the activity signal reach the desktop before power management is told.
    p.step(104, [&] { processPendingEvents(); });
    p.step(106, [&] { keepAwake.keepSystemAwake(); });
}

void Form2::Form_KeyDown(int keyCode, int /*shift*/) {
    Procedure p{dialogs(), location("Form_KeyDown")};
    if (p.test(100, [&] { return chosen(ExitMethod::AnyKey); })) {
        if (p.test(102, [&] { return keyCode != kKeyCodeNone; })) {
            p.step(104, [&] { hide(); });
            p.step(106, [&] { m_host.showOptionsWindow(); });
        }
        return;
    }
    if (p.test(108, [&] { return chosen(ExitMethod::EscKey); })) {
        if (p.test(110, [&] { return keyCode == kKeyCodeEscape; })) {
            p.step(112, [&] { hide(); });
            p.step(114, [&] { m_host.showOptionsWindow(); });
        }
    }
}

void Form2::Form_KeyPress(const QString& character) {
    Procedure p{dialogs(), location("Form_KeyPress")};
    if (!p.test(100, [&] { return chosen(ExitMethod::Password); }))
        return;
    p.step(102, [&] { TypedText += character; });
    p.step(104, [&] { Timer3.setEnabled(true); });
    p.step(106, [&] { Timer3.setInterval(kTimer3IntervalMs); });
    if (!p.test(108, [&] { return passwordMatches(TypedText, m_host.settings().password(), m_shownExit); }))
        return;
    p.step(110, [&] { Timer3.setEnabled(false); });
    p.step(112, [&] { Timer3.setInterval(0); });
    p.step(114, [&] { hide(); });
    p.step(116, [&] { m_host.showOptionsWindow(); });
}

void Form2::Timer3_Timer() {
    Procedure p{dialogs(), location("Timer3_Timer")};
    p.step(100, [&] { ++TypingSeconds; });
    if (!p.test(102, [&] { return TypingSeconds >= kTypingTimeoutTicks; }))
        return;
    p.step(104, [&] { TypedText.clear(); });
    p.step(106, [&] { Timer3.setEnabled(false); });
    p.step(108, [&] { Timer3.setInterval(0); });
    p.step(110, [&] { TypingSeconds = 0; });
}

void Form2::Form_MouseDown() {
    runEvent("Form_MouseDown", [&] {
        if (chosen(ExitMethod::MouseClick)) {
            hide();
            m_host.showOptionsWindow();
        }
    });
    // Whatever happened above, a click always brings the pointer back.
    m_mousePointer.ShowMousePointer();
}

void Form2::Form_MouseMove() {
    if (cursor().shape() != Qt::WaitCursor)
        setCursor(Qt::ArrowCursor);
}

void Form2::Form_QueryUnload() {
    Procedure p{dialogs(), location("Form_QueryUnload")};
    p.step(100, [&] { Timer1.setEnabled(false); });
    p.step(102, [&] { Timer1.setInterval(0); });
    p.step(104, [&] { m_mousePointer.ShowMousePointer(); });
    p.step(106, [&] { m_host.showOptionsWindow(); });
    // The options window paints before this one goes; closeEvent() ignores a second request meanwhile.
    p.step(108, [&] { processPendingEvents(); });
    p.step(110, [&] { processPendingEvents(); });
}

bool Form2::chosen(ExitMethod method) const {
    const StoredChoice stored = [this](ExitMethod exit) {
        return m_host.settings().exitMethodSelected(exit, Reader::BlankScreen);
    };
    return exitMethodChosen(method, stored, m_shownExit);
}

void Form2::Show(const ShownExit& shown) {
    m_shownExit = shown;
    coverScreen();
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void Form2::coverOnly(const QStringList& monitors) {
    m_onlyMonitors = monitors;
    m_otherMonitors->coverOnly(monitors);
}

void Form2::coverScreen() {
    QScreen* target = QGuiApplication::screenAt(QCursor::pos());
    if (!m_onlyMonitors.isEmpty() && !(target && m_onlyMonitors.contains(target->name()))) {
        target = nullptr; // the first chosen monitor that is there
        for (QScreen* screen : QGuiApplication::screens()) {
            if (m_onlyMonitors.contains(screen->name()) &&
                (!target || m_onlyMonitors.indexOf(screen->name()) < m_onlyMonitors.indexOf(target->name())))
                target = screen;
        }
    }
    if (!target)
        target = QGuiApplication::primaryScreen();
    // On the screen in its colour at once, before the first paint (the hint follows with that paint).
    m_host.platform().windowHints.fillOnShow(this, controls::backColor(this));
    if (target) {
        // Without a window manager nobody acts on the full-screen request, so the window takes the
        // screen's size itself.
        setGeometry(target->geometry());
    }
    showFullScreen();
}

bool Form2::event(QEvent* event) {
    // Every key belongs to the exit handling, Tab included, which the window would otherwise use to move
    // the focus.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void Form2::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(keyCodeFor(*event), static_cast<int>(event->modifiers()));
    typeText(event->text());
}

void Form2::inputMethodEvent(QInputMethodEvent* event) {
    typeText(event->commitString());
    event->accept();
}

void Form2::typeText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        Form_KeyPress(text.mid(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
}

void Form2::mousePressEvent(QMouseEvent* event) {
    Form_MouseDown();
    event->accept();
}

void Form2::mouseMoveEvent(QMouseEvent* event) {
    runEvent("Form_MouseMove", [&] { Form_MouseMove(); });
    event->accept();
}

void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    runEvent("Form_Resize", [&] { Form_Resize(); });
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_otherMonitors->cover();
}

void Form2::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    coverOnly({}); // the choice was for the showing that ends here
    if (m_keepAwakeLimit.isActive()) {
        // The limit was for the showing that ends here: from now on keep-awake is as the box says.
        m_keepAwakeLimit.stop();
        setKeepAwake(m_host.settings().keepAwakeState(Reader::BlankScreen) == controls::kChecked);
    }
    m_otherMonitors->uncover();
    m_host.formHidden(this);
}

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_unloading)
        return; // a second request while the first runs its steps: the window is going already
    m_unloading = true;
    Form_QueryUnload();
    Timer1.setEnabled(false);
    setKeepAwake(false);
    Timer3.setEnabled(false);
    m_host.formUnloaded(this);
}

void Form2::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_host.platform().windowHints.skipTaskbar(this);
        m_host.formActivated(this);
    }
    QWidget::changeEvent(event);
}

} // namespace umbralux
