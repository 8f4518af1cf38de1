#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace umbralux {

class Dialogs;
class Form1;
class Form2;
class MousePointer;
struct Platform;

/// The running program: its platform services and its two windows, each a single instance that the first
/// reference creates and loads (its load step runs inside the referring step), that hiding keeps, and that
/// closing discards, so that the next reference loads it afresh from its design.
class Program : public QObject {
    Q_OBJECT
  public:
    Program(Platform& platform, QString programFolder);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Platform& platform() { return m_platform; }
    Dialogs& dialogs();
    /// The pointer hiding of the blank screen, with its flag.
    MousePointer& mousePointer() { return *m_mousePointer; }
    /// The folder that holds the program file, without a trailing separator.
    const QString& programFolder() const { return m_programFolder; }

    /// The options window, loaded if it is not.
    Form1& form1();
    /// The blank screen window, loaded (hidden) if it is not.
    Form2& form2();
    /// The windows if they are loaded, without loading them.
    Form1* loadedForm1() const;
    Form2* loadedForm2() const;

    /// Starts the program: loads and shows the options window.
    void start();
    /// Shows the options window modeless, loading it first if it was closed.
    void showForm1();

    /// The options window's own flag: true only while it is closed because the blank screen is shown.
    /// It outlives the window's reloads.
    bool ShowingBlankScreen = false;

    /// Interval of the blank screen's keep-awake timer for the windows loaded from now on; 0 keeps the
    /// window's own interval. Only tests change it, to see many ticks in a few seconds.
    int keepAwakeIntervalOverrideMs = 0;

    /// Called by a window that has been closed: it is discarded and the next reference loads it anew.
    void formUnloaded(QWidget* form);
    /// Called by a window that became active; raises the blank screen's activate and deactivate events
    /// when the program's active window changes between its windows.
    void formActivated(QWidget* form);
    /// Called by a window that was hidden; a hidden window is no longer the program's active window.
    void formHidden(QWidget* form);

  private:
    Platform& m_platform;
    QString m_programFolder;
    std::unique_ptr<MousePointer> m_mousePointer;
    QPointer<Form1> m_form1;
    QPointer<Form2> m_form2;
    QPointer<QWidget> m_activeForm;
};

} // namespace umbralux
