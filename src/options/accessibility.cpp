// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "passwordbox.h"

#include <QAccessibleWidget>
#include <QColor>
#include <QHash>
#include <QLoggingCategory>

namespace umbralux {
namespace {

/// What a screen reader gets of a password box: the password state, and one bullet per character as its
/// value. It offers no text interface, so the accessibility bridge passes on no edit of the text either:
/// the events of a typed or pasted text carry the characters themselves.
class PasswordBoxInterface : public QAccessibleWidget {
  public:
    explicit PasswordBoxInterface(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.passwordEdit = true;
        state.editable = !box()->isReadOnly();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? QString(box()->text().size(), kBullet) : QAccessibleWidget::text(t);
    }

  private:
    static constexpr QChar kBullet{0x25CF};
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* accessibleInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String(PasswordBox::staticMetaObject.className()))
        return new PasswordBoxInterface(widget);
    // Qt's own factory does not know our window classes and would fall back to a plain widget's role;
    // the desktop lists a top-level window of ours as an application window.
    if (className.startsWith(QLatin1String("umbralux::")) && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    QAccessible::installFactory(accessibleInterface);
    // The bridge warns at every caret move in a text box without a text interface, which the password box
    // is on purpose.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.accessibility.atspi.warning=false"));
}

QString describeColour(const QColor& colour) {
    // Each named colour's value with its first name in Qt's list, made once instead of parsing the whole
    // list at every look-up (every change of the swatch's colour, and every load of the options window).
    static const QHash<QRgb, QString> names = [] {
        QHash<QRgb, QString> byValue;
        for (const QString& name : QColor::colorNames()) {
            const QRgb value = QColor(name).rgba();
            if (!byValue.contains(value))
                byValue.insert(value, name);
        }
        return byValue;
    }();
    QString hex = colour.name(QColor::HexRgb);
    const auto named = names.constFind(colour.rgba());
    if (named != names.constEnd() && QColor(*named) == colour)
        return QStringLiteral("%1 (%2)").arg(*named, hex);
    return hex;
}

} // namespace umbralux
