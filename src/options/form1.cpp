// SPDX-License-Identifier: MIT
#include "form1.h"

#include "app/appicon.h"
#include "app/colorref.h"
#include "app/colourpicker.h"
#include "app/controls.h"
#include "app/dialogs.h"
#include "app/errorreport.h"
#include "app/exitchoice.h"
#include "app/formhost.h"
#include "app/formtimer.h"
#include "app/keepawake.h"
#include "app/pageopener.h"
#include "app/platform.h"
#include "app/programend.h"
#include "app/randomsource.h"
#include "app/settings.h"
#include "apptitle.h"
#include "cursorfile.h"
#include "designsize.h"
#include "form1accessibility.h"
#include "framelook.h"
#include "keepawaketooltip.h"
#include "skin.h"
#include "steadycaret.h"
#include "ui_form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace umbralux {
namespace {

using settings::ExitMethod;
using settings::Reader;

/// The maker's home page, opened at about one start in a hundred.
constexpr char kHomePage[] = "https://quenbrook.example/umbralux/";
/// The home page opens when a draw from 1 to 100 gives this number.
constexpr int kHomePageDrawRange = 100;
constexpr int kHomePageLuckyNumber = 7;

QString location(const char* procedure) {
    return procedureLocation("Form1", procedure);
}

/// Gives every options window the white of its design, and through the window its frames, option buttons
/// and check box. All windows built from the same program palette share this one palette object: the style
/// keys what it caches of a control's drawing by the control's palette, so a window built again draws its
/// controls from that cache instead of afresh, and the cache does not fill with drawings no window uses.
void useDesignPalette() {
    static qint64 programPalette = -1;
    if (QApplication::palette().cacheKey() == programPalette)
        return;
    programPalette = QApplication::palette().cacheKey();
    QPalette palette = QApplication::palette();
    const QColor white = colorFromReference(kWhite);
    palette.setColor(QPalette::Window, white);
    palette.setColor(QPalette::Base, white);
    palette.setResolveMask(0); // taken by the controls as it is, not merged into a palette of their own
    QApplication::setPalette(palette, Form1::staticMetaObject.className());
}

} // namespace

Form1::Form1(FormHost& host) : m_host(host), m_ui(std::make_unique<Ui::Form1>()) {
    useDesignPalette();
    m_ui->setupUi(this);
    // Under the program's style sheet (a skin, from the second load of the window on) Qt hands a frame's
    // font not to the controls built inside it: they take the program's default font instead of the
    // design's. Each control gets its parent's font here, parents before their children.
    if (!qApp->styleSheet().isEmpty()) {
        for (QWidget* control : findChildren<QWidget*>()) {
            if (!control->testAttribute(Qt::WA_SetFont))
                control->setFont(control->parentWidget()->font());
        }
    }
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    keepDesignSize(*this);
    // The option buttons and the check box have palettes of their own kind, which the window's does not
    // reach.
    const QColor white = colorFromReference(kWhite);
    for (QWidget* control : std::initializer_list<QWidget*>{m_ui->Option1, m_ui->Option2, m_ui->Option3,
                                                            m_ui->Option4, m_ui->Check4})
        controls::setBackColor(control, white);
    // The frames are thin borders with their caption set into the top line.
    for (QGroupBox* frame : {m_ui->Frame1, m_ui->Frame2, m_ui->Frame3})
        drawFrameAsDesigned(frame);
    controls::setBackColor(m_ui->Label1, colorFromReference(kWindowBackgroundSystemColor));
    // The text boxes have a colour of their own, which the window's colour must not reach.
    for (QWidget* box : std::initializer_list<QWidget*>{m_ui->Text1, m_ui->Text2}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, colorFromReference(kWindowBackgroundSystemColor));
        box->setPalette(palette);
    }
    controls::setForeColor(m_ui->Label1, colorFromReference(kWindowTextSystemColor));
    auto* skin = new SkinFramework(this);
    skin->setObjectName(QStringLiteral("SkinFramework1"));
    // Pointer moves without a pressed button reach only the widgets that track the mouse.
    setMouseTracking(true);
    for (QWidget* frame : std::initializer_list<QWidget*>{m_ui->Frame1, m_ui->Frame2, m_ui->Frame3}) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
    m_ui->Label1->installEventFilter(this);
    keepCaretSteady(m_ui->Text2); // below the visible area: its blink would only wake the idle window
    connectHandlers();
    setUpAccessibility(*this);
    showKeepAwakeInToolTip(m_ui->Check4, m_host.platform().keepAwake);
}

