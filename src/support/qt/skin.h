#pragma once

#include <QString>
#include <QWidget>

namespace brevant {

// The optional skin: the Qt style sheet "x/o.cjs" in the program's folder. When
// that file is there (an ordinary file, not a hidden one), the window and its
// option buttons, check boxes, frames and labels take the button-face colour and
// then the style sheet applies; without it the window keeps its own look.
// Gives whether a skin was applied. Throws std::runtime_error when the file is
// there but cannot be read.
bool ApplySkin(QWidget& window, const QString& programFolder);

}  // namespace brevant
