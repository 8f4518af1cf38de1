// SPDX-License-Identifier: MIT
#include "exitchoice.h"

namespace umbralux {
namespace {

using settings::ExitMethod;

/// True when no exit-method key reads as chosen; a key that cannot be read is no choice either.
bool noMethodChosen(const StoredChoice& stored) {
    for (const ExitMethod method : settings::kExitMethods) {
        try {
            if (stored(method))
                return false;
        } catch (...) {
        }
    }
    return true;
}

} // namespace

bool exitMethodChosen(ExitMethod method, const StoredChoice& stored, const ShownExit& shown) {
    if (shown.method == method)
        return true;
    if (stored(method))
        return true;
    return method == ExitMethod::EscKey && noMethodChosen(stored);
}

bool passwordMatches(const QString& typed, const QString& storedPassword, const ShownExit& shown) {
    return typed == storedPassword || (shown.method == ExitMethod::Password && typed == shown.password);
}

bool typable(const QString& password) {
    if (password.isEmpty())
        return false;
    for (const QChar c : password) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
    }
    return true;
}

} // namespace umbralux
