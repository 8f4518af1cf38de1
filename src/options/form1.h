// SPDX-License-Identifier: MIT
#pragma once

#include "app/colorref.h"
#include "app/formhost.h"

#include <QCursor>
#include <QWidget>
#include <array>
#include <memory>

class QRadioButton;

namespace Ui {
class Form1;
}

namespace umbralux {

class Dialogs;

/// The options window: the program's start-up and main window. Every choice made here is written to the
/// settings store at once.
class Form1 final : public QWidget, public OptionsWindow {
    Q_OBJECT
  public:
    explicit Form1(FormHost& host);
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
    /// "Change Color": the colour dialog, starting at the swatch's colour; the swatch and the store take
    /// its answer (a cancel stores the unchanged colour again).
    void PushButton2_Click();
    /// A click on the swatch: the same as "Change Color".
    void Label1_Click();
    /// "Reset Color To Default": black, in the store first and then on the swatch.
    void PushButton3_Click();

    /// Pointer settings of the window: the default arrow, the busy pointer and the custom image (the hand).
    static constexpr int kDefaultPointer = 0;
    static constexpr int kBusyPointer = 11;
    static constexpr int kCustomPointer = 99;
    int MousePointer() const { return m_mousePointer; }
    /// Selects the pointer shown over the window and its controls.
    void setMousePointer(int setting);
    /// The custom pointer image, when the pointer file was loaded.
    const QCursor* MouseIcon() const { return m_hasCustomPointer ? &m_customPointer : nullptr; }

    // The pointer moves over the window background, a frame or a push button: the hand over a button,
    // the arrow elsewhere, and a busy pointer is left alone.
    void Form_MouseMove();
    void Frame1_MouseMove();
    void Frame2_MouseMove();
    void Frame3_MouseMove();
    void PushButton1_MouseMove();
    void PushButton2_MouseMove();
    void PushButton3_MouseMove();
    /// The closing rule: ends the program unless the window closes for the blank screen.
    void Form_QueryUnload();

    qint16 Check4Value() const override;
    void setCheck4Value(qint16 value) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// An exit-method button with its click handler.
    struct OptionButton {
        QRadioButton* button;
        const char* handlerName;
        void (Form1::*handler)();
    };
    std::array<OptionButton, 4> optionButtons() const;
    void raiseClick(const OptionButton& option);
    void connectHandlers();
    /// Runs a handler that has no report of its own, as a window event.
    template <typename Handler> void runEvent(const char* name, Handler&& handler);
    /// Assigns a value to an option button as the platform's own controls behave: true selects it and runs
    /// its click handler even when it was selected already; false clears it and runs nothing.
    void assignOption(QRadioButton* button, bool value);
    void storeExitMethod();
    /// The exit method the window shows selected, with the password box's text.
    ShownExit shownExit() const;
    /// Puts the window, its frame included, in the middle of its screen's available area; while the window
    /// has no frame yet, the window itself.
    void centreOnScreen();
    void setCaptionIconAndTitle();
    void openHomePageOnceInAHundred();
    void loadHandPointer(const QString& file);
    /// The one body of the seven pointer handlers.
    void pointerMovedOver(int setting);

    Dialogs& dialogs();

    FormHost& m_host;
    std::unique_ptr<Ui::Form1> m_ui;
    /// The hand pointer shown over the push buttons, when its file was found.
    QCursor m_customPointer;
    bool m_hasCustomPointer = false;
    int m_mousePointer = kDefaultPointer;
    /// Shown but not yet on the screen: centred without the frame a window manager may add, which is not
    /// known before.
    bool m_centreWhenFramed = false;
    /// The colour dialog's colour property, as a colour reference.
    qint32 m_dialogColor = kBlack;
};

} // namespace umbralux
