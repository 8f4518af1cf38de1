// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

/// Every setting of the program, declared once: its key, its stored form and the default that each
/// reading place supplies. Each read asks the store afresh (which parses the file again whenever it changed),
/// and each write goes through at once.
namespace umbralux::settings {

/// Who reads a setting; the two windows supply different defaults for some keys.
enum class Reader { OptionsWindow, BlankScreen };

/// The four exit methods, stored as four boolean keys "Option1" to "Option4".
enum class ExitMethod { AnyKey = 1, EscKey = 2, MouseClick = 3, Password = 4 };
inline constexpr ExitMethod kExitMethods[] = {ExitMethod::AnyKey, ExitMethod::EscKey, ExitMethod::MouseClick,
                                              ExitMethod::Password};

/// The key of an exit method: "Option1" to "Option4".
QString exitMethodKey(ExitMethod method);
bool exitMethodSelected(ExitMethod method, Reader reader);
void saveExitMethodSelected(ExitMethod method, bool selected);

/// "Text1": the password, exactly as typed; absent reads as the empty text.
QString password();
void savePassword(const QString& text);

/// "Check4": the keep-awake check box state, "1" checked or "0" unchecked.
qint16 keepAwakeState(Reader reader);
void saveKeepAwakeState(qint16 state);

/// "Background Color": the screen colour as a colour reference (red in the lowest byte); absent is black.
qint32 backgroundColor();
void saveBackgroundColor(qint32 colorReference);

/// The raw keys, for tests and tools that look at the store from outside.
inline constexpr char kPasswordKey[] = "Text1";
inline constexpr char kKeepAwakeKey[] = "Check4";
inline constexpr char kBackgroundColorKey[] = "Background Color";

} // namespace umbralux::settings
