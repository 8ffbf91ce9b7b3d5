#pragma once
// KAVRINO_WINDOW: a width and a height joined by "x" (either case), e.g. "1600x900". For
// scripted runs the first window then takes that size at origin (40, 60).
#include <QRect>
#include <QSizeF>
#include <QString>

#include <optional>

namespace kavrino {

// The two numbers of `value`: lower-cased, split at every "x", empty pieces dropped, pieces that
// are not wholly a number skipped; nothing unless exactly two numbers remain. Numbers are read
// as the standard text-to-double conversion reads them (optional sign, decimals, exponent, "inf",
// "nan"), never with the user's locale.
std::optional<QSizeF> parseWindowSize(const QString& value);

// The frame for `size` at (40, 60), in whole pixels. Nothing for a size that is not finite; a
// size beyond what the window system can hold is limited to that.
std::optional<QRect> scriptedWindowFrame(const QSizeF& size);

}  // namespace kavrino
