// SPDX-License-Identifier: MIT
#include "app/colorref.h"
#include "app/controls.h"
#include "harness.h"
#include "options/cursorfile.h"
#include "options/skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace umbralux;
using test::control;

namespace {

/// A skin that leaves every colour to the program, so that the recolouring can be checked exactly.
const QByteArray kPlainSkin = "QPushButton { font-style: italic; }\n";

constexpr int kCursorSide = 32;
const QPoint kHotSpot{5, 9};

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

/// A Windows cursor file with one 32 by 32 image in 32 bits: the left half red, the right half blue.
QByteArray cursorFile(QPoint hotSpot) {
    QByteArray image;
    put<quint32>(image, 40); // bitmap info header
    put<qint32>(image, kCursorSide);
    put<qint32>(image, 2 * kCursorSide); // colour rows and mask rows
    put<quint16>(image, 1);
    put<quint16>(image, 32);
    for (int i = 0; i < 6; ++i)
        put<quint32>(image, 0);
    for (int y = 0; y < kCursorSide; ++y) {
        for (int x = 0; x < kCursorSide; ++x)
            put<quint32>(image, x < kCursorSide / 2 ? 0xFFFF0000u : 0xFF0000FFu); // stored as B, G, R, A
    }
    image.append(QByteArray(kCursorSide * kCursorSide / 8, '\0')); // the mask: all opaque

    QByteArray file;
    put<quint16>(file, 0);
    put<quint16>(file, 2); // a cursor
    put<quint16>(file, 1);
    file.append(char(kCursorSide)).append(char(kCursorSide)).append(char(0)).append(char(0));
    put<quint16>(file, quint16(hotSpot.x()));
    put<quint16>(file, quint16(hotSpot.y()));
    put<quint32>(file, quint32(image.size()));
    put<quint32>(file, 22); // the image follows the header and its one entry
    return file + image;
}

QList<QWidget*> buttonFaceControls(Form1& form1) {
    QList<QWidget*> all{&form1};
    for (const char* name :
         {"Frame1", "Frame2", "Frame3", "Option1", "Option2", "Option3", "Option4", "Check4"})
        all << control<QWidget>(&form1, name);
    return all;
}

} // namespace

using Handler = void (Form1::*)();
Q_DECLARE_METATYPE(Handler)

class TestWindowLook : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void cleanup() {
        HarnessTest::cleanup();
        qApp->setStyleSheet(QString()); // the skin is the application's; the next test starts without one
    }

    void noSkinFileLeavesTheDesign_data();
    void noSkinFileLeavesTheDesign();
    void skinRecoloursAndReachesLaterWindows();
    void unreadableSkin_data();
    void unreadableSkin();

    void pointerFileLoadsWithItsHotSpot();
    void unreadablePointerFile_data();
    void unreadablePointerFile();

    void pointerHandlers_data();
    void pointerHandlers();
    void pointerFollowsTheMouse();

  private:
    QString skinPath() const { return m_h->program.programFolder() + QLatin1String(kSkinFile); }
    QString pointerPath() const { return m_h->program.programFolder() + "/HAND-M.CUR"; }
};

void TestWindowLook::noSkinFileLeavesTheDesign_data() {
    QTest::addColumn<QString>("setUp");
    QTest::newRow("no x folder") << "";
    QTest::newRow("a folder where the file should be") << "folder";
}

void TestWindowLook::noSkinFileLeavesTheDesign() {
    QFETCH(QString, setUp);
    if (setUp == "folder")
        QVERIFY(QDir().mkpath(skinPath()));
    Form1& form1 = m_h->program.form1();
    for (QWidget* widget : buttonFaceControls(form1))
        QCOMPARE(controls::backColor(widget), QColor(Qt::white));
    QVERIFY(qApp->styleSheet().isEmpty());
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
}

