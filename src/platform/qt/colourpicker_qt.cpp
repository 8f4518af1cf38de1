// SPDX-License-Identifier: MIT
#include "colourpicker_qt.h"

#include <QColorDialog>

namespace umbralux {

std::optional<QColor> ColourDialogPicker::pickColour(QWidget* owner, const QColor& initial) {
    QColorDialog dialog(initial, owner);
    // A desktop's native dialog would neither take the skin nor behave the same everywhere.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace umbralux
