// SPDX-License-Identifier: MIT
#include "app/controls.h"
#include "blank/companionwindow.h"
#include "harness.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

using namespace umbralux;

/// Rectangles in reading order, to key the companions by geometry.
inline bool operator<(const QRect& a, const QRect& b) {
    return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
}

namespace {

/// The companions that are up, by geometry.
QMap<QRect, CompanionWindow*> shownCompanions() {
    QMap<QRect, CompanionWindow*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* companion = qobject_cast<CompanionWindow*>(window); companion && companion->isVisible())
            shown.insert(companion->geometry(), companion);
    }
    return shown;
}

enum class Input { Escape, Letter, ShiftAlone, Click, Password, CloseRequest };

} // namespace

/// Runs on three offscreen monitors (see three-monitors.json); the pointer is on the second one, so the
/// blank screen takes that one and companions the first and the third.
class TestOtherMonitors : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void everyOtherMonitorIsCoveredInTheColour();
    void inputOnACompanionCountsForTheBlankScreen_data();
    void inputOnACompanionCountsForTheBlankScreen();
    void aCompanionFollowsItsMonitor();

  private:
    Form2& showScreen(int method);
    QScreen* monitor(int index) const { return QGuiApplication::screens().at(index); }
};

Form2& TestOtherMonitors::showScreen(int method) {
    for (int i = 1; i <= 4; ++i)
        m_h->store.set(QStringLiteral("Option%1").arg(i), i == method ? "True" : "False");
    m_h->store.set("Text1", "pw");
    QCursor::setPos(monitor(1)->geometry().center());
    m_h->program.start();
    m_h->program.loadedForm1()->PushButton1_Click();
    test::settle();
    return *m_h->program.loadedForm2();
}

void TestOtherMonitors::everyOtherMonitorIsCoveredInTheColour() {
    m_h->store.set("Background Color", "255");
    Form2& form2 = showScreen(2);
    QCOMPARE(form2.geometry(), monitor(1)->geometry());
    QCOMPARE(shownCompanions().keys(), (QList<QRect>{monitor(0)->geometry(), monitor(2)->geometry()}));
    for (CompanionWindow* companion : shownCompanions()) {
        QVERIFY(companion->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(controls::backColor(companion), QColor(Qt::red));
    }
    // They go with the blank screen, and the next showing takes the colour stored by then.
    QTest::keyClick(&form2, Qt::Key_Escape);
    test::settle();
    QVERIFY(shownCompanions().isEmpty());
    m_h->store.set("Background Color", "16711680");
    m_h->program.loadedForm1()->PushButton1_Click();
    QCOMPARE(shownCompanions().size(), 2);
    for (CompanionWindow* companion : shownCompanions())
        QCOMPARE(controls::backColor(companion), QColor(Qt::blue));
}

void TestOtherMonitors::inputOnACompanionCountsForTheBlankScreen_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("dismisses");
    QTest::newRow("ESC method, ESC") << 2 << int(Input::Escape) << true;
    QTest::newRow("ESC method, a letter") << 2 << int(Input::Letter) << false;
    QTest::newRow("ESC method, a click only shows the pointer") << 2 << int(Input::Click) << false;
    QTest::newRow("any key, Shift alone") << 1 << int(Input::ShiftAlone) << true;
    QTest::newRow("click method, a click") << 3 << int(Input::Click) << true;
    QTest::newRow("password, typed there") << 4 << int(Input::Password) << true;
    QTest::newRow("click method, a close request") << 3 << int(Input::CloseRequest) << true;
}

void TestOtherMonitors::inputOnACompanionCountsForTheBlankScreen() {
    QFETCH(int, method);
    QFETCH(int, input);
    QFETCH(bool, dismisses);
    Form2* form2 = &showScreen(method);
    form2->Timer1_Timer(); // pointer hidden
    CompanionWindow* companion = shownCompanions().value(monitor(2)->geometry());
    QVERIFY(companion);
    switch (Input(input)) {
    case Input::Escape:
        QTest::keyClick(companion, Qt::Key_Escape);
        break;
    case Input::Letter:
        QTest::keyClick(companion, Qt::Key_A);
        break;
    case Input::ShiftAlone:
        QTest::keyClick(companion, Qt::Key_Shift, Qt::ShiftModifier);
        break;
    case Input::Click:
        QTest::mouseClick(companion, Qt::LeftButton);
        break;
    case Input::Password:
        QTest::keyClicks(companion, "pw");
        break;
    case Input::CloseRequest:
        QVERIFY(!companion->close()); // refused for itself: the blank screen's closing rule decides
        break;
    }
    test::settle();
    QCOMPARE(shownCompanions().isEmpty(), dismisses);
    QCOMPARE(m_h->program.loadedForm1() && m_h->program.loadedForm1()->isVisible(), dismisses);
    QCOMPARE(m_h->platform.pointerDisplay.count >= 0, dismisses || Input(input) == Input::Click);
    if (Input(input) == Input::CloseRequest)
        QVERIFY(!m_h->program.loadedForm2()); // unloaded, as by its own close request
    else
        QCOMPARE(form2->isVisible(), !dismisses);
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

void TestOtherMonitors::aCompanionFollowsItsMonitor() {
    showScreen(2);
    const QRect before = monitor(2)->geometry();
    const QRect after(before.topLeft(), QSize(1280, 720));
    QWindowSystemInterface::handleScreenGeometryChange(monitor(2), after, after);
    QTRY_COMPARE(shownCompanions().keys(), (QList<QRect>{monitor(0)->geometry(), after}));
    QWindowSystemInterface::handleScreenGeometryChange(monitor(2), before, before);
}

QTEST_MAIN(TestOtherMonitors)
#include "tst_othermonitors.moc"
