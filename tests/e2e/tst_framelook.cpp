// SPDX-License-Identifier: MIT
// The unskinned options window as the X server shows it: one white surface, with each frame a thin border
// whose caption sits on its top line. Run by on_x.sh, which starts Xvfb.
#include "harness.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTest>

using namespace umbralux;

namespace {

/// Darker than this in any channel is ink: text, an indicator or a border line. Lighter but not white is a
/// tint, which only the anti-aliased edge of ink may have.
constexpr int kInkLevel = 200;

bool isInk(QRgb pixel) {
    return qRed(pixel) < kInkLevel || qGreen(pixel) < kInkLevel || qBlue(pixel) < kInkLevel;
}

bool anyInk(const QImage& image, const QRect& area) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (isInk(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

/// The parts of the frame with a look of their own: text boxes, the swatch, and the buttons' indicators.
QList<QRect> ownLooks(QGroupBox* frame) {
    QList<QRect> looks;
    for (QWidget* child : frame->findChildren<QWidget*>()) {
        QRect look = child->rect();
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            QStyleOptionButton option;
            option.initFrom(button);
            look = button->style()->subElementRect(qobject_cast<QRadioButton*>(button)
                                                       ? QStyle::SE_RadioButtonIndicator
                                                       : QStyle::SE_CheckBoxIndicator,
                                                   &option, button);
        }
        looks << look.translated(child->mapTo(frame, QPoint()));
    }
    return looks;
}

} // namespace

class TestFrameLook : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void frameIsWhiteWithCaptionOnItsBorder_data() {
        QTest::addColumn<QString>("frame");
        QTest::newRow("Color") << "Frame3";
        QTest::newRow("Hide Options") << "Frame2";
        QTest::newRow("Prevent Option") << "Frame1";
    }
    void frameIsWhiteWithCaptionOnItsBorder();
};

void TestFrameLook::frameIsWhiteWithCaptionOnItsBorder() {
    QFETCH(QString, frame);
    m_h->program.start();
    Form1& form1 = *m_h->program.loadedForm1();
    QVERIFY(QTest::qWaitForWindowExposed(&form1));
    auto* box = form1.findChild<QGroupBox*>(frame);
    const QRect area(box->mapToGlobal(QPoint()), box->size());
    const int captionHeight = box->fontMetrics().height();
    const auto shot = [&] {
        return form1.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    };
    QTRY_VERIFY(
        anyInk(shot(), QRect(0, 0, area.width() / 2, captionHeight))); // painted: the caption is there
    const QImage image = shot();

    // The top border line: the first ink row at the frame's right end, clear of the caption.
    int line = 0;
    while (line < captionHeight && !isInk(image.pixel(image.width() - 4, line)))
        ++line;
    QVERIFY2(line < captionHeight, "no top border line beside the caption");

    const QList<QRect> looks = ownLooks(box);
    int captionTop = image.height(), captionBottom = -1;
    for (int y = 0; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            if (y == line ||
                std::any_of(looks.begin(), looks.end(), [&](const QRect& r) { return r.contains(x, y); }))
                continue;
            const QRgb pixel = image.pixel(x, y);
            if (isInk(pixel) && y < line + captionHeight / 2 + 1 && x < image.width() / 2) {
                captionTop = std::min(captionTop, y);
                captionBottom = std::max(captionBottom, y);
            }
            if (pixel != qRgb(255, 255, 255) && !anyInk(image, QRect(x - 1, y - 1, 3, 3)))
                QFAIL(qPrintable(QString::asprintf("tinted pixel %06x at %d,%d", pixel & 0xffffff, x, y)));
        }
    }
    QVERIFY2(
        captionTop < line && line < captionBottom,
        qPrintable(QString::asprintf("caption rows %d-%d, border at %d", captionTop, captionBottom, line)));
}

QTEST_MAIN(TestFrameLook)
#include "tst_framelook.moc"
