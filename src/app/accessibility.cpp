// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "passwordbox.h"

#include <QAccessibleWidget>
#include <QColor>

namespace umbralux {
namespace {

/// What a screen reader gets of a password box: the password state, and one bullet per character.
class PasswordBoxInterface : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit PasswordBoxInterface(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.passwordEdit = true;
        state.editable = !box()->isReadOnly();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? hidden() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int /*selectionIndex*/, int* start, int* end) const override {
        *start = box()->selectionStart();
        *end = *start < 0 ? -1 : box()->selectionEnd();
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { box()->setSelection(start, end - start); }
    void removeSelection(int /*selectionIndex*/) override { box()->deselect(); }
    void setSelection(int /*selectionIndex*/, int start, int end) override { addSelection(start, end); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override { return hidden().mid(start, end - start); }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    static constexpr QChar kBullet{0x25CF};
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
    QString hidden() const { return QString(box()->text().size(), kBullet); }
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
}

QString describeColour(const QColor& colour) {
    const QString hex = colour.name(QColor::HexRgb);
    for (const QString& name : QColor::colorNames()) {
        if (QColor(name) == colour)
            return QStringLiteral("%1 (%2)").arg(name, hex);
    }
    return hex;
}

} // namespace umbralux
