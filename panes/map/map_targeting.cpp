#include "panes/map/map_targeting.h"

#include "core/format.h"

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <numbers>

namespace kavrino {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

}  // namespace

MapTargetState initialMapTargetState() {
    MapTargetState state;
    state.shooter = {43.615, -116.2023};
    state.target = {43.626, -116.21};
    state.shooterElevation = 2700;
    state.targetElevation = 2760;
    state.camera = {{43.62, -116.205}, 0.05, 0.05};
    return state;
}

double distanceYards(const GeoCoordinate& from, const GeoCoordinate& to) {
    if (!(std::fabs(from.latitude) <= 90) || !(std::fabs(to.latitude) <= 90)) return std::nan("");
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude, from.longitude, to.latitude,
                                             to.longitude, metres);
    return metres * kYardsPerMetre;
}

double bearingDegrees(const GeoCoordinate& from, const GeoCoordinate& to) {
    const double phi1 = from.latitude * kDegree;
    const double phi2 = to.latitude * kDegree;
    const double deltaLambda = (to.longitude - from.longitude) * kDegree;
    const double y = std::sin(deltaLambda) * std::cos(phi2);
    const double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(deltaLambda);
    const double theta = std::atan2(y, x) / kDegree;  // (-180, 180]
    return std::fmod(theta + 360.0, 360.0);
}

double lookAngleDegrees(double distanceYards, double shooterElevationFeet,
                        double targetElevationFeet) {
    const double horizontalFeet = distanceYards * 3.0;
    if (!(horizontalFeet > 0)) return 0;
    return std::atan2(targetElevationFeet - shooterElevationFeet, horizontalFeet) / kDegree;
}

QString distanceText(double yards) { return qformat("%.0f yd", yards); }

QString bearingText(double degrees) { return qformat("%.0f\u00b0 T", degrees); }

QString lookAngleText(double degrees) { return qformat("%.1f\u00b0", degrees); }

QString coordinateText(const GeoCoordinate& position) {
    return qformat("%.4f\u00b0 %s, %.4f\u00b0 %s", std::fabs(position.latitude),
                   position.latitude < 0 ? "S" : "N", std::fabs(position.longitude),
                   position.longitude < 0 ? "W" : "E");
}

}  // namespace kavrino
