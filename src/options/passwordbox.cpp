// SPDX-License-Identifier: MIT
#include "passwordbox.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <memory>

namespace umbralux {

void PasswordBox::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy || event == QKeySequence::Cut) {
        event->accept(); // taken here, so that no shortcut of the window sees it either
        return;
    }
    QLineEdit::keyPressEvent(event); // a key that selects copies the selection on X11
    withdrawCopies();
}

void PasswordBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event); // the end of a selection by the mouse copies it on X11
    withdrawCopies();
}

void PasswordBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    withdrawCopies();
}

void PasswordBox::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-copy") ||
            action->objectName() == QLatin1String("edit-cut"))
            action->setEnabled(false);
    }
    menu->exec(event->globalPos());
    withdrawCopies();
}

void PasswordBox::withdrawCopies() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString held = text();
    for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        const bool ours =
            mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
        if (!ours)
            continue;
        // Only this process's own copy is looked at, and it is taken back before the event loop can hand
        // it to another program.
        const QString copied = clipboard->text(mode);
        if (!copied.isEmpty() && held.contains(copied))
            clipboard->clear(mode);
    }
}

} // namespace umbralux
