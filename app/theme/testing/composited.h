#pragma once
// Pixel checks of the theme's colours in widget tests.
#include <QColor>

#include <cmath>  // std::lround

namespace kavrino::test_support {

// The 8-bit sRGB of `top` composited over an opaque `under`, as a painted pixel shows it.
inline QColor over(const QColor& top, const QColor& under) {
    const double a = top.alphaF();
    auto mix = [a](double t, double u) { return int(std::lround((t * a + u * (1 - a)) * 255)); };
    return QColor(mix(top.redF(), under.redF()), mix(top.greenF(), under.greenF()), mix(top.blueF(), under.blueF()));
}

}  // namespace kavrino::test_support
