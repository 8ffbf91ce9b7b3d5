#pragma once
// Map targeting: where the shooter and the target stand, how high, and the three figures that
// follow from them (distance, bearing, look angle) with the texts the pane shows for each.
// Plain values and functions; no widgets.
#include <QString>

namespace kavrino {

// A position on the Earth in degrees: latitude north positive, longitude east positive.
struct GeoCoordinate {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const GeoCoordinate&) const = default;
};

// What a map shows: a centre and the degrees of latitude and of longitude across the view.
struct GeoRegion {
    GeoCoordinate center;
    double latitudeSpan = 0;   // degrees
    double longitudeSpan = 0;  // degrees
    bool operator==(const GeoRegion&) const = default;
};

// The map pane's state: two positions, their elevations and the region the map starts at.
struct MapTargetState {
    GeoCoordinate shooter;
    GeoCoordinate target;
    double shooterElevation = 0;  // ft
    double targetElevation = 0;   // ft
    GeoRegion camera;
    bool operator==(const MapTargetState&) const = default;
};

// The positions, elevations and region the workspace opens the map pane with.
MapTargetState initialMapTargetState();

// Yards in one metre, as the pane converts the geodesic distance.
inline constexpr double kYardsPerMetre = 1.09361;

// The distance between `from` and `to` along the WGS84 ellipsoid (the geodesic, accurate to
// nanometres), in yards; not a number when a latitude lies outside [-90, 90].
double distanceYards(const GeoCoordinate& from, const GeoCoordinate& to);

// The initial great-circle course from `from` to `to`, in degrees true within [0, 360): 0 due
// north, 90 east. Computed on a sphere, so a target due east on the same latitude lies just
// below 90 in the northern hemisphere. Identical positions give 0.
double bearingDegrees(const GeoCoordinate& from, const GeoCoordinate& to);

// The angle of the line of sight above the horizontal, in degrees (negative: the target is
// lower), from the horizontal distance (yd) and the two elevations (ft); the Earth's curvature
// is ignored. A distance that is not above 0 (or not a number) gives 0.
double lookAngleDegrees(double distanceYards, double shooterElevationFeet,
                        double targetElevationFeet);

// The pane's texts: "1500 yd", "333° T", "0.8°".
QString distanceText(double yards);
QString bearingText(double degrees);
QString lookAngleText(double degrees);

// A position as a person reads it: "43.6150° N, 116.2023° W".
QString coordinateText(const GeoCoordinate& position);

}  // namespace kavrino