Form1::~Form1() = default;

qint16 Form1::Check4Value() const {
    return controls::checkBoxValue(m_ui->Check4);
}

void Form1::setCheck4Value(qint16 value) {
    controls::setCheckBoxValue(m_ui->Check4, value);
}

Dialogs& Form1::dialogs() {
    return m_host.platform().dialogs;
}

template <typename Handler> void Form1::runEvent(const char* name, Handler&& handler) {
    runUnreportedHandler(dialogs(), "Form1", name, std::forward<Handler>(handler));
}

void Form1::connectHandlers() {
    for (const OptionButton& option : optionButtons()) {
        connect(option.button, &QRadioButton::toggled, this, [this, option](bool selected) {
            if (selected)
                raiseClick(option);
        });
    }
    connect(m_ui->Text1, &QLineEdit::textChanged, this,
            [this] { runEvent("Text1_Change", [&] { Text1_Change(); }); });
    connect(m_ui->Check4, &QCheckBox::stateChanged, this,
            [this] { runEvent("Check4_Click", [&] { Check4_Click(); }); });
    connect(m_ui->PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(m_ui->PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(m_ui->PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(m_ui->PushButton1, &PushButton::MouseMove, this, [this] { PushButton1_MouseMove(); });
    connect(m_ui->PushButton2, &PushButton::MouseMove, this, [this] { PushButton2_MouseMove(); });
    connect(m_ui->PushButton3, &PushButton::MouseMove, this, [this] { PushButton3_MouseMove(); });
}

void Form1::Form_Load() {
    Procedure p{dialogs(), location("Form_Load")};
    const QString pointerFile = m_host.programFolder() + QStringLiteral("/HAND-M.CUR");
    if (p.test(100, [&] { return FileExists(pointerFile); }))
        p.step(102, [&] { loadHandPointer(pointerFile); });
    p.step(104, [&] { ApplySkin(*this, m_host.programFolder()); });
    p.step(106, [&] { setCaptionIconAndTitle(); });
    p.step(108, [&] { openHomePageOnceInAHundred(); });
    p.step(128, [&] {
        controls::setBackColor(m_ui->Label1, colorFromReference(m_host.settings().backgroundColor()));
    });
    p.step(130, [&] {
        assignOption(m_ui->Option1,
                     m_host.settings().exitMethodSelected(ExitMethod::AnyKey, Reader::OptionsWindow));
    });
    p.step(132, [&] {
        assignOption(m_ui->Option2,
                     m_host.settings().exitMethodSelected(ExitMethod::EscKey, Reader::OptionsWindow));
    });
    p.step(134, [&] {
        assignOption(m_ui->Option3,
                     m_host.settings().exitMethodSelected(ExitMethod::MouseClick, Reader::OptionsWindow));
    });
    p.step(136, [&] {
        assignOption(m_ui->Option4,
                     m_host.settings().exitMethodSelected(ExitMethod::Password, Reader::OptionsWindow));
    });
    p.step(138, [&] { m_host.blankScreen().timer1().setEnabled(false); });
    p.step(140, [&] { m_host.blankScreen().timer1().setInterval(0); });
    p.step(142, [&] { m_host.blankScreen().setHintForeColor(colorFromReference(kWhite)); });
    p.step(144, [&] { m_ui->Text1->setText(m_host.settings().password()); });
    p.step(146, [&] {
        controls::setCheckBoxValue(m_ui->Check4, m_host.settings().keepAwakeState(Reader::OptionsWindow));
    });
    p.step(148, [&] { m_host.setShowingBlankScreen(false); });
    p.step(150, [&] { setCaptionIconAndTitle(); });
}

void Form1::Show() {
    centreOnScreen();
    show();
    // A window manager frames the window only when it maps it: once the window is on the screen, its frame
    // is known and the window is centred again with it (eventFilter()).
    if (QWindow* window = windowHandle()) {
        m_centreWhenFramed = true;
        window->installEventFilter(this);
    }
    raise();
    activateWindow();
    m_ui->Text2->setFocus(Qt::OtherFocusReason);
}

void Form1::centreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    QWindow* window = windowHandle();
    const QMargins frame = window ? window->frameMargins() : QMargins();
    const QPoint topLeft =
        screen->availableGeometry().center() - QRect(QPoint(), size().grownBy(frame)).center();
    if (window)
        window->setFramePosition(topLeft);
    else
        move(topLeft);
}

void Form1::loadHandPointer(const QString& file) {
    m_customPointer = loadCursorFile(file);
    m_hasCustomPointer = true;
}

void Form1::setCaptionIconAndTitle() {
    setWindowTitle(QLatin1String(kProductName));
    setWindowIcon(applicationIcon());
    SetAppTitle();
}

void Form1::openHomePageOnceInAHundred() {
    const int draw = static_cast<int>(m_host.platform().random.nextUnit() * kHomePageDrawRange) + 1;
    if (draw == kHomePageLuckyNumber)
        m_host.platform().pageOpener.openPage(QLatin1String(kHomePage));
}

std::array<Form1::OptionButton, 4> Form1::optionButtons() const {
    return {{{m_ui->Option1, "Option1_Click", &Form1::Option1_Click},
             {m_ui->Option2, "Option2_Click", &Form1::Option2_Click},
             {m_ui->Option3, "Option3_Click", &Form1::Option3_Click},
             {m_ui->Option4, "Option4_Click", &Form1::Option4_Click}}};
}

void Form1::raiseClick(const OptionButton& option) {
    runEvent(option.handlerName, [&] { (this->*option.handler)(); });
}

void Form1::assignOption(QRadioButton* button, bool value) {
    if (!value) {
        // A selected button of a group cannot be cleared by the group itself.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
        return;
    }
    if (!button->isChecked()) {
        button->setChecked(true); // the group clears the others, and the button's toggle runs its handler
        return;
    }
    // Selecting the selected button changes nothing the group notices, yet its handler runs.
    for (const OptionButton& option : optionButtons()) {
        if (option.button == button)
            raiseClick(option);
    }
}

void Form1::Option1_Click() {
    storeExitMethod();
}
void Form1::Option2_Click() {
    storeExitMethod();
}
void Form1::Option3_Click() {
    storeExitMethod();
}
void Form1::Option4_Click() {
    storeExitMethod();
}

void Form1::storeExitMethod() {
    m_host.settings().saveExitMethodSelected(ExitMethod::AnyKey, m_ui->Option1->isChecked());
    m_host.settings().saveExitMethodSelected(ExitMethod::EscKey, m_ui->Option2->isChecked());
    m_host.settings().saveExitMethodSelected(ExitMethod::MouseClick, m_ui->Option3->isChecked());
    m_host.settings().saveExitMethodSelected(ExitMethod::Password, m_ui->Option4->isChecked());
}

ShownExit Form1::shownExit() const {
    ShownExit shown{std::nullopt, m_ui->Text1->text()};
    for (const ExitMethod method : settings::kExitMethods) {
        if (optionButtons()[static_cast<int>(method) - 1].button->isChecked())
            shown.method = method;
    }
    return shown;
}

void Form1::Text1_Change() {
    m_host.settings().savePassword(m_ui->Text1->text());
}

void Form1::Check4_Click() {
    m_host.settings().saveKeepAwakeState(controls::checkBoxValue(m_ui->Check4));
}

void Form1::PushButton1_Click() {
    Procedure p{dialogs(), location("PushButton1_Click")};
    if (p.test(100, [&] { return m_ui->Option4->isChecked() && !typable(m_ui->Text1->text()); })) {
        p.step(102, [&] {
            dialogs().showMessage(tr("Please set password or change %1.").arg(m_ui->Frame2->title()),
                                  appTitle());
        });
        p.step(104, [&] { m_ui->Text1->setFocus(Qt::OtherFocusReason); });
        return;
    }
    if (p.test(106, [&] { return m_ui->Option1->isChecked(); })) {
        p.step(108, [&] { m_host.blankScreen().setHint(tr("Press any key to exit")); });
    } else if (p.test(110, [&] { return m_ui->Option2->isChecked(); })) {
        p.step(112, [&] { m_host.blankScreen().setHint(tr("Press 'ESC' key to exit")); });
    } else if (p.test(114, [&] { return m_ui->Option3->isChecked(); })) {
        p.step(116, [&] { m_host.blankScreen().setHint(tr("Click mouse to exit")); });
    } else if (p.test(118, [&] { return m_ui->Option4->isChecked(); })) {
        p.step(120, [&] { m_host.blankScreen().setHint(tr("Type password to exit")); });
    }
    p.step(122, [&] { m_host.setShowingBlankScreen(true); });
    p.step(124, [&] { m_host.blankScreen().ReLoadStyle(); });
    p.step(126, [&] { m_host.blankScreen().Show(shownExit()); });
    p.step(128, [&] { m_host.blankScreen().timer1().setEnabled(true); });
    p.step(130, [&] { m_host.blankScreen().timer1().setInterval(BlankScreenWindow::kTimer1IntervalMs); });
    p.step(132, [&] { close(); });
}

void Form1::PushButton2_Click() {
    Procedure p{dialogs(), location("PushButton2_Click")};
    p.step(100, [&] { m_dialogColor = referenceFromColor(controls::backColor(m_ui->Label1)); });
    p.step(102, [&] {
        // A cancelled dialog leaves the colour it was opened with.
        if (const auto chosen =
                m_host.platform().colourPicker.pickColour(this, colorFromReference(m_dialogColor)))
            m_dialogColor = referenceFromColor(*chosen);
    });
    p.step(104, [&] { controls::setBackColor(m_ui->Label1, colorFromReference(m_dialogColor)); });
    p.step(106, [&] {
        m_host.settings().saveBackgroundColor(referenceFromColor(controls::backColor(m_ui->Label1)));
    });
}

void Form1::Label1_Click() {
    PushButton2_Click();
}

void Form1::PushButton3_Click() {
    Procedure p{dialogs(), location("PushButton3_Click")};
    p.step(100, [&] { m_host.settings().saveBackgroundColor(kBlack); });
    p.step(102, [&] { controls::setBackColor(m_ui->Label1, colorFromReference(kBlack)); });
}

void Form1::setMousePointer(int setting) {
    m_mousePointer = setting;
    switch (setting) {
    case kCustomPointer:
        setCursor(m_hasCustomPointer ? m_customPointer : QCursor(Qt::ArrowCursor));
        break;
    case kBusyPointer:
        setCursor(Qt::WaitCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void Form1::pointerMovedOver(int setting) {
    if (MousePointer() == kBusyPointer)
        return;
    setMousePointer(setting);
}

void Form1::Form_MouseMove() {
    pointerMovedOver(kDefaultPointer);
}
void Form1::Frame1_MouseMove() {
    pointerMovedOver(kDefaultPointer);
}
void Form1::Frame2_MouseMove() {
    pointerMovedOver(kDefaultPointer);
}
void Form1::Frame3_MouseMove() {
    pointerMovedOver(kDefaultPointer);
}
void Form1::PushButton1_MouseMove() {
    pointerMovedOver(kCustomPointer);
}
void Form1::PushButton2_MouseMove() {
    pointerMovedOver(kCustomPointer);
}
void Form1::PushButton3_MouseMove() {
    pointerMovedOver(kCustomPointer);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && m_centreWhenFramed && watched == windowHandle() &&
        windowHandle()->isExposed()) {
        m_centreWhenFramed = false;
        if (!windowHandle()->frameMargins().isNull())
            centreOnScreen();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove) {
        // The frame takes the move itself: the window behind it must not see it as well.
        if (watched == m_ui->Frame1)
            Frame1_MouseMove();
        else if (watched == m_ui->Frame2)
            Frame2_MouseMove();
        else if (watched == m_ui->Frame3)
            Frame3_MouseMove();
        else
            return QWidget::eventFilter(watched, event);
        return true;
    }
    if (watched == m_ui->Label1 && event->type() == QEvent::MouseButtonRelease) {
        // A click is a press and a release of the left button on the swatch; the release comes here only
        // when the press did.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_ui->Label1->rect().contains(mouse->position().toPoint())) {
            Label1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_QueryUnload() {
    Procedure p{dialogs(), location("Form_QueryUnload")};
    if (p.test(100, [&] { return m_host.ShowingBlankScreen(); }))
        return;
    p.step(102, [&] { m_host.platform().programEnd.endProgram(0); });
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    m_host.formUnloaded(this);
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_host.formActivated(this);
    QWidget::changeEvent(event);
}

} // namespace umbralux
