// SPDX-License-Identifier: MIT
#include "app/controls.h"
#include "harness.h"
#include "options/apptitle.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

using namespace umbralux;
using test::control;

namespace {

const QStringList kOptionKeys{"Option1", "Option2", "Option3", "Option4"};

QString selectedOption(QWidget* form1) {
    QString selected;
    for (const QString& key : kOptionKeys) {
        if (control<QRadioButton>(form1, key.toLatin1().constData())->isChecked())
            selected += key;
    }
    return selected;
}

QColor swatch(QWidget* form1) {
    return controls::backColor(control<QLabel>(form1, "Label1"));
}

} // namespace

class TestForm1 : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:

    void firstStartFromAnEmptyStore();
    void storedChoiceIsRestoredAndStoreUnchanged_data();
    void storedChoiceIsRestoredAndStoreUnchanged();
    void unreadableStoredValues_data();
    void unreadableStoredValues();
    void failedSavesAreReportedOncePerHandler_data();
    void failedSavesAreReportedOncePerHandler();
    void selectingAnExitMethodRewritesAllFourKeys();
    void everyChangeOfThePasswordIsStored();
    void keepAwakeBoxIsStored();
    void homePageOnceInAHundred_data();
    void homePageOnceInAHundred();
    void layoutAsDesigned();
    void closingAndShowingReloadsFromDesign();
    void closingEndsTheProgram();
    void onlyTheHiddenFieldsCaretStopsBlinking();
};

void TestForm1::firstStartFromAnEmptyStore() {
    Form1& form1 = m_h->program.form1();
    QCOMPARE(selectedOption(&form1), QStringLiteral("Option2"));
    QCOMPARE(control<QLineEdit>(&form1, "Text1")->text(), QString());
    QCOMPARE(control<QCheckBox>(&form1, "Check4")->checkState(), Qt::Checked);
    QCOMPARE(swatch(&form1), QColor(Qt::black));
    QCOMPARE(form1.windowTitle(), QStringLiteral("Umbralux Software"));
    QCOMPARE(appTitle(), QStringLiteral("Umbralux"));
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());

    const QMap<QString, QString> expected{{"Option1", "False"}, {"Option2", "True"}, {"Option3", "False"},
                                          {"Option4", "False"}, {"Text1", ""},       {"Check4", "1"}};
    QCOMPARE(m_h->stored(), expected);

    // The blank screen was loaded hidden on the way, with keep-awake on and its one-second timer stopped.
    Form2* form2 = m_h->program.loadedForm2();
    QVERIFY(form2);
    QVERIFY(!form2->isVisible());
    QVERIFY(test::probe(*form2).Timer2().enabled());
    QVERIFY(m_h->platform.keepAwake.held);
    QVERIFY(!test::probe(*form2).Timer1().enabled());
    QCOMPARE(test::probe(*form2).Timer1().interval(), 0);
    QVERIFY(!m_h->program.ShowingBlankScreen());
}

void TestForm1::storedChoiceIsRestoredAndStoreUnchanged_data() {
    QTest::addColumn<QStringList>("options"); // stored texts of Option1..Option4
    QTest::addColumn<QString>("selected");
    QTest::newRow("mouse click") << QStringList{"False", "False", "True", "False"} << "Option3";
    QTest::newRow("any key") << QStringList{"True", "False", "False", "False"} << "Option1";
    QTest::newRow("password") << QStringList{"False", "False", "False", "True"} << "Option4";
    QTest::newRow("ESC") << QStringList{"False", "True", "False", "False"} << "Option2";
}

void TestForm1::storedChoiceIsRestoredAndStoreUnchanged() {
    QFETCH(QStringList, options);
    QFETCH(QString, selected);
    for (int i = 0; i < 4; ++i)
        m_h->store.set(kOptionKeys.at(i), options.at(i));
    m_h->store.set("Text1", "  pass word ");
    m_h->store.set("Check4", "0");
    m_h->store.set("Background Color", "255");
    const auto before = m_h->stored();

    Form1& form1 = m_h->program.form1();
    QCOMPARE(selectedOption(&form1), selected);
    QCOMPARE(control<QLineEdit>(&form1, "Text1")->text(), QStringLiteral("  pass word "));
    QCOMPARE(control<QCheckBox>(&form1, "Check4")->checkState(), Qt::Unchecked);
    QCOMPARE(swatch(&form1), QColor(Qt::red));
    QCOMPARE(m_h->stored(), before);
    QVERIFY(!test::probe(*m_h->program.loadedForm2()).Timer2().enabled());
    QVERIFY(!m_h->platform.keepAwake.held);
}

