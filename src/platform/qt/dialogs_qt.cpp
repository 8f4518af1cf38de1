// SPDX-License-Identifier: MIT
#include "dialogs_qt.h"

#include <QApplication>
#include <QMessageBox>

namespace umbralux {
namespace {

void showModalBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MessageBoxDialogs::showErrorReport(const QString& message) {
    showModalBox(QMessageBox::Warning, QCoreApplication::translate("ErrorReport", kErrorReportCaption),
                 message);
}

void MessageBoxDialogs::showMessage(const QString& text, const QString& caption) {
    showModalBox(QMessageBox::NoIcon, caption, text);
}

} // namespace umbralux
