#pragma once
// The series colours of the comparison: one per position in the load list, five in turn, so a
// sixth load takes the first colour again. The chip's dot and the chart's line of a load share
// its colour, and a removal shifts the colours of the loads behind it.
#include <QColor>

#include <cstddef>

namespace kavrino {

inline constexpr std::size_t comparisonColourCount = 5;

// The colour of the load at `position` (0-based) in the list.
QColor comparisonSeriesColour(std::size_t position);

}  // namespace kavrino