void TestForm1::unreadableStoredValues_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("reportedAt");
    QTest::addColumn<bool>("keptInStore");
    QTest::newRow("colour not a number") << "Background Color"
                                         << "abc" << QStringList{"Form1.Form_Load at line 128"} << true;
    QTest::newRow("colour beyond 32 bits")
        << "Background Color"
        << "4294967296" << QStringList{"Form1.Form_Load at line 128"} << true;
    // The handler of the ESC button (step 132) rewrites all four option keys before the later steps read
    // them.
    QTest::newRow("option not a boolean") << "Option1"
                                          << "maybe" << QStringList{"Form1.Form_Load at line 130"} << false;
    QTest::newRow("later option is rewritten before it is read") << "Option3"
                                                                 << "maybe" << QStringList{} << false;
    QTest::newRow("keep-awake state out of range")
        << "Check4"
        << "7" << QStringList{"Form2.Form_Load at line 108", "Form1.Form_Load at line 146"} << true;
}

void TestForm1::unreadableStoredValues() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QStringList, reportedAt);
    QFETCH(bool, keptInStore);
    m_h->store.set(key, text);
    Form1& form1 = m_h->program.form1();

    const QStringList& reports = m_h->platform.dialogs.reports;
    QCOMPARE(reports.size(), reportedAt.size());
    for (int i = 0; i < reports.size(); ++i)
        QVERIFY2(reports.at(i).contains("in Umbrasys2021/08/31." + reportedAt.at(i) + "\r\r"),
                 qPrintable(reports.at(i)));
    // Everything else still loads and the window can be shown.
    QCOMPARE(selectedOption(&form1), QStringLiteral("Option2"));
    QCOMPARE(form1.windowTitle(), QStringLiteral("Umbralux Software"));
    QVERIFY(m_h->program.loadedForm2());
    if (keptInStore)
        QCOMPARE(m_h->store.value(key), text); // a value that cannot be read is left in the store as it was
}

void TestForm1::selectingAnExitMethodRewritesAllFourKeys() {
    Form1& form1 = m_h->program.form1();
    QTest::mouseClick(control<QRadioButton>(&form1, "Option3"), Qt::LeftButton);
    QCOMPARE(m_h->store.value("Option1"), QStringLiteral("False"));
    QCOMPARE(m_h->store.value("Option2"), QStringLiteral("False"));
    QCOMPARE(m_h->store.value("Option3"), QStringLiteral("True"));
    QCOMPARE(m_h->store.value("Option4"), QStringLiteral("False"));

    // A later start restores exactly that choice.
    m_h->program.setShowingBlankScreen(true);
    form1.close();
    test::settle();
    QCOMPARE(selectedOption(&m_h->program.form1()), QStringLiteral("Option3"));
}

void TestForm1::failedSavesAreReportedOncePerHandler_data() {
    QTest::addColumn<QString>("action"); // done twice after a start whose saves failed as well
    QTest::addColumn<QStringList>("reportedAt");
    QTest::newRow("the start") << "" << QStringList{};
    QTest::newRow("an exit method") << "Option1" << QStringList{"Form1.Option1_Click"};
    QTest::newRow("the ESC method again, reported at the start") << "Option2" << QStringList{};
    QTest::newRow("typing the password") << "Text1" << QStringList{};
    QTest::newRow("the keep-awake box") << "Check4" << QStringList{};
    QTest::newRow("resetting the colour")
        << "PushButton3" << QStringList{"Form1.PushButton3_Click at line 100"};
    QTest::newRow("changing the colour")
        << "PushButton2" << QStringList{"Form1.PushButton2_Click at line 106"};
}

