#include "panes/comparison/comparison_colours.h"

#include "app/theme/palette.h"

#include <array>

namespace kavrino {

QColor comparisonSeriesColour(std::size_t position) {
    static const std::array<QColor, comparisonColourCount> colours = {
        Palette::accentBright(),
        Palette::orange(),
        QColor::fromRgbF(0.35f, 0.82f, 0.55f),  // green
        QColor::fromRgbF(0.85f, 0.52f, 0.92f),  // violet
        QColor::fromRgbF(0.95f, 0.45f, 0.45f),  // red
    };
    return colours[position % comparisonColourCount];
}

}  // namespace kavrino
