#include "app/controls.h"
#include "blank/companionwindow.h"
#include "harness.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

using namespace umbralux;

namespace {

QList<CompanionWindow*> shownCompanions() {
    QList<CompanionWindow*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* companion = qobject_cast<CompanionWindow*>(window); companion && companion->isVisible())
            shown << companion;
    }
    return shown;
}

enum class Input { Escape, Letter, ShiftAlone, Click, Password, CloseRequest };

} // namespace

/// Runs on three offscreen monitors: the blank screen takes the one under the pointer, companions the rest.
class TestOtherMonitors : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void everyOtherMonitorIsCovered_data();
    void everyOtherMonitorIsCovered();
    void inputOnACompanionCountsForTheBlankScreen_data();
    void inputOnACompanionCountsForTheBlankScreen();
    void aCompanionFollowsItsMonitor();

  private:
    Form2& showScreen(int method);
};

Form2& TestOtherMonitors::showScreen(int method) {
    for (int i = 1; i <= 4; ++i)
        m_h->store.set(QStringLiteral("Option%1").arg(i), i == method ? "True" : "False");
    m_h->store.set("Text1", "pw");
    m_h->program.start();
    m_h->program.loadedForm1()->PushButton1_Click();
    test::settle();
    return *m_h->program.loadedForm2();
}

void TestOtherMonitors::everyOtherMonitorIsCovered_data() {
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("pointer on the first, red") << QPoint(10, 10) << "255" << QColor(Qt::red);
    QTest::newRow("pointer on the second, white") << QPoint(1000, 500) << "16777215" << QColor(Qt::white);
    QTest::newRow("pointer on the third, black") << QPoint(100, 1000) << "<absent>" << QColor(Qt::black);
}

void TestOtherMonitors::everyOtherMonitorIsCovered() {
    QFETCH(QPoint, pointer);
    QFETCH(QString, colour);
    QFETCH(QColor, shown);
    QCOMPARE(QGuiApplication::screens().size(), 3);
    if (colour != "<absent>")
        m_h->store.set("Background Color", colour);
    QCursor::setPos(pointer);
    Form2& form2 = showScreen(2);

    QList<QRect> covered{form2.geometry()};
    for (CompanionWindow* companion : shownCompanions()) {
        QVERIFY(companion->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(controls::backColor(companion), shown);
        covered << companion->geometry();
    }
    QCOMPARE(covered.first(), QGuiApplication::screenAt(pointer)->geometry());
    QList<QRect> monitors;
    for (QScreen* screen : QGuiApplication::screens())
        monitors << screen->geometry();
    const auto byPosition = [](QRect a, QRect b) {
        return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
    };
    std::sort(covered.begin(), covered.end(), byPosition);
    std::sort(monitors.begin(), monitors.end(), byPosition);
    QCOMPARE(covered, monitors);

    // They go with the blank screen, and the next showing takes the colour stored by then.
    QTest::keyClick(&form2, Qt::Key_Escape);
    test::settle();
    QVERIFY(shownCompanions().isEmpty());
    m_h->store.set("Background Color", "16711680");
    m_h->program.loadedForm1()->PushButton1_Click();
    test::settle();
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
    QCursor::setPos(10, 10);
    Form2* form2 = &showScreen(method);
    form2->Timer1_Timer(); // pointer hidden
    QCOMPARE(shownCompanions().size(), 2);
    CompanionWindow* companion = shownCompanions().last();
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
    QCursor::setPos(10, 10);
    showScreen(2);
    QScreen* third = QGuiApplication::screens().at(2);
    const QRect before = third->geometry();
    const QRect after(before.topLeft(), QSize(1280, 720));
    QWindowSystemInterface::handleScreenGeometryChange(third, after, after);
    auto coversIt = [&](QRect geometry) {
        for (CompanionWindow* companion : shownCompanions()) {
            if (companion->geometry() == geometry)
                return true;
        }
        return false;
    };
    QTRY_VERIFY(coversIt(after));
    QCOMPARE(shownCompanions().size(), 2);
    QWindowSystemInterface::handleScreenGeometryChange(third, before, before); // as the other tests know it
    QTRY_VERIFY(coversIt(before));
}

QTEST_MAIN(TestOtherMonitors)
#include "tst_othermonitors.moc"
