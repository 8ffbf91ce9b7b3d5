#pragma once
// The UI face: Lato, bundled in the resources in regular, medium, semibold and bold (its digits
// are all one width, so figures that change do not shift sideways). Sizes are in points, which here are device-independent
// pixels: a font of N points is N pixels high, fractional sizes included.
#include <QFont>

namespace kavrino {

// Registers the bundled faces with the font database and makes the UI face the application's
// default font. Call once after the QGuiApplication exists; later calls do nothing.
void installUiFonts();

// The bundled UI face at `points` with `weight`; `tracking` is extra space between letters, in
// points.
QFont uiFont(double points, QFont::Weight weight = QFont::Normal, double tracking = 0);

// The platform's callout text style: 12 points, regular.
QFont calloutFont();

}  // namespace kavrino
