#include "app/theme/palette.h"

#include <QWidget>

namespace kavrino {
namespace {

QColor srgb(double red, double green, double blue, double opacity = 1.0) {
    return QColor::fromRgbF(float(red), float(green), float(blue), float(opacity));
}

}  // namespace

QColor withOpacity(const QColor& color, double opacity) {
    QColor result = color;
    result.setAlphaF(float(color.alphaF() * opacity));
    return result;
}

// Function-local statics: built once on first use, thread-safe initialisation, immutable after.
namespace Palette {

const QColor& background() { static const QColor c = srgb(0.039, 0.047, 0.075); return c; }
const QColor& surface() { static const QColor c = srgb(0.055, 0.067, 0.106); return c; }
const QColor& panel() { static const QColor c = srgb(0.078, 0.094, 0.149); return c; }
const QColor& raised() { static const QColor c = srgb(0.106, 0.125, 0.196); return c; }
const QColor& stroke() { static const QColor c = srgb(0.133, 0.157, 0.220); return c; }
const QColor& accent() { static const QColor c = srgb(0.231, 0.510, 0.965); return c; }
const QColor& accentBright() { static const QColor c = srgb(0.353, 0.627, 1.000); return c; }
const QColor& accentSoft() { static const QColor c = srgb(0.231, 0.510, 0.965, 0.16); return c; }
const QColor& orange() { static const QColor c = srgb(0.960, 0.620, 0.200); return c; }
const QColor& green() { static const QColor c = srgb(0.063, 0.725, 0.506); return c; }
const QColor& red() { static const QColor c = srgb(0.920, 0.340, 0.340); return c; }
const QColor& textPrimary() { static const QColor c = srgb(0.910, 0.920, 0.950); return c; }
const QColor& textSecondary() { static const QColor c = srgb(0.550, 0.580, 0.660); return c; }
const QColor& textTertiary() { static const QColor c = srgb(0.360, 0.390, 0.470); return c; }

}  // namespace Palette
void fillWithBackground(QWidget& pane) {
    pane.setAutoFillBackground(true);
    QPalette colours = pane.palette();
    colours.setColor(QPalette::Window, Palette::background());
    pane.setPalette(colours);
}

}  // namespace kavrino
