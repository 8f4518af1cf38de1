// SPDX-License-Identifier: MIT
#pragma once

#include <QSet>
#include <QString>
#include <QtGlobal>

/// Every setting of the program, declared once: its key, its stored form and the default that each
/// reading place supplies. Each read asks the store afresh, and each write goes through at once.
namespace umbralux::settings {

/// Who reads a setting; the two windows supply different defaults for some keys.
enum class Reader { OptionsWindow, BlankScreen };

/// The four exit methods, stored as four boolean keys "Option1" to "Option4".
enum class ExitMethod { AnyKey = 1, EscKey = 2, MouseClick = 3, Password = 4 };
inline constexpr ExitMethod kExitMethods[] = {ExitMethod::AnyKey, ExitMethod::EscKey, ExitMethod::MouseClick,
                                              ExitMethod::Password};

/// The key of an exit method: "Option1" to "Option4".
QString exitMethodKey(ExitMethod method);

/// The raw keys, for tests and tools that look at the store from outside.
inline constexpr char kPasswordKey[] = "Text1";
inline constexpr char kKeepAwakeKey[] = "Check4";
inline constexpr char kBackgroundColorKey[] = "Background Color";

} // namespace umbralux::settings

namespace umbralux {

class SettingsStore;

/// The program's settings in the platform's store, each with its stored form and readers' defaults. A save
/// that fails throws Failure the first time only, for each place, cause and reporting handler (the
/// innermost ReportingScope): a store that cannot be written fails the same way at every save, and a box at
/// every keystroke in the password box would leave the user unable to type. Each handler's report names
/// it; after that the user knows that nothing it saves is saved.
class Settings {
  public:
    explicit Settings(SettingsStore& store) : m_store(store) {}

    bool exitMethodSelected(settings::ExitMethod method, settings::Reader reader);
    void saveExitMethodSelected(settings::ExitMethod method, bool selected);

    /// "Text1": the password, exactly as typed; absent reads as the empty text.
    QString password();
    void savePassword(const QString& text);

    /// "Check4": the keep-awake check box state, "1" checked or "0" unchecked.
    qint16 keepAwakeState(settings::Reader reader);
    void saveKeepAwakeState(qint16 state);

    /// "Background Color": the screen colour as a colour reference (red in the lowest byte); absent is black.
    qint32 backgroundColor();
    void saveBackgroundColor(qint32 colorReference);

  private:
    QString read(const QString& key, const QString& defaultValue);
    QString read(const QString& key, int defaultValue);
    void write(const QString& key, const QString& text);

    SettingsStore& m_store;
    /// The failed saves reported so far, as place, cause and reporting handler.
    QSet<QString> m_reported;
};

} // namespace umbralux
