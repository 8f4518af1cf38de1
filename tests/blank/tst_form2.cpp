// SPDX-License-Identifier: MIT
#include "app/controls.h"
#include "harness.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace umbralux;
using test::control;

namespace {

/// The exit-method keys as the options window stores them for a choice.
void storeMethod(test::TestStore& store, int method) {
    for (int i = 1; i <= 4; ++i)
        store.set(QStringLiteral("Option%1").arg(i), i == method ? "True" : "False");
}

enum class Input { Letter, Escape, ShiftAlone, Space, LeftClick, RightClick, MiddleClick };

void send(Form2& form2, Input input) {
    switch (input) {
    case Input::Letter:
        QTest::keyClick(&form2, Qt::Key_A);
        break;
    case Input::Escape:
        QTest::keyClick(&form2, Qt::Key_Escape);
        break;
    case Input::ShiftAlone:
        QTest::keyClick(&form2, Qt::Key_Shift, Qt::ShiftModifier);
        break;
    case Input::Space:
        QTest::keyClick(&form2, Qt::Key_Space);
        break;
    case Input::LeftClick:
        QTest::mouseClick(&form2, Qt::LeftButton);
        break;
    case Input::RightClick:
        QTest::mouseClick(&form2, Qt::RightButton);
        break;
    case Input::MiddleClick:
        QTest::mouseClick(&form2, Qt::MiddleButton);
        break;
    }
}

} // namespace

class TestForm2 : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:

    void loadDecidesKeepAwake_data();
    void loadDecidesKeepAwake();
    void emptyPasswordIsRefused();
    void hintForTheChosenMethod_data();
    void hintForTheChosenMethod();
    void showingCoversTheScreenAndClosesTheOptions();
    void unreadableColourIsReportedAtTheCallingStep();
    void hintColourFollowsTheScreen_data();
    void hintColourFollowsTheScreen();
    void pointerAndHintTicks();
    void secondShowingActivatesAfresh();
    void comingBackFromAnotherWindowIsNoNewActivation();
    void exitMethods_data();
    void exitMethods();
    void password_data();
    void password();
    void typedCharactersComeFromTheKeyboard();
    void typingTimeOut();
    void secondShowingStartsWithAnEmptyRecord();
    void closeRequestReturnsToTheOptions();
    void uncheckingKeepAwakeWaitsForTheNextLoad();
    void keepAwakeTickRunsItsStepsInOrder();

  private:
    /// Starts the program and clicks "Show Screen" with the stored choice; returns the shown blank screen.
    Form2& showScreen();
};

Form2& TestForm2::showScreen() {
    m_h->program.start();
    Form1* form1 = m_h->program.loadedForm1();
    form1->PushButton1_Click();
    test::settle();
    Form2& form2 = *m_h->program.loadedForm2();
    if (form2.isVisible()) {
        // The window system activates the shown screen; the tests wait for it as a user would.
        [[maybe_unused]] bool active = QTest::qWaitForWindowActive(&form2);
    }
    return form2;
}

void TestForm2::loadDecidesKeepAwake_data() {
    QTest::addColumn<QString>("stored"); // "<absent>" for no key
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("absent: on, and stored") << "<absent>" << true << "1";
    QTest::newRow("stored on") << "1" << true << "1";
    QTest::newRow("stored off") << "0" << false << "0";
}

void TestForm2::loadDecidesKeepAwake() {
    QFETCH(QString, stored);
    QFETCH(bool, running);
    QFETCH(QString, storedAfter);
    if (stored != "<absent>")
        m_h->store.set("Check4", stored);
    m_h->program.form1();
    Form2* form2 = m_h->program.loadedForm2();
    QCOMPARE(test::probe(*form2).Timer2().enabled(), running);
    QCOMPARE(test::probe(*form2).Timer2().interval(), Form2::kTimer2IntervalMs);
    QCOMPARE(m_h->platform.keepAwake.held, running);
    QCOMPARE(m_h->store.value("Check4"), storedAfter);
    QCOMPARE(form2->Label1()->text(), QStringLiteral("Press ESC To Exit. Type 'hide' to hide this text."));
}

