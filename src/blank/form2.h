#pragma once

#include "app/formtimer.h"

#include <QWidget>
#include <memory>

class QLabel;

namespace Ui {
class Form2;
}

namespace umbralux {

class Program;

/// The blank screen: a borderless window over the whole screen in one colour, with a hint that fades after a
/// few seconds. It goes away on the input chosen in the options window, or on a close request.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    /// Pointer and hint timer: one tick a second while the screen is up.
    static constexpr int kTimer1IntervalMs = 1000;
    /// Keep-awake: just under a minute, so that one-minute idle limits are never reached.
    static constexpr int kTimer2IntervalMs = 59000;
    /// Typing time-out timer of the password method.
    static constexpr int kTimer3IntervalMs = 1000;
    /// The typed record is discarded at this many Timer3 ticks.
    static constexpr int kTypingTimeoutTicks = 30;
    /// The hint disappears at the tick after this many.
    static constexpr int kHintSeconds = 3;

    explicit Form2(Program& program);
    ~Form2() override;

    void Form_Load();
    void Form_Activate();
    void Form_Deactivate();
    void Form_Resize();
    /// Restyles the screen from the store: colour, hint colours, typed record cleared.
    void ReLoadStyle();
    void Timer1_Timer();
    void Timer2_Timer();

    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyPress(const QString& character);
    void Form_MouseDown();
    void Form_MouseMove();
    void Form_QueryUnload();
    void Timer3_Timer();

    /// Shows the screen modeless over the whole screen and takes the keyboard.
    void Show();

    QLabel* Label1() const;

    FormTimer Timer1{true, kTimer1IntervalMs};
    FormTimer Timer2{false, kTimer2IntervalMs};
    FormTimer Timer3{false, kTimer3IntervalMs};

    qint32 ShownSeconds = 0;
    QString TypedText;
    qint32 TypingSeconds = 0;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    template <typename Handler> void runEvent(const char* name, Handler&& handler);
    /// Types a character: every character of the text in turn, as the keyboard delivers them.
    void typeText(const QString& text);
    void coverScreen();

    Program& m_program;
    std::unique_ptr<Ui::Form2> m_ui;
};

} // namespace umbralux
