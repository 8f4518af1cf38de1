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

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

bool nextToInk(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p) && isInk(image.pixel(p)))
                return true;
        }
    }
    return false;
}

/// Where the style draws a button's indicator, in the frame's coordinates.
QRect indicatorIn(QWidget* frame, QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const auto element =
        qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator;
    const QRect indicator = button->style()->subElementRect(element, &option, button);
    return indicator.translated(button->mapTo(frame, QPoint()));
}

} // namespace

class TestFrameLook : public test::HarnessTest {
    Q_OBJECT
  private Q_SLOTS:
    void frameIsWhiteWithCaptionOnItsBorder_data();
    void frameIsWhiteWithCaptionOnItsBorder();
};

void TestFrameLook::frameIsWhiteWithCaptionOnItsBorder_data() {
    QTest::addColumn<QString>("frame");
    QTest::newRow("Color") << "Frame3";
    QTest::newRow("Hide Options") << "Frame2";
    QTest::newRow("Prevent Option") << "Frame1";
}

void TestFrameLook::frameIsWhiteWithCaptionOnItsBorder() {
    QFETCH(QString, frame);
    m_h->program.start();
    Form1& form1 = *m_h->program.loadedForm1();
    QVERIFY(QTest::qWaitForWindowExposed(&form1));
    auto* box = form1.findChild<QGroupBox*>(frame);
    const QRect area(box->mapToGlobal(QPoint()), box->size());
    const auto shot = [&] {
        return form1.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    };
    // Painted once the caption is there.
    QTRY_VERIFY(hasInk(shot().copy(0, 0, area.width() / 2, box->fontMetrics().height())));
    const QImage image = shot();

    // The top border line: the first ink row at the frame's right end, clear of the caption.
    int line = 0;
    while (line < image.height() && !isInk(image.pixel(image.width() - 4, line)))
        ++line;
    QVERIFY2(line < box->fontMetrics().height(), "no top border line beside the caption");

    // Controls with a look of their own are left out: the text boxes, the swatch, and the indicators.
    QList<QRect> ownLook;
    for (QWidget* child : box->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(child))
            ownLook << indicatorIn(box, button);
        else
            ownLook << QRect(child->mapTo(box, QPoint()), child->size());
    }
    int captionTop = image.height(), captionBottom = -1;
    for (int y = 0; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (y == line ||
                std::any_of(ownLook.begin(), ownLook.end(), [&](const QRect& r) { return r.contains(x, y); }))
                continue;
            if (isInk(pixel) && y < line + box->fontMetrics().height() / 2 + 1 && x < image.width() / 2) {
                captionTop = std::min(captionTop, y);
                captionBottom = std::max(captionBottom, y);
            }
            QVERIFY2(pixel == qRgb(255, 255, 255) || isInk(pixel) || nextToInk(image, x, y),
                     qPrintable(QStringLiteral("a tinted pixel %1 at %2,%3 of %4")
                                    .arg(QColor(pixel).name())
                                    .arg(x)
                                    .arg(y)
                                    .arg(frame)));
        }
    }
    QVERIFY2(captionTop < line && line < captionBottom,
             qPrintable(QStringLiteral("caption rows %1 to %2, border line at %3")
                            .arg(captionTop)
                            .arg(captionBottom)
                            .arg(line)));
}

QTEST_MAIN(TestFrameLook)
#include "tst_framelook.moc"