void TestForm2::emptyPasswordIsRefused() {
    storeMethod(m_h->store, 4);
    m_h->program.start();
    Form1* form1 = m_h->program.loadedForm1();
    QVERIFY(QTest::qWaitForWindowActive(form1));
    form1->PushButton1_Click();
    test::settle();
    QCOMPARE(m_h->platform.dialogs.messages, QStringList{"Please set password or change Hide Options."});
    QCOMPARE(m_h->platform.dialogs.captions, QStringList{"Umbralux"});
    QCOMPARE(m_h->program.loadedForm1(), form1);
    QCOMPARE(form1->focusWidget(), control<QLineEdit>(form1, "Text1"));
    QVERIFY(!m_h->program.loadedForm2()->isVisible());
    QVERIFY(!m_h->program.ShowingBlankScreen());
}

void TestForm2::hintForTheChosenMethod_data() {
    QTest::addColumn<int>("method"); // 0: none selected
    QTest::addColumn<QString>("hint");
    QTest::newRow("any key") << 1 << "Press any key to exit";
    QTest::newRow("ESC") << 2 << "Press 'ESC' key to exit";
    QTest::newRow("mouse click") << 3 << "Click mouse to exit";
    QTest::newRow("password") << 4 << "Type password to exit";
    QTest::newRow("none selected keeps the label's text")
        << 0 << "Press ESC To Exit. Type 'hide' to hide this text.";
}

void TestForm2::hintForTheChosenMethod() {
    QFETCH(int, method);
    QFETCH(QString, hint);
    storeMethod(m_h->store, method);
    m_h->store.set("Text1", "pw");
    Form2& form2 = showScreen();
    QCOMPARE(form2.Label1()->text(), hint);
    QVERIFY(form2.isVisible());
}