void TestForm1::failedSavesAreReportedOncePerHandler() {
    QFETCH(QString, action);
    QFETCH(QStringList, reportedAt);
    m_h->store.failure = QStringLiteral("Disk full");
    Form1& form1 = m_h->program.form1();
    QStringList& reports = m_h->platform.dialogs.reports;
    const auto reportedPlaces = [&] {
        QStringList places;
        static const QRegularExpression place(QStringLiteral(
            "^The settings cannot be saved to .*: Disk full\r\nin Umbrasys2021/08/31[.](.*?) ?\r\r"));
        for (const QString& report : reports) {
            const QRegularExpressionMatch match = place.match(report);
            places << (match.hasMatch() ? match.captured(1) : report);
        }
        return places;
    };
    // Each handler that saved at the start reported its own failure, once.
    QCOMPARE(reportedPlaces(),
             (QStringList{"Form1.Option2_Click", "Form1.Check4_Click", "Form1.Text1_Change"}));
    reports.clear();

    m_h->platform.colourPicker.answer = test::ScriptedColourPicker::Answer::Cancel;
    for (int i = 0; i < 2; ++i) {
        if (action.startsWith("Option"))
            control<QRadioButton>(&form1, action.toLatin1().constData())->click();
        else if (action == "Text1")
            QTest::keyClicks(control<QLineEdit>(&form1, "Text1"), "ab");
        else if (action == "Check4")
            control<QCheckBox>(&form1, "Check4")->click();
        else if (action == "PushButton3")
            form1.PushButton3_Click();
        else if (action == "PushButton2")
            form1.PushButton2_Click();
    }
    QCOMPARE(reportedPlaces(), reportedAt);
}

void TestForm1::everyChangeOfThePasswordIsStored() {
    Form1& form1 = m_h->program.form1();
    auto* text1 = control<QLineEdit>(&form1, "Text1");
    QStringList storedAfterEachChange;
    connect(text1, &QLineEdit::textChanged, this,
            [&] { storedAfterEachChange << m_h->store.value("Text1"); });
    text1->setFocus();
    QTest::keyClicks(text1, "abc");
    QCOMPARE(storedAfterEachChange, (QStringList{"a", "ab", "abc"}));
    text1->clear();
    QCOMPARE(m_h->store.value("Text1"), QString(""));
    QVERIFY(!m_h->store.value("Text1").isNull()); // present, and empty
}

void TestForm1::keepAwakeBoxIsStored() {
    Form1& form1 = m_h->program.form1();
    auto* check4 = control<QCheckBox>(&form1, "Check4");
    QTest::mouseClick(check4, Qt::LeftButton);
    QCOMPARE(m_h->store.value("Check4"), QStringLiteral("0"));
    QTest::mouseClick(check4, Qt::LeftButton);
    QCOMPARE(m_h->store.value("Check4"), QStringLiteral("1"));
}

void TestForm1::homePageOnceInAHundred_data() {
    QTest::addColumn<double>("draw");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("openerFails");
    QTest::newRow("draw gives 7") << 0.06 << true << false;
    QTest::newRow("just below 7") << 0.0599 << false << false;
    QTest::newRow("just above 7") << 0.07 << false << false;
    QTest::newRow("lowest draw gives 1") << 0.0 << false << false;
    QTest::newRow("highest draw gives 100") << 0.9999 << false << false;
    QTest::newRow("browser cannot be started") << 0.065 << true << true;
}

void TestForm1::homePageOnceInAHundred() {
    QFETCH(double, draw);
    QFETCH(bool, opens);
    QFETCH(bool, openerFails);
    m_h->platform.random.value = draw;
    m_h->platform.pageOpener.fail = openerFails;
    Form1& form1 = m_h->program.form1();
    QCOMPARE(m_h->platform.pageOpener.opened.size(), opens ? 1 : 0);
    if (opens)
        QVERIFY(m_h->platform.pageOpener.opened.first().startsWith("https://"));
    QCOMPARE(m_h->platform.dialogs.reports.size(), openerFails ? 1 : 0);
    if (openerFails)
        QVERIFY(m_h->platform.dialogs.reports.first().contains("Form1.Form_Load at line 108\r\r"));
    QCOMPARE(control<QCheckBox>(&form1, "Check4")->checkState(), Qt::Checked); // the load went on
}