void TestWindowLook::skinRecoloursAndReachesLaterWindows() {
    writeFile(skinPath(), kPlainSkin);
    m_h->store.set("Background Color", "255");
    Form1& form1 = m_h->program.form1();

    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
    const QColor buttonFace = colorFromReference(kButtonFaceSystemColor);
    QVERIFY(buttonFace != QColor(Qt::white));
    for (QWidget* widget : buttonFaceControls(form1))
        QVERIFY2(controls::backColor(widget) == buttonFace, qPrintable(widget->objectName()));
    // The swatch was recoloured too, and the load then gave it the stored colour; the text box keeps its own.
    QCOMPARE(controls::backColor(control<QLabel>(&form1, "Label1")), QColor(Qt::red));
    QCOMPARE(controls::backColor(control<QLineEdit>(&form1, "Text1")),
             QApplication::palette().color(QPalette::Base));

    auto* skin = form1.findChild<SkinFramework*>("SkinFramework1");
    QVERIFY(skin->ApplyOptions & 1);
    QVERIFY(skin->AutoApplyNewWindows && skin->AutoApplyNewThreads);
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(kPlainSkin));

    // A window opened later is drawn with the skin, and the blank screen still shows the stored colour.
    QMessageBox later;
    later.ensurePolished();
    QCOMPARE(later.style()->metaObject()->className(), "QStyleSheetStyle");
    for (const char* frame : {"Frame1", "Frame2", "Frame3"}) // the skin draws the frames, not their design
        QCOMPARE(control<QWidget>(&form1, frame)->style()->metaObject()->className(), "QStyleSheetStyle");
    Form2& form2 = m_h->program.form2();
    form2.ReLoadStyle();
    form2.resize(200, 200);
    QCOMPARE(form2.grab().toImage().pixelColor(100, 150), QColor(Qt::red)); // below the hint
}

/// Puts what a row asks for under a file name: text, a FIFO (which must not hang the start), or a file
/// larger than any real one.
void placeFile(const QString& path, const QString& kind, const QByteArray& content, qint64 limit) {
    QDir().mkpath(QFileInfo(path).path());
#ifdef Q_OS_UNIX
    if (kind == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path), 0644), 0);
        return;
    }
#endif
    writeFile(path, kind == "oversized" ? QByteArray(limit + 1, ' ') : content);
}

void TestWindowLook::unreadableSkin_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not UTF-8 text") << "file" << QByteArray("QWidget { color: \xff\xfe; }");
#ifdef Q_OS_UNIX // Windows has neither FIFOs in the file system nor a read permission to take away
    QTest::newRow("no permission to read") << "unreadable" << kPlainSkin;
    QTest::newRow("a FIFO") << "fifo" << QByteArray();
#endif
    QTest::newRow("larger than any skin") << "oversized" << QByteArray();
}

void TestWindowLook::unreadableSkin() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    placeFile(skinPath(), kind, content, kMaxSkinFileBytes);
    if (kind == "unreadable") {
        QFile::setPermissions(skinPath(), QFileDevice::WriteOwner);
        if (QFile(skinPath()).open(QIODevice::ReadOnly))
            QSKIP("this user reads files without permission");
    }
    Form1& form1 = m_h->program.form1();

    const QStringList& reports = m_h->platform.dialogs.reports;
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains("Umbrasys2021/08/31.Form1.Form_Load at line 104\r\r"),
             qPrintable(reports.first()));
    // What ran before the failure stays done; nothing after it ran, and the load went on at 106.
    for (QWidget* widget : buttonFaceControls(form1))
        QCOMPARE(controls::backColor(widget), colorFromReference(kButtonFaceSystemColor));
    auto* skin = form1.findChild<SkinFramework*>("SkinFramework1");
    QVERIFY(!skin->AutoApplyNewWindows);
    QVERIFY(qApp->styleSheet().isEmpty());
    QCOMPARE(form1.windowTitle(), QStringLiteral("Umbralux Software"));
    QCOMPARE(controls::backColor(control<QLabel>(&form1, "Label1")), QColor(Qt::black));
}

void TestWindowLook::pointerFileLoadsWithItsHotSpot() {
    writeFile(pointerPath(), cursorFile(kHotSpot));
    Form1& form1 = m_h->program.form1();
    QVERIFY(m_h->platform.dialogs.reports.isEmpty());
    QCOMPARE(form1.MousePointer(), Form1::kDefaultPointer); // loading does not switch to it
    const QCursor* hand = form1.MouseIcon();
    QVERIFY(hand);
    QCOMPARE(hand->hotSpot(), kHotSpot);
    const QImage image = hand->pixmap().toImage();
    QCOMPARE(image.size(), QSize(kCursorSide, kCursorSide));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(kCursorSide - 1, kCursorSide - 1), QColor(Qt::blue));
}

