#pragma once

#include <QCursor>
#include <QWidget>
#include <memory>

class QCheckBox;
class QRadioButton;

namespace Ui {
class Form1;
}

namespace umbralux {

class Program;

/// The options window: the program's start-up and main window. Every choice made here is written to the
/// settings store at once.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Program& program);
    ~Form1() override;

    /// The load step: window look, caption and title, and every control restored from the store.
    void Form_Load();
    /// Shows the window centred on the screen, with the keyboard focus on the hidden first control.
    void Show();

    // Exit method, password and keep-awake: each writes its value to the store at once.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Text1_Change();
    void Check4_Click();

    /// "Show Screen".
    void PushButton1_Click();
    /// The closing rule: ends the program unless the window closes for the blank screen.
    void Form_QueryUnload();

    QCheckBox* Check4() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void connectHandlers();
    /// Runs a handler that has no report of its own, as a window event.
    template <typename Handler> void runEvent(const char* name, Handler&& handler);
    /// Assigns a value to an option button as the platform's own controls behave: true selects it and runs
    /// its click handler even when it was selected already; false clears it and runs nothing.
    void assignOption(QRadioButton* button, bool value);
    void storeExitMethod();
    void setCaptionIconAndTitle();
    void openHomePageOnceInAHundred();
    void loadHandPointer(const QString& file);

    Program& m_program;
    std::unique_ptr<Ui::Form1> m_ui;
    /// The hand pointer shown over the push buttons, when its file was found.
    QCursor m_customPointer;
    bool m_hasCustomPointer = false;
};

} // namespace umbralux
