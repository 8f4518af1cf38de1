// SPDX-License-Identifier: MIT
#include "skin.h"

#include "app/colorref.h"
#include "app/controls.h"
#include "app/failure.h"
#include "app/regularfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringDecoder>

namespace umbralux {
namespace {

/// The apply option that skins the window's frame and controls as well as its client area.
constexpr int kApplyFrameAndControls = 1;

/// The skin file counts when it is there and is neither a folder nor hidden. Something else under its name
/// (a FIFO, a device) counts too, so that loading it is reported rather than passed over in silence.
bool isOrdinaryFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && !info.isHidden() && !info.isSymLink();
}

bool takesButtonFace(const QWidget* control) {
    return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control) ||
           qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

} // namespace

void SkinFramework::LoadSkin(const QString& path, const QString& /*section*/) {
    QByteArray content;
    try {
        content = readRegularFile(path, kMaxSkinFileBytes);
    } catch (const Failure& failure) {
        throw Failure(
            QCoreApplication::translate("Failure", "Could not load the skin: %1").arg(failure.description()));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString styleSheet = utf8(content);
    if (utf8.hasError())
        throw Failure(
            QCoreApplication::translate("Failure", "Could not load the skin %1: it is not UTF-8 text")
                .arg(path));
    m_styleSheet = std::move(styleSheet);
}

void SkinFramework::ApplyWindow(qulonglong windowHandle) {
    QWidget* window = QWidget::find(static_cast<WId>(windowHandle));
    if (!window)
        throw Failure(QCoreApplication::translate("Failure", "Invalid window handle"));
    if (AutoApplyNewWindows) {
        // Setting the program's style sheet again, even unchanged, repolishes every widget, and when the
        // new window is polished at its showing Qt puts back the colours it noted then: the swatch would
        // lose the screen colour set after this. The skin the program has already covers the new window.
        if (qApp->styleSheet() != m_styleSheet)
            qApp->setStyleSheet(m_styleSheet);
    } else
        window->setStyleSheet(m_styleSheet);
}

void ApplySkin(QWidget& window, const QString& programFolder) {
    const QString skinFile = programFolder + QLatin1String(kSkinFile);
    if (!isOrdinaryFile(skinFile))
        return;
    const QColor buttonFace = colorFromReference(kButtonFaceSystemColor);
    controls::setBackColor(&window, buttonFace);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (takesButtonFace(control))
            controls::setBackColor(control, buttonFace);
    }
    auto* skin = window.findChild<SkinFramework*>(QStringLiteral("SkinFramework1"));
    if (!skin)
        throw Failure(QCoreApplication::translate("Failure", "Object required"));
    skin->LoadSkin(skinFile, QString());
    skin->ApplyOptions |= kApplyFrameAndControls;
    skin->AutoApplyNewWindows = true;
    skin->AutoApplyNewThreads = true;
    skin->ApplyWindow(window.winId());
}

} // namespace umbralux
