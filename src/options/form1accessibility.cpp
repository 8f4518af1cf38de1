// SPDX-License-Identifier: MIT
#include "form1accessibility.h"

#include "accessibility.h"
#include "app/controls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace umbralux {
namespace {

struct Description {
    const char* control;
    const char* name;        ///< empty: the control's own caption
    const char* description; ///< empty: none
};

// The names and descriptions as written; the controls get them translated.
constexpr Description kDescriptions[] = {
    {"Form1", "",
     QT_TRANSLATE_NOOP(
         "Form1Accessibility",
         "Choose how the blank screen is dismissed, its colour, and whether the computer stays awake")},
    {"Text2", QT_TRANSLATE_NOOP("Form1Accessibility", "Umbralux options"),
     QT_TRANSLATE_NOOP("Form1Accessibility", "Press Tab to reach the controls")},
    {"PushButton1", "",
     QT_TRANSLATE_NOOP("Form1Accessibility", "Covers the screen until the chosen input dismisses it")},
    {"PushButton2", "",
     QT_TRANSLATE_NOOP("Form1Accessibility", "Opens the colour dialog for the screen colour")},
    {"PushButton3", "", QT_TRANSLATE_NOOP("Form1Accessibility", "Makes the screen colour black")},
    {"Frame2", "", QT_TRANSLATE_NOOP("Form1Accessibility", "How the blank screen is dismissed")},
    {"Text1", QT_TRANSLATE_NOOP("Form1Accessibility", "Password"),
     QT_TRANSLATE_NOOP("Form1Accessibility", "The password that dismisses the blank screen")},
    {"Label1", QT_TRANSLATE_NOOP("Form1Accessibility", "Screen colour"), ""},
};

/// Keeps the swatch's accessible description on the colour it shows.
class SwatchDescription : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange)
            describe(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }
    static void describe(QWidget* swatch) {
        swatch->setAccessibleDescription(describeColour(controls::backColor(swatch)));
    }
};

/// Only the selected button of the group takes the focus from Tab; the others stay reachable with the arrow
/// keys and the mouse.
void keepTabStopOnSelection(const QList<QRadioButton*>& group) {
    const auto update = [group] {
        for (QRadioButton* button : group)
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QRadioButton* button : group)
        QObject::connect(button, &QRadioButton::toggled, button, update);
    update();
}

} // namespace

void setUpAccessibility(QWidget& form1) {
    for (const Description& entry : kDescriptions) {
        QWidget* control = entry.control == form1.objectName()
                               ? &form1
                               : form1.findChild<QWidget*>(QLatin1String(entry.control));
        if (!control)
            continue;
        if (*entry.name)
            control->setAccessibleName(QCoreApplication::translate("Form1Accessibility", entry.name));
        if (*entry.description)
            control->setAccessibleDescription(
                QCoreApplication::translate("Form1Accessibility", entry.description));
    }
    if (auto* swatch = form1.findChild<QLabel*>(QStringLiteral("Label1"))) {
        SwatchDescription::describe(swatch);
        swatch->installEventFilter(new SwatchDescription(swatch));
    }
    QList<QRadioButton*> exitMethods;
    for (const char* name : {"Option1", "Option2", "Option3", "Option4"})
        exitMethods << form1.findChild<QRadioButton*>(QLatin1String(name));
    exitMethods.removeAll(nullptr);
    keepTabStopOnSelection(exitMethods);
}

} // namespace umbralux