void TestForm2::showingCoversTheScreenAndClosesTheOptions() {
    Form2& form2 = showScreen();
    QVERIFY(form2.isVisible());
    QVERIFY(form2.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form2.geometry(), form2.screen()->geometry());
    QVERIFY(!m_h->program.loadedForm1()); // closed, and gone
    QVERIFY(m_h->program.ShowingBlankScreen());
    QVERIFY(m_h->platform.programEnd.statuses.empty());
    QVERIFY(test::probe(form2).Timer1().isRunning());
    QCOMPARE(test::probe(form2).Timer1().interval(), BlankScreenWindow::kTimer1IntervalMs);
    QCOMPARE(form2.Label1()->width(), form2.frameGeometry().width());
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

void TestForm2::unreadableColourIsReportedAtTheCallingStep() {
    m_h->program.start();
    m_h->store.set("Background Color", "abc");
    m_h->program.loadedForm1()->PushButton1_Click();
    QCOMPARE(m_h->platform.dialogs.reports.size(), 1);
    QVERIFY(m_h->platform.dialogs.reports.first().startsWith(
        "Type mismatch\r\nin Umbrasys2021/08/31.Form1.PushButton1_Click at line 124\r\r"));
    QVERIFY(m_h->program.loadedForm2()->isVisible()); // the command went on
}

void TestForm2::hintColourFollowsTheScreen_data() {
    QTest::addColumn<QString>("color");
    QTest::addColumn<QColor>("screen");
    QTest::addColumn<QColor>("hint");
    QTest::newRow("absent: black screen, white hint") << "<absent>" << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("white screen, black hint") << "16777215" << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("red screen, white hint") << "255" << QColor(Qt::red) << QColor(Qt::white);
    QTest::newRow("blue screen") << "16711680" << QColor(Qt::blue) << QColor(Qt::white);
}

void TestForm2::hintColourFollowsTheScreen() {
    QFETCH(QString, color);
    QFETCH(QColor, screen);
    QFETCH(QColor, hint);
    if (color != "<absent>")
        m_h->store.set("Background Color", color);
    Form2& form2 = showScreen();
    QCOMPARE(controls::backColor(&form2), screen);
    QCOMPARE(controls::backColor(form2.Label1()), screen);
    QCOMPARE(controls::foreColor(form2.Label1()), hint);
}

void TestForm2::pointerAndHintTicks() {
    Form2& form2 = showScreen();
    QVERIFY(!form2.Label1()->isHidden());
    form2.Timer1_Timer();
    QCOMPARE(m_h->platform.pointerDisplay.count, -1); // hidden at the first tick
    form2.Timer1_Timer();
    form2.Timer1_Timer();
    QVERIFY(!form2.Label1()->isHidden());
    form2.Timer1_Timer();
    QVERIFY(form2.Label1()->isHidden()); // gone at the fourth
    QCOMPARE(m_h->platform.pointerDisplay.count, -1);

    // A click without the click method shows the pointer until the next tick.
    QTest::mouseClick(&form2, Qt::LeftButton);
    QCOMPARE(m_h->platform.pointerDisplay.count, 0);
    form2.Timer1_Timer();
    QCOMPARE(m_h->platform.pointerDisplay.count, -1);
}

void TestForm2::secondShowingActivatesAfresh() {
    Form2& form2 = showScreen();
    for (int tick = 0; tick <= Form2::kHintSeconds; ++tick)
        form2.Timer1_Timer();
    QVERIFY(form2.Label1()->isHidden());
    QTest::keyClick(&form2, Qt::Key_Escape);
    test::settle();
    QVERIFY(!form2.isVisible());
    QCOMPARE(m_h->platform.pointerDisplay.count, 0);

    m_h->program.loadedForm1()->PushButton1_Click();
    QVERIFY(QTest::qWaitForWindowActive(&form2));
    QCOMPARE(test::probe(form2).ShownSeconds(), 0); // the activation started the count again
    QVERIFY(!form2.Label1()->isHidden());
    form2.Timer1_Timer();
    QCOMPARE(m_h->platform.pointerDisplay.count, -1);
    QVERIFY(!form2.Label1()->isHidden()); // the hint stays for its seconds again
}

void TestForm2::comingBackFromAnotherWindowIsNoNewActivation() {
    Form2& form2 = showScreen();
    form2.Timer1_Timer();
    form2.Timer1_Timer();
    QWidget elsewhere; // stands for another program's window taking the keyboard
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    form2.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form2));
    QCOMPARE(test::probe(form2).ShownSeconds(), 2);   // not started again
    QCOMPARE(m_h->platform.pointerDisplay.count, -1); // and no deactivation showed the pointer
}

void TestForm2::exitMethods_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("dismisses");
    const QList<QPair<const char*, Input>> inputs{
        {"letter", Input::Letter},           {"ESC", Input::Escape},
        {"Shift alone", Input::ShiftAlone},  {"space", Input::Space},
        {"left click", Input::LeftClick},    {"right click", Input::RightClick},
        {"middle click", Input::MiddleClick}};
    const QList<QPair<const char*, int>> methods{{"any key", 1}, {"ESC", 2}, {"click", 3}, {"password", 4}};
    for (const auto& [methodName, method] : methods) {
        for (const auto& [inputName, input] : inputs) {
            const bool isKey =
                input != Input::LeftClick && input != Input::RightClick && input != Input::MiddleClick;
            const bool dismisses =
                (method == 1 && isKey) || (method == 2 && input == Input::Escape) || (method == 3 && !isKey);
            QTest::addRow("%s method, %s", methodName, inputName) << method << int(input) << dismisses;
        }
    }
}

