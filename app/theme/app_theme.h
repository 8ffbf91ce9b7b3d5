#pragma once
// The application's one look: the dark scheme whatever the system's appearance, the accent as
// tint (selection, focus, highlighted controls) and the bundled UI face.
#include <QPalette>

class QApplication;

namespace kavrino {

QPalette darkPalette();

// Applies the style, palette and fonts to the whole application. Call once at start-up.
void applyTheme(QApplication& application);

}  // namespace kavrino