void TestForm1::layoutAsDesigned() {
    Form1& form1 = m_h->program.form1();
    // Twips at 15 per pixel.
    QCOMPARE(form1.size(), QSize(536, 287));
    QCOMPARE(form1.minimumSize(), form1.maximumSize());
    QVERIFY(!(form1.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form1.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(control<QPushButton>(&form1, "PushButton1")->geometry(), QRect(8, 8, 520, 27));
    QCOMPARE(control<QPushButton>(&form1, "PushButton3")->geometry(), QRect(8, 76, 408, 27));
    QCOMPARE(control<QGroupBox>(&form1, "Frame2")->geometry(), QRect(8, 107, 520, 122));
    QCOMPARE(control<QLineEdit>(&form1, "Text1")->geometry(), QRect(184, 87, 137, 23));
    QCOMPARE(control<QGroupBox>(&form1, "Frame2")->title(), QStringLiteral("Hide Options"));
    QCOMPARE(control<QPushButton>(&form1, "PushButton1")->font().pointSizeF(), 11.25);
    QVERIFY(control<QPushButton>(&form1, "PushButton1")->font().bold());
    QCOMPARE(controls::backColor(control<QGroupBox>(&form1, "Frame1")), QColor(Qt::white));

    // The invisible text box below the client area takes the focus; Tab goes on to "Show Screen".
    auto* text2 = control<QLineEdit>(&form1, "Text2");
    QVERIFY(text2->geometry().top() >= form1.height());
    m_h->program.showOptionsWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form1));
    QCOMPARE(form1.focusWidget(), text2);
    QTest::keyClick(&form1, Qt::Key_Tab);
    QCOMPARE(form1.focusWidget(), control<QPushButton>(&form1, "PushButton1"));
}

void TestForm1::closingAndShowingReloadsFromDesign() {
    Form1* first = &m_h->program.form1();
    Form2* form2 = m_h->program.loadedForm2();
    const qint64 buttonPalette = control<QPushButton>(first, "PushButton1")->palette().cacheKey();
    m_h->program.setShowingBlankScreen(true);
    first->close();
    test::settle();
    QVERIFY(!m_h->program.loadedForm1());
    QVERIFY(m_h->program.ShowingBlankScreen()); // the window's own flag outlives it
    QVERIFY(m_h->platform.programEnd.statuses.empty());

    m_h->store.set("Text1", "changed meanwhile");
    Form1& second = m_h->program.form1();
    QCOMPARE(control<QLineEdit>(&second, "Text1")->text(), QStringLiteral("changed meanwhile"));
    QCOMPARE(m_h->program.loadedForm2(), form2); // the blank screen stayed loaded: not loaded again
    // The same white, from the same palette: what the style cached of the first window's drawing serves.
    QCOMPARE(controls::backColor(control<QGroupBox>(&second, "Frame2")), QColor(Qt::white));
    QCOMPARE(control<QPushButton>(&second, "PushButton1")->palette().cacheKey(), buttonPalette);
    QVERIFY(!m_h->program.ShowingBlankScreen());
}

void TestForm1::closingEndsTheProgram() {
    m_h->program.showOptionsWindow();
    m_h->program.loadedForm1()->close();
    QCOMPARE(m_h->platform.programEnd.statuses, std::vector<int>{0});
}

void TestForm1::onlyTheHiddenFieldsCaretStopsBlinking() {
    QStyleHints* hints = QGuiApplication::styleHints();
    const int blink = hints->cursorFlashTime();
    QVERIFY(blink > 0);
    Form1& form1 = m_h->program.form1();
    form1.Show();
    QVERIFY(QTest::qWaitForWindowActive(&form1));
    auto* hidden = control<QLineEdit>(&form1, "Text2");
    QCOMPARE(QApplication::focusWidget(), hidden); // the focus stays where the design puts it
    QCOMPARE(hints->cursorFlashTime(), 0);
    control<QLineEdit>(&form1, "Text1")->setFocus();
    QCOMPARE(hints->cursorFlashTime(), blink); // the password box blinks as usual
    hidden->setFocus();
    QCOMPARE(hints->cursorFlashTime(), 0);
    m_h->program.setShowingBlankScreen(true);
    form1.close();
    test::settle();
    QCOMPARE(hints->cursorFlashTime(), blink); // and so does every window after it
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