void TestForm2::exitMethods() {
    QFETCH(int, method);
    QFETCH(int, input);
    QFETCH(bool, dismisses);
    storeMethod(m_h->store, method);
    m_h->store.set("Text1", "secret");
    Form2& form2 = showScreen();
    form2.Timer1_Timer(); // pointer hidden
    send(form2, Input(input));
    test::settle();
    QCOMPARE(!form2.isVisible(), dismisses);
    QCOMPARE(m_h->program.loadedForm1() != nullptr, dismisses);
    if (dismisses) {
        QVERIFY(m_h->program.loadedForm1()->isVisible());
        QVERIFY(m_h->platform.pointerDisplay.count >= 0); // the pointer is back
        QVERIFY(!m_h->program.ShowingBlankScreen());
        QVERIFY(!test::probe(form2).Timer1().enabled());
        // The options window comes back with the choice it had.
        QCOMPARE(
            control<QRadioButton>(m_h->program.loadedForm1(), qPrintable(QString("Option%1").arg(method)))
                ->isChecked(),
            true);
    }
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

void TestForm2::password_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("dismissedAfter"); // characters typed when the screen goes; 0: never
    QTest::newRow("three letters") << "abc"
                                   << "abc" << 3;
    QTest::newRow("wrong letter spoils the rest") << "abc"
                                                  << "abxabc" << 0;
    QTest::newRow("other case does not match") << "abc"
                                               << "ABC" << 0;
    QTest::newRow("empty password never matches") << ""
                                                  << "abc" << 0;
    QTest::newRow("non-ASCII password") << QString::fromUtf8("пä") << QString::fromUtf8("пä") << 2;
    QTest::newRow("backspace is a character too") << "ab"
                                                  << "ax\bab" << 0;
}

void TestForm2::password() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(int, dismissedAfter);
    storeMethod(m_h->store, 4);
    m_h->store.set("Text1", stored.isEmpty() ? "x" : stored); // "Show Screen" refuses an empty password
    Form2& form2 = showScreen();
    m_h->store.set("Text1", stored);
    for (int i = 0; i < typed.size(); ++i) {
        QVERIFY2(form2.isVisible(), qPrintable(QString("dismissed after %1 characters").arg(i)));
        form2.Form_KeyPress(typed.mid(i, 1));
    }
    test::settle();
    QCOMPARE(!form2.isVisible(), dismissedAfter == typed.size() && dismissedAfter > 0);
    if (dismissedAfter > 0)
        QVERIFY(!test::probe(form2).Timer3().enabled());
}

void TestForm2::typedCharactersComeFromTheKeyboard() {
    // Real key events: each character the key produced, control characters included; an input method's
    // committed text arrives character by character as well.
    storeMethod(m_h->store, 4);
    m_h->store.set("Text1", QString::fromUtf8("a\bÄ\r\x1bпä"));
    Form2& form2 = showScreen();
    QTest::keyClick(&form2, Qt::Key_A);
    QTest::keyClick(&form2, Qt::Key_Shift); // no character
    QTest::keyClick(&form2, Qt::Key_Backspace);
    QTest::keyClick(&form2, Qt::Key_Adiaeresis, Qt::ShiftModifier);
    QTest::keyClick(&form2, Qt::Key_Return);
    QTest::keyClick(&form2, Qt::Key_Escape);
    QCOMPARE(test::probe(form2).TypedText(), QString::fromUtf8("a\bÄ\r\x1b"));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("пä"));
    QCoreApplication::sendEvent(&form2, &commit);
    test::settle();
    QVERIFY(!form2.isVisible());
}

