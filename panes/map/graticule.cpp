#include "panes/map/graticule.h"

#include "core/format.h"
#include "panes/map/map_viewport.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kavrino {
namespace {

constexpr double kLargestStep = 30;

int decimalsFor(double step) { return std::max(0, int(-std::floor(std::log10(step) + 1e-9))); }

// `degrees` rounded to the grid and labelled with the hemisphere's letter; "0°" on the line
// that divides the hemispheres.
QString hemisphereLabel(double degrees, double step, const char* positive, const char* negative) {
    const double onGrid = std::round(degrees / step) * step;
    const int decimals = decimalsFor(step);
    if (std::fabs(onGrid) < step / 2) return qformat("%.*f\u00b0", decimals, 0.0);
    return qformat("%.*f\u00b0 %s", decimals, std::fabs(onGrid), onGrid > 0 ? positive : negative);
}

}  // namespace

double graticuleStep(double degreesPerPixel, double minimumSpacing) {
    const double wanted = degreesPerPixel * minimumSpacing;
    if (!(wanted > 0) || !std::isfinite(wanted)) return kLargestStep;
    double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;; decade *= 10) {
        for (double multiple : std::array{1.0, 2.0, 5.0}) {
            const double step = multiple * decade;
            if (step >= wanted * (1 - 1e-12)) return std::min(step, kLargestStep);
        }
        if (decade >= kLargestStep) return kLargestStep;
    }
}

Graticule graticuleFor(const MapViewport& view, double minimumSpacing) {
    Graticule grid;
    grid.step = graticuleStep(view.degreesPerPixel(), minimumSpacing);
    const QSizeF size = view.size();
    const GeoCoordinate topLeft = view.toCoordinate({0, 0});
    const GeoCoordinate bottomRight = view.toCoordinate({size.width(), size.height()});

    const double south = bottomRight.latitude;
    const double north = topLeft.latitude;
    for (double k = std::ceil(south / grid.step); k * grid.step <= north; ++k) {
        const double latitude = k * grid.step;
        if (std::fabs(latitude) > kMaxMercatorLatitude) continue;
        const double y = view.toView({latitude, view.center().longitude}).y();
        grid.parallels.push_back({latitude, y, latitudeLabel(latitude, grid.step)});
    }

    // Meridians from the view's left edge eastwards, unwrapped so a view across 180° counts on.
    const double west = view.center().longitude - size.width() / 2 * view.degreesPerPixel();
    const double east = view.center().longitude + size.width() / 2 * view.degreesPerPixel();
    for (double k = std::ceil(west / grid.step); k * grid.step <= east; ++k) {
        const double longitude = k * grid.step;
        const double x = size.width() / 2 + (longitude - view.center().longitude) / view.degreesPerPixel();
        const double folded = wrapLongitude(longitude);
        grid.meridians.push_back({folded, x, longitudeLabel(folded, grid.step)});
    }
    return grid;
}

QString latitudeLabel(double latitude, double step) { return hemisphereLabel(latitude, step, "N", "S"); }

QString longitudeLabel(double longitude, double step) {
    // 180° is neither east nor west.
    const double onGrid = std::round(longitude / step) * step;
    if (std::fabs(std::fabs(onGrid) - 180.0) < step / 2) return qformat("%.*f\u00b0", decimalsFor(step), 180.0);
    return hemisphereLabel(longitude, step, "E", "W");
}

}  // namespace kavrino
