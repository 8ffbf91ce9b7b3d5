#pragma once
// The one dark theme: fixed sRGB colours. Every pane draws on background() and the window's
// tint is accent(). Components are given on a 0-1 scale and stored as floating-point colours,
// so the exact values survive (no rounding to 8-bit steps until something is painted).
#include <QColor>

namespace kavrino::Palette {

const QColor& background();     // window and every pane
const QColor& surface();        // sidebar
const QColor& panel();          // fill of cards and stat tiles
const QColor& raised();         // fill of secondary and icon buttons
const QColor& stroke();         // 1-point borders, dividers, chart grid lines
const QColor& accent();         // tint, sidebar selection bar, main accent
const QColor& accentBright();   // selected sidebar icon, highlighted values, first chart series
const QColor& accentSoft();     // accent() at opacity 0.16: selected sidebar row, soft highlights
const QColor& orange();         // second series, warnings
const QColor& green();          // success, in limit
const QColor& red();            // alarm: subsonic rows, Mach 1 rule, over a limit
const QColor& textPrimary();    // titles and values
const QColor& textSecondary();  // labels, body text, unselected sidebar rows
const QColor& textTertiary();   // captions, section headings, group labels

}  // namespace kavrino::Palette

class QWidget;

namespace kavrino {

// `color` with its opacity multiplied by `opacity` (0-1), as a translucent overlay of it.
QColor withOpacity(const QColor& color, double opacity);

// Makes `pane` fill itself with Palette::background(), as the window and every pane draw.
void fillWithBackground(QWidget& pane);

}  // namespace kavrino