void TestForm2::typingTimeOut() {
    storeMethod(m_h->store, 4);
    m_h->store.set("Text1", "abc");
    Form2& form2 = showScreen();
    form2.Form_KeyPress("a");
    form2.Form_KeyPress("b");
    QVERIFY(test::probe(form2).Timer3().isRunning());
    for (int tick = 1; tick < Form2::kTypingTimeoutTicks; ++tick)
        form2.Timer3_Timer();
    QCOMPARE(test::probe(form2).TypedText(), QStringLiteral("ab")); // not yet: the 30th tick discards
    form2.Timer3_Timer();
    QCOMPARE(test::probe(form2).TypedText(), QString());
    QVERIFY(!test::probe(form2).Timer3().enabled());
    QCOMPARE(test::probe(form2).TypingSeconds(), 0);
    form2.Form_KeyPress("c");
    QVERIFY(form2.isVisible()); // "c" alone is no match
    test::probe(form2).Timer3().setEnabled(false);
    for (int tick = 0; tick < Form2::kTypingTimeoutTicks; ++tick)
        form2.Timer3_Timer();
    for (const char* c : {"a", "b", "c"})
        form2.Form_KeyPress(c);
    QVERIFY(!form2.isVisible());
}

void TestForm2::secondShowingStartsWithAnEmptyRecord() {
    storeMethod(m_h->store, 4);
    m_h->store.set("Text1", "ab");
    Form2& form2 = showScreen();
    form2.Timer3_Timer();
    form2.Timer3_Timer();
    form2.Form_KeyPress("a");
    form2.Form_KeyPress("b");
    QVERIFY(!form2.isVisible());
    QCOMPARE(test::probe(form2).TypingSeconds(), 2); // left as it stood

    m_h->program.loadedForm1()->PushButton1_Click();
    test::settle();
    QVERIFY(form2.isVisible());
    QCOMPARE(test::probe(form2).TypedText(), QString());
    QCOMPARE(test::probe(form2).TypingSeconds(), 2);
    form2.Form_KeyPress("a");
    form2.Form_KeyPress("b");
    QVERIFY(!form2.isVisible());
}

void TestForm2::closeRequestReturnsToTheOptions() {
    storeMethod(m_h->store, 2);
    Form2* form2 = &showScreen();
    form2->Timer1_Timer();
    QCOMPARE(m_h->platform.pointerDisplay.count, -1);
    QVERIFY(form2->close());
    test::settle();
    QVERIFY(!m_h->program.loadedForm2()); // unloaded
    QVERIFY(m_h->platform.pointerDisplay.count >= 0);
    QVERIFY(m_h->program.loadedForm1() && m_h->program.loadedForm1()->isVisible());
    QVERIFY(!m_h->platform.keepAwake.held); // keep-awake went with the window
    QVERIFY(m_h->platform.programEnd.statuses.empty());

    // The next "Show Screen" loads it again, and keep-awake is decided anew.
    m_h->program.loadedForm1()->PushButton1_Click();
    test::settle();
    QVERIFY(m_h->program.loadedForm2() && m_h->program.loadedForm2()->isVisible());
    QVERIFY(m_h->platform.keepAwake.held);
}

void TestForm2::uncheckingKeepAwakeWaitsForTheNextLoad() {
    m_h->program.start();
    Form1* form1 = m_h->program.loadedForm1();
    control<QCheckBox>(form1, "Check4")->setCheckState(Qt::Unchecked);
    QCOMPARE(m_h->store.value("Check4"), QStringLiteral("0"));
    form1->PushButton1_Click();
    test::settle();
    QVERIFY(test::probe(*m_h->program.loadedForm2())
                .Timer2()
                .enabled()); // still running: the window stayed loaded
    QVERIFY(m_h->program.loadedForm2()->close());
    test::settle();
    m_h->program.loadedForm1()->PushButton1_Click();
    QVERIFY(!test::probe(*m_h->program.loadedForm2()).Timer2().enabled());
    QVERIFY(!m_h->platform.keepAwake.held);
}

void TestForm2::keepAwakeTickRunsItsStepsInOrder() {
    constexpr int kShortTickMs = 10;
    test::probe(m_h->program.form2()).Timer2().setInterval(kShortTickMs);
    QTRY_VERIFY(m_h->platform.keepAwake.log.size() >= 7);
    QCOMPARE(m_h->platform.keepAwake.log.mid(0, 7), (QStringList{"hold", "activity", "end activity", "system",
                                                                 "activity", "end activity", "system"}));
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
