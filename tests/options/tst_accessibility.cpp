// SPDX-License-Identifier: MIT
#include "app/accessibility.h"
#include "harness.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace umbralux;
using test::control;

namespace {

const QStringList kOptionKeys{"Option1", "Option2", "Option3", "Option4"};

} // namespace

class TestAccessibility : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { installAccessibleInterfaces(); }

    void namesAndRoles_data();
    void namesAndRoles();
    void passwordIsNeverReadOut();
    void swatchTellsItsColour();
    void tabReachesTheSelectedMethodOnly_data();
    void tabReachesTheSelectedMethodOnly();
    void arrowKeysMoveWithinTheGroup_data();
    void arrowKeysMoveWithinTheGroup();

  private:
    Form1& shownForm1() {
        m_h->program.start();
        Form1& form1 = *m_h->program.loadedForm1();
        [&] { QVERIFY(QTest::qWaitForWindowActive(&form1)); }();
        return form1;
    }
    void storeMethod(int selected) {
        for (int i = 0; i < kOptionKeys.size(); ++i)
            m_h->store.set(kOptionKeys.at(i), i + 1 == selected ? "True" : "False");
    }
};

void TestAccessibility::namesAndRoles_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::newRow("options window") << "Form1"
                                    << "Umbralux Software" << QAccessible::Window;
    QTest::newRow("password box") << "Text1"
                                  << "Password" << QAccessible::EditableText;
    QTest::newRow("swatch") << "Label1"
                            << "Screen colour" << QAccessible::StaticText;
    QTest::newRow("push button") << "PushButton1"
                                 << "Show Screen" << QAccessible::Button;
    QTest::newRow("exit method") << "Option4"
                                 << "Show on this password:" << QAccessible::RadioButton;
    QTest::newRow("keep-awake") << "Check4"
                                << "Prevent computer from sleeping or starting screensaver"
                                << QAccessible::CheckBox;
    QTest::newRow("frame") << "Frame2"
                           << "Hide Options" << QAccessible::Grouping;
}

void TestAccessibility::namesAndRoles() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    Form1& form1 = m_h->program.form1();
    QWidget* widget = control == "Form1" ? &form1 : form1.findChild<QWidget*>(control);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->role(), role);
    QCOMPARE(iface->state().passwordEdit, control == "Text1");
}

void TestAccessibility::passwordIsNeverReadOut() {
    m_h->store.set("Text1", "secret");
    Form1& form1 = m_h->program.form1();
    auto* box = control<QLineEdit>(&form1, "Text1");
    QCOMPARE(box->text(), QStringLiteral("secret")); // shown as typed
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(iface->text(QAccessible::Value), QString(6, QChar(0x25CF)));
    QVERIFY(!iface->textInterface()); // through which the bridge would pass on every typed character
    QVERIFY(iface->state().editable);
}

void TestAccessibility::swatchTellsItsColour() {
    m_h->store.set("Background Color", "255");
    Form1& form1 = m_h->program.form1();
    QAccessibleInterface* swatch = QAccessible::queryAccessibleInterface(form1.findChild<QWidget*>("Label1"));
    QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("red (#ff0000)"));
    form1.PushButton3_Click();
    QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("black (#000000)"));
}

void TestAccessibility::tabReachesTheSelectedMethodOnly_data() {
    QTest::addColumn<int>("selected");
    for (int method = 1; method <= 4; ++method)
        QTest::addRow("Option%d", method) << method;
}

void TestAccessibility::tabReachesTheSelectedMethodOnly() {
    QFETCH(int, selected);
    storeMethod(selected);
    Form1& form1 = shownForm1();
    const auto before = m_h->stored();
    auto* option = control<QWidget>(&form1, qPrintable(kOptionKeys.at(selected - 1)));

    control<QWidget>(&form1, "PushButton3")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), option);
    QTest::keyClick(option, Qt::Key_Space); // the selected button stays selected
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(&form1, "Text1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), option);
    QCOMPARE(m_h->stored(), before); // moving through the window chose nothing
}

void TestAccessibility::arrowKeysMoveWithinTheGroup_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("down from ESC") << 2 << int(Qt::Key_Down) << 1;
    QTest::newRow("down from any key") << 1 << int(Qt::Key_Down) << 3;
    QTest::newRow("up from password") << 4 << int(Qt::Key_Up) << 3;
    QTest::newRow("up from the first stays") << 2 << int(Qt::Key_Up) << 2;
}

void TestAccessibility::arrowKeysMoveWithinTheGroup() {
    QFETCH(int, selected);
    QFETCH(int, key);
    QFETCH(int, expected);
    storeMethod(selected);
    Form1& form1 = shownForm1();
    auto* start = control<QRadioButton>(&form1, qPrintable(kOptionKeys.at(selected - 1)));
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key(key));
    const QString expectedKey = kOptionKeys.at(expected - 1);
    QCOMPARE(QApplication::focusWidget()->objectName(), expectedKey);
    QVERIFY(control<QRadioButton>(&form1, qPrintable(expectedKey))->isChecked());
    for (const QString& optionKey : kOptionKeys) // the user's choice is stored at once
        QCOMPARE(m_h->store.value(optionKey), QString(optionKey == expectedKey ? "True" : "False"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
