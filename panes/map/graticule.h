#pragma once
// The latitude/longitude grid a map draws where it has no tiles: lines at a round step of
// degrees, spaced widely enough to label, and the labels' texts.
#include <QString>

#include <vector>

namespace kavrino {

class MapViewport;

// A grid line: the latitude (of a parallel) or longitude (of a meridian) in degrees, and where
// it crosses the view, in view pixels (y of a parallel, x of a meridian).
struct GraticuleLine {
    double degrees = 0;
    double position = 0;
    QString label;
};

struct Graticule {
    double step = 0;  // degrees between neighbouring lines
    std::vector<GraticuleLine> parallels;
    std::vector<GraticuleLine> meridians;
};

// The smallest step of 1, 2 or 5 times a power of ten (up to 30°) that puts meridians at least
// `minimumSpacing` view pixels apart at `degreesPerPixel`.
double graticuleStep(double degreesPerPixel, double minimumSpacing);

// The lines crossing `view`, labelled.
Graticule graticuleFor(const MapViewport& view, double minimumSpacing);

// "43.62° N", "116.21° W", "0°": as many decimals as the step needs.
QString latitudeLabel(double latitude, double step);
QString longitudeLabel(double longitude, double step);

}  // namespace kavrino
