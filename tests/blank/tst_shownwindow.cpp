// The window that keep-awake's Wayland inhibitor is held on, through the main cycle with faked services:
// always a shown window, let go before it is hidden.
#include "blank/shownwindow.h"
#include "harness.h"

#include <QPushButton>
#include <QTest>

using namespace umbralux;

namespace {

enum class Step { Start, ShowScreen, Escape, CloseRequest, CloseOptions };

} // namespace

class TestShownWindow : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void followsTheMainCycle_data();
    void followsTheMainCycle();

  private:
    QString nameOf(QWindow* window) const;
};

QString TestShownWindow::nameOf(QWindow* window) const {
    if (!window)
        return QStringLiteral("none");
    const Form1* form1 = m_h->program.loadedForm1();
    const Form2* form2 = m_h->program.loadedForm2();
    if (form1 && window == form1->windowHandle())
        return QStringLiteral("options");
    if (form2 && window == form2->windowHandle())
        return QStringLiteral("blank");
    return window->title();
}

void TestShownWindow::followsTheMainCycle_data() {
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("moves");
    QTest::newRow("start") << QList<Step>{Step::Start} << QStringList{"options"};
    QTest::newRow("show screen: the options window is let go first")
        << QList<Step>{Step::Start, Step::ShowScreen} << QStringList{"options", "none", "blank"};
    QTest::newRow("ESC: back to the options window")
        << QList<Step>{Step::Start, Step::ShowScreen, Step::Escape}
        << QStringList{"options", "none", "blank", "none", "options"};
    QTest::newRow("close request: back to the options window")
        << QList<Step>{Step::Start, Step::ShowScreen, Step::CloseRequest}
        << QStringList{"options", "none", "blank", "none", "options"};
    QTest::newRow("options window closed: nothing left")
        << QList<Step>{Step::Start, Step::CloseOptions} << QStringList{"options", "none"};
}

void TestShownWindow::followsTheMainCycle() {
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, moves);
    QStringList seen;
    ShownWindow shown([&](QWindow* window) { seen << nameOf(window); });
    for (Step step : steps) {
        switch (step) {
        case Step::Start:
            m_h->program.start();
            break;
        case Step::ShowScreen:
            m_h->program.loadedForm1()->findChild<QPushButton*>("PushButton1")->click();
            break;
        case Step::Escape:
            QTest::keyClick(m_h->program.loadedForm2(), Qt::Key_Escape);
            break;
        case Step::CloseRequest:
            m_h->program.loadedForm2()->close();
            break;
        case Step::CloseOptions:
            m_h->program.loadedForm1()->close();
            break;
        }
        test::settle();
        // As a user would, the next step waits for the window to come up, and so does the follower.
        QWidget* up = nullptr;
        for (QWidget* form : {static_cast<QWidget*>(m_h->program.loadedForm1()),
                              static_cast<QWidget*>(m_h->program.loadedForm2())})
            if (form && form->isVisible())
                up = form;
        if (up)
            QVERIFY(QTest::qWaitForWindowExposed(up));
        QTRY_COMPARE(shown.current(), up ? up->windowHandle() : nullptr);
    }
    QCOMPARE(seen.join(" "), moves.join(" "));
    QCOMPARE(nameOf(shown.current()), moves.last());
}

QTEST_MAIN(TestShownWindow)
#include "tst_shownwindow.moc"
