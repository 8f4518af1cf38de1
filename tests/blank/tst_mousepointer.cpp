// SPDX-License-Identifier: MIT
#include "blank/mousepointer.h"
#include "fakeplatform.h"
#include "platform/qt/pointerdisplay_qt.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>

using namespace umbralux;

class TestMousePointer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void loops_data();
    void loops();
    void desktopCounterBlanksThePointerWhileNegative();
};

void TestMousePointer::loops_data() {
    QTest::addColumn<int>("startCount");
    QTest::addColumn<bool>("hide");
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("endCount");
    QTest::newRow("hide visible pointer: one call") << 0 << true << 1 << -1;
    QTest::newRow("hide after two extra shows: three calls") << 2 << true << 3 << -1;
    QTest::newRow("hide hidden pointer goes one further") << -1 << true << 1 << -2;
    QTest::newRow("show from -2: two calls") << -2 << false << 2 << 0;
    QTest::newRow("show visible pointer goes one further") << 0 << false << 1 << 1;
    QTest::newRow("show from deep down") << -5 << false << 5 << 0;
}

void TestMousePointer::loops() {
    QFETCH(int, startCount);
    QFETCH(bool, hide);
    QFETCH(int, calls);
    QFETCH(int, endCount);
    test::CountingPointerDisplay display;
    display.count = startCount;
    MousePointer pointer(display);
    if (hide)
        pointer.HideMousePointer();
    else
        pointer.ShowMousePointer();
    QCOMPARE(display.calls, calls);
    QCOMPARE(display.count, endCount);
    QCOMPARE(pointer.PointerHidden(), hide);
}

void TestMousePointer::desktopCounterBlanksThePointerWhileNegative() {
    const auto shape = [] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor ? int(cursor->shape()) : -1; // -1: the windows' own pointers show
    };
    {
        OverrideCursorPointerDisplay display;
        MousePointer pointer(display);
        pointer.HideMousePointer();
        QCOMPARE(shape(), int(Qt::BlankCursor));
        pointer.HideMousePointer(); // deeper down: still one blank pointer, not two
        pointer.ShowMousePointer();
        QCOMPARE(shape(), -1);
        pointer.ShowMousePointer(); // above zero: still shown
        QCOMPARE(shape(), -1);
        pointer.HideMousePointer();
        QCOMPARE(shape(), int(Qt::BlankCursor));
    }
    QCOMPARE(shape(), -1); // a program that ends with the pointer hidden gives it back
}

QTEST_MAIN(TestMousePointer)
#include "tst_mousepointer.moc"