void TestWindowLook::unreadablePointerFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("corrupt") << "file";
#ifdef Q_OS_UNIX
    QTest::newRow("a FIFO") << "fifo";
#endif
    QTest::newRow("larger than any cursor") << "oversized";
}

void TestWindowLook::unreadablePointerFile() {
    QFETCH(QString, kind);
    QByteArray corrupt = cursorFile(kHotSpot);
    corrupt.truncate(30); // the header promises an image that is not there
    placeFile(pointerPath(), kind, corrupt, kMaxCursorFileBytes);
    Form1& form1 = m_h->program.form1();
    const QStringList& reports = m_h->platform.dialogs.reports;
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains("Form1.Form_Load at line 102\r\r"), qPrintable(reports.first()));
    QVERIFY(!form1.MouseIcon());
    form1.PushButton1_MouseMove();
    QCOMPARE(form1.cursor().shape(), Qt::ArrowCursor);
}

void TestWindowLook::pointerHandlers_data() {
    QTest::addColumn<Handler>("handler");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    const struct {
        const char* name;
        Handler handler;
        int setting;
    } handlers[] = {
        {"window", &Form1::Form_MouseMove, Form1::kDefaultPointer},
        {"Prevent Option", &Form1::Frame1_MouseMove, Form1::kDefaultPointer},
        {"Hide Options", &Form1::Frame2_MouseMove, Form1::kDefaultPointer},
        {"Color", &Form1::Frame3_MouseMove, Form1::kDefaultPointer},
        {"Show Screen", &Form1::PushButton1_MouseMove, Form1::kCustomPointer},
        {"Change Color", &Form1::PushButton2_MouseMove, Form1::kCustomPointer},
        {"Reset Color", &Form1::PushButton3_MouseMove, Form1::kCustomPointer},
    };
    for (const auto& h : handlers) {
        for (int before : {Form1::kDefaultPointer, Form1::kCustomPointer})
            QTest::addRow("%s from %d", h.name, before) << h.handler << before << h.setting;
        QTest::addRow("%s leaves busy alone", h.name)
            << h.handler << int(Form1::kBusyPointer) << int(Form1::kBusyPointer);
    }
}

void TestWindowLook::pointerHandlers() {
    QFETCH(Handler, handler);
    QFETCH(int, before);
    QFETCH(int, after);
    writeFile(pointerPath(), cursorFile(kHotSpot));
    Form1& form1 = m_h->program.form1();
    form1.setMousePointer(before);
    (form1.*handler)();
    (form1.*handler)(); // moves come in series; each sets the same again
    QCOMPARE(form1.MousePointer(), after);
    switch (after) {
    case Form1::kCustomPointer:
        QCOMPARE(form1.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(form1.cursor().hotSpot(), kHotSpot);
        break;
    case Form1::kBusyPointer:
        QCOMPARE(form1.cursor().shape(), Qt::WaitCursor);
        break;
    default:
        QCOMPARE(form1.cursor().shape(), Qt::ArrowCursor);
    }
}

void TestWindowLook::pointerFollowsTheMouse() {
    writeFile(pointerPath(), cursorFile(kHotSpot));
    m_h->program.showOptionsWindow();
    Form1& form1 = *m_h->program.loadedForm1();
    QVERIFY(QTest::qWaitForWindowExposed(&form1));
    const auto centreOf = [&](const char* name) {
        QWidget* widget = control<QWidget>(&form1, name);
        return widget->mapTo(&form1, widget->rect().center());
    };
    QTest::mouseMove(&form1, centreOf("PushButton1"));
    QTRY_COMPARE(form1.MousePointer(), int(Form1::kCustomPointer));
    QTest::mouseMove(&form1, QPoint(2, form1.height() - 2)); // the window background
    QTRY_COMPARE(form1.MousePointer(), int(Form1::kDefaultPointer));
    QTest::mouseMove(&form1, centreOf("PushButton2"));
    QTRY_COMPARE(form1.MousePointer(), int(Form1::kCustomPointer));
    QWidget* frame3 = control<QWidget>(&form1, "Frame3");
    QTest::mouseMove(&form1, frame3->mapTo(&form1, QPoint(frame3->width() - 3, frame3->height() - 3)));
    QTRY_COMPARE(form1.MousePointer(), int(Form1::kDefaultPointer));
}

QTEST_MAIN(TestWindowLook)
#include "tst_windowlook.moc"
