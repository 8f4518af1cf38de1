// SPDX-License-Identifier: MIT
#pragma once

#include "settings.h"

#include <QString>
#include <functional>
#include <optional>

namespace umbralux {

/// What the options window showed when "Show Screen" was clicked: the selected exit method, if any, and the
/// text of its password box.
struct ShownExit {
    std::optional<settings::ExitMethod> method;
    QString password;
};

/// How the blank screen reads one exit method from the store: true when chosen. It may throw, as a stored
/// text that is no boolean does.
using StoredChoice = std::function<bool(settings::ExitMethod)>;

/// Whether an exit method ends the blank screen. The store is read as always, but it is not the only word: a
/// screen the user cannot leave is the worst failure this program can have, and a store that cannot be
/// written (or read) may not hold what the user chose. So the method the options window showed always counts,
/// and when no method reads as chosen in the store, the ESC key counts, as it does in the options window. A
/// failing read of the asked method is passed on to the caller, whose numbered test reports it and takes it
/// as chosen.
bool exitMethodChosen(settings::ExitMethod method, const StoredChoice& stored, const ShownExit& shown);

/// Whether the typed record ends the password method: it equals the stored password, or the password the
/// options window showed with that method.
bool passwordMatches(const QString& typed, const QString& storedPassword, const ShownExit& shown);

/// Whether a password can be typed on the blank screen: it is not empty and holds no character that no key
/// types into the record (a control character such as a line break or a tab, or a line or paragraph
/// separator). Such a password would leave the user no way out, so "Show Screen" refuses it as it refuses
/// an empty one.
bool typable(const QString& password);

} // namespace umbralux
