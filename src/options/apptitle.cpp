// SPDX-License-Identifier: MIT
#include "apptitle.h"

#include "app/failure.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace umbralux {
namespace {

QString& applicationTitle() {
    static QString title;
    return title;
}

QString cutLastWord(const QString& text) {
    const qsizetype space = text.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        throw Failure(QCoreApplication::translate("Failure", "Invalid procedure call or argument"));
    return text.left(space);
}

} // namespace

QString cutTitle(const QString& name, int limit) {
    QString title = cutLastWord(name);
    while (title.size() > limit)
        title = cutLastWord(title);
    return title;
}

void SetAppTitle() {
    applicationTitle() = cutTitle(QLatin1String(kProductName));
}

QString appTitle() {
    return applicationTitle();
}

bool FileExists(const QString& path) noexcept {
    try {
        if (path.isEmpty())
            return false;
        const QFileInfo info(path);
        return info.exists() && info.lastModified().isValid();
    } catch (...) {
        return false;
    }
}

} // namespace umbralux
