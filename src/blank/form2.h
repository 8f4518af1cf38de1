// SPDX-License-Identifier: MIT
#pragma once

#include "app/exitchoice.h"
#include "app/formhost.h"
#include "app/formtimer.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>

class QLabel;

namespace Ui {
class Form2;
}

namespace umbralux {

class Dialogs;
class MousePointer;
class OtherMonitors;

namespace test {
struct Form2Probe;
}

/// The blank screen: a borderless window over the whole screen in one colour, with a hint that fades after a
/// few seconds. It goes away on the input chosen in the options window, or on a close request.
class Form2 final : public QWidget, public BlankScreenWindow {
    Q_OBJECT
  public:
    /// Keep-awake: just under a minute, so that one-minute idle limits are never reached.
    static constexpr int kTimer2IntervalMs = 59000;
    /// Typing time-out timer of the password method.
    static constexpr int kTimer3IntervalMs = 1000;
    /// The typed record is discarded at this many Timer3 ticks.
    static constexpr int kTypingTimeoutTicks = 30;
    /// The hint disappears at the tick after this many.
    static constexpr int kHintSeconds = 3;

    Form2(FormHost& host, MousePointer& mousePointer);
    ~Form2() override;

    void Form_Load();
    void Form_Activate();
    void Form_Deactivate();
    void Form_Resize();
    void ReLoadStyle() override;
    void Timer1_Timer();
    void Timer2_Timer();

    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyPress(const QString& character);
    void Form_MouseDown();
    void Form_MouseMove();
    void Form_QueryUnload();
    void Timer3_Timer();

    void Show(const ShownExit& shown) override;
    void setHint(const QString& text) override;
    void setHintForeColor(const QColor& color) override;
    FormTimer& timer1() override { return Timer1; }

    QLabel* Label1() const;

    /// Keep-awake for this showing only: on now, whatever the box says, and handed back after `limit`
    /// while the screen stays covered. Nothing is stored.
    void keepAwakeFor(std::chrono::seconds limit);
    /// Covers only the monitors of these names in this showing (every monitor when empty); the others stay
    /// usable. When the last of them is unplugged, the showing ends as the chosen input would end it.
    void coverOnly(const QStringList& monitors);
    /// Whether keep-awake holds the desktop's inhibitors now.
    bool keepingAwake() const { return Timer2.enabled(); }

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    friend struct test::Form2Probe;

    /// Starts or stops keep-awake: Timer2 runs exactly while the desktop's inhibitors are held.
    void setKeepAwake(bool on);
    Dialogs& dialogs();
    template <typename Handler> void runEvent(const char* name, Handler&& handler);
    /// Types a character: every character of the text in turn, as the keyboard delivers them.
    void typeText(const QString& text);
    void coverScreen();
    /// Whether the exit method counts as chosen now: the store, read afresh, or what the user was shown.
    bool chosen(settings::ExitMethod method) const;

    FormHost& m_host;
    MousePointer& m_mousePointer;
    std::unique_ptr<Ui::Form2> m_ui;

    // The window's own state, named as in its step tables.
    FormTimer Timer1{true, kTimer1IntervalMs};
    /// Keep-awake; switched only through setKeepAwake().
    FormTimer Timer2{false, kTimer2IntervalMs};
    FormTimer Timer3{false, kTimer3IntervalMs};
    /// Seconds since the screen was last activated.
    qint32 ShownSeconds = 0;
    /// The characters typed since the record was last discarded (the password method).
    QString TypedText;
    /// Timer3 ticks since the record was last discarded; a new showing does not reset it.
    qint32 TypingSeconds = 0;
    /// Set while the close request runs, so that a second one arriving meanwhile is not handled twice.
    bool m_unloading = false;
    /// The companion windows over the monitors that this window does not cover.
    std::unique_ptr<OtherMonitors> m_otherMonitors;
    /// What the options window showed when the screen was last shown.
    ShownExit m_shownExit;
    /// Ends a keep-awake that a command line limited to this showing.
    QTimer m_keepAwakeLimit;
    /// The monitors a command line chose for this showing; empty for all of them.
    QStringList m_onlyMonitors;
};

} // namespace umbralux
